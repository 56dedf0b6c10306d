// MainWindow: its design table and its event handlers.
#pragma once

#include "runtime/runtime.h"

namespace app {

// Design names of the units.
extern const char kMainWindow[];
extern const char kOpenTip[];      // 透明标签2
extern const char kAboutButton[];  // 按钮3
extern const char kDropTarget[];   // 拖放对象1
extern const char kAboutLabel[];   // 透明标签1
extern const char kConvertButton[];// 按钮2
extern const char kOpenButton[];   // 按钮1
extern const char kListBox[];      // 列表框1

rt::WindowDesign MainWindowDesign();

void OnMainWindowCreated();
void HideTipsOnWindow(int32_t, int32_t, int32_t);
void ShowAboutLabel(int32_t, int32_t, int32_t);
void ShowOpenTip(int32_t, int32_t, int32_t);
void HideTipsOnListBox(int32_t, int32_t, int32_t);
void ShowAbout();
void AddFilesFromDialog();
void AddDroppedFiles(rt::AnsiText& dropped);
void ConvertFilesToPinyin();

// What the handlers do outside the window: message boxes, starting
// programs, the open-file dialog, the drop registration with OLE. Tests put
// recorders in their place.
struct Effects {
    void (*message)(const rt::AnsiText& text);
    // As rt::RunProgramFile: the program's full path, its arguments.
    bool (*run)(const rt::AnsiText& program, const rt::AnsiText& arguments, bool wait);
    // As AskOpenFileNames: owner, title, filter, start folder, error.
    rt::AnsiText (*askOpenFileNames)(HWND owner, const rt::AnsiText& title, const rt::AnsiText& filter,
                                     const rt::AnsiText& startFolder, DWORD* error);
    // As rt::RegisterDropTarget: false when OLE refused the window.
    bool (*registerDropTarget)(int dropUnit, HWND window);
};
Effects& CurrentEffects();

// Explorer's arguments for a folder (with its trailing "\"): one argument
// that reaches Explorer whole, blanks and commas included.
rt::AnsiText ExplorerArguments(const rt::AnsiText& folder);

}  // namespace app
