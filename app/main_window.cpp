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
bool RunCommand(const rt::AnsiText& commandLine, bool wait) { return rt::Run(commandLine, wait); }

HWND ListBoxWindow() { return rt::UnitWindow(rt::UnitId(kListBox)); }

// The folder Explorer opens after a conversion: the last file's. A path that
// is not a full path has no folder of its own (it would be the current
// folder, whatever that is), nor has one refused for a character GBK lacks:
// then the last full path before it counts.
rt::AnsiText LastFolder(const rt::CountedArray<rt::AnsiText>& files) {
    for (int i = files.Count(); i >= 1; --i)
        if (IsFullPath(files[i]) && !HoldsLostCharacter(files[i])) return SplitPath(files[i]).folder;
    return rt::AnsiText();
}

void HideTips() {
    rt::SetUnitVisible(rt::UnitId(kAboutLabel), 0);
    rt::SetUnitVisible(rt::UnitId(kOpenTip), 0);
}

}  // namespace

Effects& CurrentEffects() {
    static Effects effects = {ShowMessage, RunCommand, AskOpenFileNames, rt::RegisterDropTarget};
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
    const std::vector<RenameFailure> failures = RenameToPinyin(files);
    const rt::AnsiText lastFolder = LastFolder(files);
    // The listed paths are gone (renamed) or reported below: start afresh.
    ClearFiles(ListBoxWindow());
    if (!lastFolder.empty()) CurrentEffects().run("explorer.exe " + lastFolder, false);
    CurrentEffects().message(failures.empty() ? rt::AnsiText(kDoneMessage) : FailureMessage(failures));
}

}  // namespace app
