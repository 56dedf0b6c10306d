#include "app/file_list.h"

namespace app {

rt::CountedArray<rt::AnsiText>& FileList() {
    static rt::CountedArray<rt::AnsiText> list;
    return list;
}

void AppendFiles(const std::vector<rt::AnsiText>& paths, HWND listBox) {
    for (const rt::AnsiText& p : paths) {
        FileList().Append(p);
        rt::ListBoxAdd(listBox, p);
    }
}

void ReplaceFiles(const std::vector<rt::AnsiText>& paths, HWND listBox) {
    ClearFiles(listBox);
    AppendFiles(paths, listBox);
}

void ClearFiles(HWND listBox) {
    FileList().Clear();
    rt::ListBoxClear(listBox);
}

void FreeFileList() {
    FileList() = rt::CountedArray<rt::AnsiText>();  // gives the memory back
}

}  // namespace app
