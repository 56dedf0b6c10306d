#include "app/main_window.h"

#include <commdlg.h>

#include "app/file_list.h"
#include "app/open_dialog.h"
#include "app/renamer.h"
#include "app/texts.h"
#include "resources/carried.h"
#include "skin/attach.h"

namespace app {

const char kMainWindow[] = "MainWindow";
const char kOpenTip[] = "透明标签2";
const char kAboutButton[] = "按钮3";
const char kDropTarget[] = "拖放对象1";
const char kAboutLabel[] = "透明标签1";
const char kConvertButton[] = "按钮2";
const char kOpenButton[] = "按钮1";
const char kListBox[] = "列表框1";

namespace {

void ShowMessage(const rt::AnsiText& text) { rt::MessageBoxText(text); }
bool RunProgram(const rt::AnsiText& program, const rt::AnsiText& arguments, bool wait) {
    return rt::RunProgramFile(program, arguments, wait);
}

HWND ListBoxWindow() { return rt::UnitWindow(rt::UnitId(kListBox)); }

// The folder Explorer opens after a conversion: the last file's. A path that
// is not a full path has no folder of its own (it would be the current
// folder, whatever that is), nor has one whose folder part holds a
// character GBK lacks: then the last full path before it counts. A "?" in
// the file's name alone leaves its folder real and whole.
rt::AnsiText LastFolder(const rt::CountedArray<rt::AnsiText>& files) {
    for (int i = files.Count(); i >= 1; --i) {
        const rt::AnsiText folder = SplitPath(files[i]).folder;
        if (IsFullPath(files[i]) && !HoldsLostCharacter(folder)) return folder;
    }
    return rt::AnsiText();
}

// Explorer is the Windows folder's own: by a bare name, Windows would look
// in the current folder first, which the open dialog leaves wherever the
// user browsed, and start any program named explorer.exe there.
rt::AnsiText ExplorerProgram() { return rt::WindowsFolder() + "\\explorer.exe"; }

void HideTips() {
    rt::SetUnitVisible(rt::UnitId(kAboutLabel), 0);
    rt::SetUnitVisible(rt::UnitId(kOpenTip), 0);
}

}  // namespace

// Explorer reads a quoted argument up to the next quote, and a bare one up
// to a comma. The folder's trailing "\" is left out: before the closing
// quote, the usual rules of command lines would read it as an escaped
// quote. A drive root keeps its "\" ("C:" alone names the drive's current
// folder) and needs no quotes, having no name to hold a blank or a comma.
rt::AnsiText ExplorerArguments(const rt::AnsiText& folder) {
    const rt::AnsiText bare = folder.substr(0, folder.size() - 1);
    if (bare.size() == 2 && bare[1] == ':') return folder;
    return "\"" + bare + "\"";
}

Effects& CurrentEffects() {
    static Effects effects = {ShowMessage, RunProgram, AskOpenFileNames, rt::RegisterDropTarget};
    return effects;
}

rt::WindowDesign MainWindowDesign() {
    using K = rt::UnitKind;
    rt::UnitEvents window, aboutButton, drop, convert, open, list;
    window.created = OnMainWindowCreated;
    window.mouseMoved = HideTipsOnWindow;
    aboutButton.mouseMoved = ShowAboutLabel;
    aboutButton.clicked = ShowAbout;
    drop.filesDropped = AddDroppedFiles;
    convert.clicked = ConvertFilesToPinyin;
    open.clicked = AddFilesFromDialog;
    open.mouseMoved = ShowOpenTip;
    list.mouseMoved = HideTipsOnListBox;
    return {
        {kMainWindow, K::Window, 50, 50, 698, 501, true, "", window},
        {kOpenTip, K::TransparentLabel, 32, 40, 352, 32, false, kOpenTipText, {}},
        {kAboutButton, K::PushButton, 520, 0, 120, 32, true, "关于作者", aboutButton},
        {kDropTarget, K::DropTarget, 440, 0, 40, 24, false, "", drop},
        {kAboutLabel, K::TransparentLabel, 464, 40, 208, 96, false, AboutLabelText(), {}},
        {kConvertButton, K::PushButton, 200, 0, 264, 32, true, "开始将文件名转化为拼音", convert},
        {kOpenButton, K::PushButton, 72, 0, 64, 32, true, "打开文件", open},
        {kListBox, K::ListBox, 1, 32, 695, 472, true, "", list},
    };
}

void OnMainWindowCreated() {
    const int window = rt::UnitId(kMainWindow);
    // 1. The skin, attached while the window is still hidden.
    skin::ApplySkin(window, window, res::SkinBackground(), 10);
    // 2. Icon and title.
    rt::WindowCommand(window, res::AppIconImage(), kCaptionText);
    // 3. The start-up message, at every start.
    CurrentEffects().message(kStartupMessage);
    // 4.-6. Drops anywhere on the window reach AddDroppedFiles from now on.
    // The start-up message has just promised drops: when they cannot work,
    // say so and name the way that does.
    const int drop = rt::UnitId(kDropTarget);
    if (!CurrentEffects().registerDropTarget(drop, rt::UnitWindow(window)))
        CurrentEffects().message(kDropRefusedMessage);
    rt::SetUnitProperty(drop, 11, 1);
}

void ShowOpenTip(int32_t, int32_t, int32_t) { rt::SetUnitVisible(rt::UnitId(kOpenTip), 1); }
void ShowAboutLabel(int32_t, int32_t, int32_t) { rt::SetUnitVisible(rt::UnitId(kAboutLabel), 1); }
void HideTipsOnListBox(int32_t, int32_t, int32_t) { HideTips(); }
void HideTipsOnWindow(int32_t, int32_t, int32_t) { HideTips(); }

void ShowAbout() { CurrentEffects().message(AboutMessage()); }

void AddFilesFromDialog() {
    DWORD error = 0;
    // No owner: MainWindow stays usable while the dialog is open.
    const rt::AnsiText names =
        CurrentEffects().askOpenFileNames(nullptr, kDialogTitle, kDialogFilter, kDialogStartFolder, &error);
    if (names.empty()) {
        // A plain cancel stays silent; a full buffer must not look like one.
        if (error == FNERR_BUFFERTOOSMALL) CurrentEffects().message(kTooManyFilesMessage);
        return;
    }
    AppendFiles(rt::SplitText(names, kPathSeparator), ListBoxWindow());
}

void AddDroppedFiles(rt::AnsiText& dropped) {
    std::vector<rt::AnsiText> paths;
    for (rt::AnsiText& p : rt::SplitText(dropped, "\r\n"))
        if (!p.empty()) paths.push_back(std::move(p));
    ReplaceFiles(paths, ListBoxWindow());
}

void ConvertFilesToPinyin() {
    const rt::CountedArray<rt::AnsiText>& files = FileList();
    if (files.Empty()) {
        CurrentEffects().message(kNothingAddedMessage);
        return;
    }
    FolderMoves moved;
    const std::vector<RenameFailure> failures = RenameToPinyin(files, &moved);
    // Where that folder is now: it, or a folder it lies in, may have been
    // renamed too.
    const rt::AnsiText lastFolder = moved.After(LastFolder(files));
    // The listed paths are gone (renamed) or reported below: start afresh.
    ClearFiles(ListBoxWindow());
    if (!lastFolder.empty()) CurrentEffects().run(ExplorerProgram(), ExplorerArguments(lastFolder), false);
    CurrentEffects().message(failures.empty() ? rt::AnsiText(kDoneMessage) : FailureMessage(failures));
}

}  // namespace app
