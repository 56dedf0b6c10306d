#include "app/program.h"

#include "app/file_list.h"
#include "runtime/runtime.h"
#include "skin/engine.h"

namespace app {

void RegisterEndRoutines() {
    rt::RegisterEndRoutine(FreeFileList);
    // The engine registered its end routine during the global start-up, so
    // it stood first; registered again, it comes after the lists.
    rt::RegisterEndRoutine(skin::SkinEndRoutine);
}

}  // namespace app
