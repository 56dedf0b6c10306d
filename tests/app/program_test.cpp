// The program's shut-down order: the application's lists are freed before
// the skinning engine is destroyed and GDI+ shut down.
#include <gtest/gtest.h>

#include "app/file_list.h"
#include "app/program.h"
#include "runtime/runtime.h"
#include "skin/engine.h"

namespace {

using EndRoutine = void (*)();

TEST(Program, TheListsAreFreedBeforeTheEngineIsDestroyed) {
    // As in the program: the engine registered its end routine during the
    // global start-up, before main.
    ASSERT_EQ(rt::EndRoutineOrder(), std::vector<EndRoutine>{skin::SkinEndRoutine});
    app::RegisterEndRoutines();
    EXPECT_EQ(rt::EndRoutineOrder(), (std::vector<EndRoutine>{app::FreeFileList, skin::SkinEndRoutine}));
}

}  // namespace
