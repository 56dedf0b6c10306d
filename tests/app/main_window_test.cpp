// MainWindow built by the runtime with the real handlers; message boxes,
// Explorer and the dialog are recorded instead of shown. The list box must
// show exactly FileList through dialogs, drops and conversions.
#include <gtest/gtest.h>

#include <windows.h>
#include <commdlg.h>

#include "app/file_list.h"
#include "app/main_window.h"
#include "app/texts.h"
#include "runtime/drop_target.h"
#include "tests/app/temp_folder.h"

namespace {

struct Recorded {
    std::vector<std::string> messages, runs, dialogAnswers;
    std::vector<bool> runWaits;
    std::vector<DWORD> dialogErrors;
} g_rec;

void RecordMessage(const rt::AnsiText& t) { g_rec.messages.push_back(t); }
bool RecordRun(const rt::AnsiText& c, bool wait) {
    g_rec.runs.push_back(c);
    g_rec.runWaits.push_back(wait);
    return true;
}
rt::AnsiText ScriptedDialog(DWORD* error) {
    std::string answer;
    *error = 0;
    if (!g_rec.dialogAnswers.empty()) {
        answer = g_rec.dialogAnswers.front();
        g_rec.dialogAnswers.erase(g_rec.dialogAnswers.begin());
        *error = g_rec.dialogErrors.front();
        g_rec.dialogErrors.erase(g_rec.dialogErrors.begin());
    }
    return answer;
}

class MainWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        app::CurrentEffects() = {RecordMessage, RecordRun, ScriptedDialog};
        window_ = rt::BuildWindow(app::MainWindowDesign());
        startMessages_ = g_rec.messages;
    }
    static void TearDownTestSuite() { rt::DestroyBuiltWindow(window_); }
    void SetUp() override {
        app::ClearFiles(ListBox());
        g_rec = Recorded();
        dir_ = testfs::MakeTempFolder("mainwindow");
    }
    void TearDown() override { testfs::RemoveTree(dir_); }

    static HWND Unit(const char* name) { return rt::UnitWindow(rt::UnitId(name)); }
    static HWND ListBox() { return Unit(app::kListBox); }
    static void Click(const char* button) { SendMessageA(Unit(button), BM_CLICK, 0, 0); }
    static void Dialog(const std::string& answer, DWORD error = 0) {
        g_rec.dialogAnswers.push_back(answer);
        g_rec.dialogErrors.push_back(error);
        Click(app::kOpenButton);
    }
    static void Drop(std::string text) { app::AddDroppedFiles(text); }
    static std::vector<std::string> Shown() {
        std::vector<std::string> items;
        for (int i = 0; i < rt::ListBoxCount(ListBox()); ++i) items.push_back(rt::ListBoxItem(ListBox(), i));
        return items;
    }
    static std::vector<std::string> Listed() {
        return std::vector<std::string>(app::FileList().begin(), app::FileList().end());
    }
    static void ExpectBoth(const std::vector<std::string>& paths) {
        EXPECT_EQ(Listed(), paths);
        EXPECT_EQ(Shown(), paths);
    }

    static int window_;
    static std::vector<std::string> startMessages_;
    std::string dir_;
};
int MainWindowTest::window_ = 0;
std::vector<std::string> MainWindowTest::startMessages_;

TEST_F(MainWindowTest, CreatedSetsTitleShowsTheStartMessageAndRegistersTheDrop) {
    EXPECT_EQ(startMessages_, std::vector<std::string>{app::kStartupMessage});
    char title[64];
    GetWindowTextA(rt::UnitWindow(window_), title, sizeof title);
    EXPECT_STREQ(title, app::kCaptionText);
    EXPECT_TRUE(SendMessageA(rt::UnitWindow(window_), WM_GETICON, ICON_BIG, 0));
    EXPECT_TRUE(IsWindowVisible(rt::UnitWindow(window_)));
    // The window already has a drop target: OLE refuses a second one.
    OleInitialize(nullptr);
    IDropTarget* other = rt::NewFileDropTarget(rt::UnitId(app::kDropTarget));
    EXPECT_EQ(RegisterDragDrop(rt::UnitWindow(window_), other), DRAGDROP_E_ALREADYREGISTERED);
    other->Release();
}

// Builds MainWindow on a thread whose OLE was shut down after the runtime
// had started it there (as a library calling OleUninitialize once too often
// would leave it): OLE then refuses to make the window a drop target.
DWORD WINAPI BuildWithOleShutDown(LPVOID) {
    HWND first = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    rt::RegisterDropTarget(rt::UnitId(app::kDropTarget), first);
    RevokeDragDrop(first);
    DestroyWindow(first);
    OleUninitialize();
    rt::DestroyBuiltWindow(rt::BuildWindow(app::MainWindowDesign()));
    return 0;
}

TEST_F(MainWindowTest, ARefusedDropTargetIsSaidWithTheWayThatWorks) {
    HANDLE t = CreateThread(nullptr, 0, BuildWithOleShutDown, nullptr, 0, nullptr);
    // The new window's units talk to this thread's windows: keep answering.
    DWORD waited = WAIT_TIMEOUT;
    for (DWORD start = GetTickCount(); waited != WAIT_OBJECT_0 && GetTickCount() - start < 20000;) {
        waited = MsgWaitForMultipleObjects(1, &t, FALSE, 100, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }
    CloseHandle(t);
    ASSERT_EQ(waited, WAIT_OBJECT_0);
    EXPECT_EQ(g_rec.messages, (std::vector<std::string>{app::kStartupMessage, app::kDropRefusedMessage}));
}

TEST_F(MainWindowTest, ListBoxShowsExactlyFileListThroughDialogDropAndConversion) {
    Dialog("C:\\m\\A.mp3|C:\\m\\B.mp3");
    Dialog("C:\\m\\C.mp3");
    ExpectBoth({"C:\\m\\A.mp3", "C:\\m\\B.mp3", "C:\\m\\C.mp3"});
    Dialog("");  // cancelled: nothing changes, nothing is said
    ExpectBoth({"C:\\m\\A.mp3", "C:\\m\\B.mp3", "C:\\m\\C.mp3"});
    EXPECT_TRUE(g_rec.messages.empty());

    Drop("C:\\d\\D.mp3\r\nC:\\d\\E.mp3");
    ExpectBoth({"C:\\d\\D.mp3", "C:\\d\\E.mp3"});

    testfs::WriteText(dir_ + "歌.mp3", "x");
    Drop(dir_ + "歌.mp3");
    ExpectBoth({dir_ + "歌.mp3"});
    Click(app::kConvertButton);
    ExpectBoth({});
    EXPECT_EQ(g_rec.messages, std::vector<std::string>{app::kDoneMessage});
    EXPECT_EQ(g_rec.runs, std::vector<std::string>{"explorer.exe " + dir_});
    EXPECT_EQ(g_rec.runWaits, std::vector<bool>{false});  // the tool does not wait for Explorer
    EXPECT_EQ(testfs::ReadText(dir_ + "ge .mp3"), "x");

    // A second click has nothing left to rename.
    Click(app::kConvertButton);
    EXPECT_EQ(g_rec.messages.back(), app::kNothingAddedMessage);
    EXPECT_EQ(g_rec.runs.size(), 1u);
}

TEST_F(MainWindowTest, TooManyFilesForTheDialogIsSaidNotSwallowed) {
    Dialog("C:\\m\\A.mp3");
    Dialog("", FNERR_BUFFERTOOSMALL);
    EXPECT_EQ(g_rec.messages, std::vector<std::string>{app::kTooManyFilesMessage});
    ExpectBoth({"C:\\m\\A.mp3"});
}

TEST_F(MainWindowTest, FailedRenamesAreReportedInsteadOfSuccess) {
    testfs::WriteText(dir_ + "行.mp3", "first");
    testfs::WriteText(dir_ + "型.mp3", "second");
    Drop(dir_ + "行.mp3\r\n" + dir_ + "型.mp3\r\n" + dir_ + "gone歌.mp3");
    Click(app::kConvertButton);
    ASSERT_EQ(g_rec.messages.size(), 1u);
    EXPECT_EQ(g_rec.messages[0].rfind("有 2 个文件没有改名：", 0), 0u);
    EXPECT_NE(g_rec.messages[0].find(dir_ + "型.mp3"), std::string::npos);
    EXPECT_NE(g_rec.messages[0].find(dir_ + "gone歌.mp3"), std::string::npos);
    EXPECT_EQ(testfs::ReadText(dir_ + "xing .mp3"), "first");
    EXPECT_EQ(testfs::ReadText(dir_ + "型.mp3"), "second");
    // Explorer still opens on the last file's folder.
    EXPECT_EQ(g_rec.runs, std::vector<std::string>{"explorer.exe " + dir_});
    EXPECT_EQ(g_rec.runWaits, std::vector<bool>{false});  // the tool does not wait for Explorer
    ExpectBoth({});
}

TEST_F(MainWindowTest, APathThatIsNotFullIsReportedAndExplorerOpensOnTheLastFullPathsFolder) {
    testfs::WriteText(dir_ + "歌.mp3", "x");
    Drop(dir_ + "歌.mp3\r\n绿.mp3");
    Click(app::kConvertButton);
    EXPECT_EQ(g_rec.messages, std::vector<std::string>{"有 1 个文件没有改名：\r\n绿.mp3（不是完整的路径）"});
    EXPECT_EQ(g_rec.runs, std::vector<std::string>{"explorer.exe " + dir_});
    EXPECT_EQ(testfs::ReadText(dir_ + "ge .mp3"), "x");
}

TEST_F(MainWindowTest, NothingAddedSaysSoAndRenamesNothing) {
    Click(app::kConvertButton);
    EXPECT_EQ(g_rec.messages, std::vector<std::string>{app::kNothingAddedMessage});
    EXPECT_TRUE(g_rec.runs.empty());
}

TEST_F(MainWindowTest, HoverTipsFollowTheMouse) {
    const int openTip = rt::UnitId(app::kOpenTip), aboutLabel = rt::UnitId(app::kAboutLabel);
    auto move = [](HWND h) { SendMessageA(h, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5)); };
    move(Unit(app::kOpenButton));
    EXPECT_TRUE(rt::UnitVisible(openTip));
    EXPECT_FALSE(rt::UnitVisible(aboutLabel));
    move(Unit(app::kAboutButton));
    move(Unit(app::kConvertButton));  // changes neither
    EXPECT_TRUE(rt::UnitVisible(openTip));
    EXPECT_TRUE(rt::UnitVisible(aboutLabel));
    move(ListBox());
    EXPECT_FALSE(rt::UnitVisible(openTip));
    EXPECT_FALSE(rt::UnitVisible(aboutLabel));
    move(Unit(app::kAboutButton));
    move(rt::UnitWindow(window_));
    EXPECT_FALSE(rt::UnitVisible(aboutLabel));
}

TEST_F(MainWindowTest, AboutButtonShowsTheAboutMessage) {
    Click(app::kAboutButton);
    EXPECT_EQ(g_rec.messages, std::vector<std::string>{app::AboutMessage()});
}

TEST(Texts, ByteLengthsAndLineOrder) {
    const std::string msg = app::AboutMessage(), label = app::AboutLabelText();
    EXPECT_EQ(msg.size(), 88u);
    EXPECT_EQ(label.size(), 94u);
    EXPECT_EQ(std::string(app::kCaptionText).size(), 38u);
    const std::vector<std::string> m = rt::SplitText(msg, "\r\n\r\n");
    ASSERT_EQ(m.size(), 4u);
    EXPECT_EQ(m[3], "欢迎大家使用本软件");
    ASSERT_EQ(label.substr(label.size() - 8), "\r\n\r\n\r\n\r\n");
    const std::vector<std::string> l = rt::SplitText(label.substr(0, label.size() - 8), "\r\n\r\n");
    ASSERT_EQ(l.size(), 4u);
    EXPECT_EQ(l[0], m[0]);   // credit
    EXPECT_EQ(l[1], m[1]);   // contact
    EXPECT_EQ(l[2], m[3]);   // welcome
    EXPECT_EQ(m[2].rfind(l[3], 0), 0u);  // forum (the message's ends in a full stop)
}

}  // namespace
