// The engine's place in the program's life: made during global start-up,
// GDI+ and the icon ready before the main window exists, everything given
// back by the end routine, and GDI+ shut down exactly once even when the
// skinned window is sent WM_QUIT before the program ends.
#include <gtest/gtest.h>
#include <windows.h>

#include "runtime/runtime.h"
#include "skin/engine.h"
#include "skin/record.h"

using namespace skin;

namespace {

struct AtCreation {
    bool engineMade = false;
    bool gdiplusRunning = false;
    bool iconLoaded = false;
    int shutdownsSoFar = -1;
} atCreation;

HWND mainWindow = nullptr;

// Runs from the message loop once the window is shown and skinned.
void CALLBACK QuitThenClose(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    // What a WM_QUIT sent to the window itself does: the window procedure
    // shuts GDI+ down with the run's token.
    SendMessageA(mainWindow, WM_QUIT, 0, 0);
    PostMessageA(mainWindow, WM_CLOSE, 0, 0);
}

}  // namespace

TEST(EngineLifecycle, StartUpAndShutDownAroundTheMainWindow) {
    // Losing activation at the end starts the working-set tool from %windir%;
    // a folder that does not exist keeps that child process (which would
    // hold this test's output open) out of this test.
    SetEnvironmentVariableA("windir", "C:\\skin-core-lifecycle-no-such-folder");
    const int shutdownsBefore = GdiplusShutdownCalls();
    rt::WindowDesign design;
    rt::UnitDesign window{};
    window.name = "窗口1";
    window.kind = rt::UnitKind::Window;
    window.left = 40;
    window.top = 40;
    window.width = 320;
    window.height = 240;
    window.visible = true;
    window.text = "lifecycle";
    window.events.created = [] {
        atCreation.engineMade = Engine != nullptr;
        atCreation.gdiplusRunning = GdiplusToken != 0;
        atCreation.iconLoaded = ProgramIcon != nullptr;
        atCreation.shutdownsSoFar = GdiplusShutdownCalls();
        mainWindow = rt::UnitWindow(rt::UnitId("窗口1"));
        Engine->AttachSkin(mainWindow);
        SetTimer(nullptr, 0, 50, &QuitThenClose);
    };
    design.push_back(window);

    EXPECT_EQ(rt::RunProgram(design), 0);

    EXPECT_TRUE(atCreation.engineMade);
    EXPECT_TRUE(atCreation.gdiplusRunning);
    EXPECT_TRUE(atCreation.iconLoaded);
    EXPECT_EQ(atCreation.shutdownsSoFar, shutdownsBefore);
    // The end routine ran: engine gone, records freed, GDI+ down once.
    EXPECT_FALSE(IsWindow(mainWindow));
    EXPECT_EQ(Engine, nullptr);
    EXPECT_EQ(ProgramIcon, nullptr);
    EXPECT_EQ(SkinWindowTable.Count(), 0);
    EXPECT_EQ(GdiplusShutdownCalls() - shutdownsBefore, 1);
}
