// FileList, the paths the next conversion renames, and the list box that
// shows them. Every change goes through these functions, which change both
// together, so the list box always shows exactly FileList.
#pragma once

#include "runtime/runtime.h"

namespace app {

rt::CountedArray<rt::AnsiText>& FileList();

// Appends the paths to FileList and to the list box (the open-file dialog).
void AppendFiles(const std::vector<rt::AnsiText>& paths, HWND listBox);
// FileList and the list box become exactly these paths (a drop).
void ReplaceFiles(const std::vector<rt::AnsiText>& paths, HWND listBox);
// Empties both (after a conversion: each listed file was renamed, or its
// failure was reported to the user).
void ClearFiles(HWND listBox);

// The end routine: frees FileList.
void FreeFileList();

}  // namespace app
