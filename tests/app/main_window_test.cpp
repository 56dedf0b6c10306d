// MainWindow built by the runtime with the real handlers; message boxes,
// Explorer and the dialog are recorded instead of shown (and a refused drop
// registration stands in for OLE where a test needs one). The list box must
// show exactly FileList through dialogs, drops and conversions.
#include <gtest/gtest.h>

#include <windows.h>
#include <commdlg.h>

#include <iterator>
#include <ostream>

#include "app/file_list.h"
#include "app/main_window.h"
#include "app/texts.h"
#include "runtime/drop_target.h"
#include "tests/app/temp_folder.h"

namespace {

// What the handler asked the open-file dialog for.
struct DialogRequest {
    HWND owner;
    std::string title, filter, startFolder;
    bool operator==(const DialogRequest& o) const {
        return owner == o.owner && title == o.title && filter == o.filter && startFolder == o.startFolder;
    }
};
void PrintTo(const DialogRequest& r, std::ostream* os) {
    *os << "{" << r.owner << ", " << r.title << ", " << r.filter << ", " << r.startFolder << "}";
}

struct DropRegistration {
    int dropUnit;
    HWND window;
    std::size_t messagesBefore;  // messages said before the registration
};

struct Recorded {
    std::vector<std::string> messages, runs, dialogAnswers;
    std::vector<bool> runWaits;
    std::vector<std::size_t> messagesBeforeRun;  // messages said before each run
    std::vector<DWORD> dialogErrors;
    std::vector<DialogRequest> dialogRequests;
    std::vector<DropRegistration> refusedRegistrations;
} g_rec;

void RecordMessage(const rt::AnsiText& t) { g_rec.messages.push_back(t); }
// Each program started, as its command line: the quoted program, a blank,
// the arguments.
bool RecordRun(const rt::AnsiText& program, const rt::AnsiText& arguments, bool wait) {
    g_rec.runs.push_back("\"" + program + "\" " + arguments);
    g_rec.runWaits.push_back(wait);
    g_rec.messagesBeforeRun.push_back(g_rec.messages.size());
    return true;
}
rt::AnsiText ScriptedDialog(HWND owner, const rt::AnsiText& title, const rt::AnsiText& filter,
                            const rt::AnsiText& startFolder, DWORD* error) {
    g_rec.dialogRequests.push_back({owner, title, filter, startFolder});
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

// The Windows folder's own Explorer on that folder (given with its
// trailing "\"), which it is handed quoted, without that "\".
std::string ExplorerOn(const std::string& folder) {
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    return "\"" + std::string(windows) + "\\explorer.exe\" \"" + folder.substr(0, folder.size() - 1) + "\"";
}

class MainWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        app::Effects& effects = app::CurrentEffects();
        effects.message = RecordMessage;
        effects.run = RecordRun;
        effects.askOpenFileNames = ScriptedDialog;
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
    // A folder of its own for one case of a table, with these folders in it.
    std::string CaseFolder(int n, const std::vector<std::string>& folders) const {
        const std::string base = dir_ + std::to_string(n) + "\\";
        CreateDirectoryA(base.c_str(), nullptr);
        for (const std::string& f : folders) CreateDirectoryA((base + f).c_str(), nullptr);
        return base;
    }
    // Drops these paths within base, converts, and returns what was dropped;
    // g_rec.runs then holds this conversion's programs alone.
    static std::string DropAndConvert(const std::string& base, const std::vector<std::string>& paths) {
        std::string dropped;
        for (const std::string& p : paths) dropped += (dropped.empty() ? "" : "\r\n") + base + p;
        g_rec.runs.clear();
        Drop(dropped);
        Click(app::kConvertButton);
        return dropped;
    }
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

bool RefuseDropTarget(int dropUnit, HWND window) {
    g_rec.refusedRegistrations.push_back({dropUnit, window, g_rec.messages.size()});
    return false;
}

TEST_F(MainWindowTest, ARefusedDropTargetIsSaidWithTheWayThatWorks) {
    // A second MainWindow whose drop registration OLE refuses, built on this
    // thread: the engine and the runtime live on one UI thread (built on
    // another, its skin would render this thread's window from there and
    // wait for this thread to answer).
    app::CurrentEffects().registerDropTarget = RefuseDropTarget;
    const int refused = rt::BuildWindow(app::MainWindowDesign());
    app::CurrentEffects().registerDropTarget = rt::RegisterDropTarget;
    const HWND refusedWindow = rt::UnitWindow(refused);
    const int refusedDrop = rt::UnitId(app::kDropTarget);
    rt::DestroyBuiltWindow(refused);
    EXPECT_EQ(g_rec.messages, (std::vector<std::string>{app::kStartupMessage, app::kDropRefusedMessage}));
    // The window itself was offered, with its drop-target unit, once the
    // start-up message had been answered.
    ASSERT_EQ(g_rec.refusedRegistrations.size(), 1u);
    const DropRegistration& r = g_rec.refusedRegistrations[0];
    EXPECT_EQ(r.dropUnit, refusedDrop);
    EXPECT_EQ(r.window, refusedWindow);
    EXPECT_EQ(r.messagesBefore, 1u);
}

// The design as the runtime builds it: each unit's kind, place relative to
// the client area, visibility at start and text, in creation order.
TEST_F(MainWindowTest, TheWindowIsBuiltAsDesigned) {
    using K = rt::UnitKind;
    struct Row {
        const char* name;
        K kind;
        const char* windowClass;  // null: no standard control class to check
        int left, top, width, height;
        bool visible;
        std::string text;
    };
    const Row rows[] = {
        {"MainWindow", K::Window, nullptr, 50, 50, 698, 501, true, ""},
        {"透明标签2", K::TransparentLabel, nullptr, 32, 40, 352, 32, false,
         "可以从这里打开文件,也可以直接将文件拖到本程序的窗体内"},
        {"按钮3", K::PushButton, "Button", 520, 0, 120, 32, true, "关于作者"},
        {"拖放对象1", K::DropTarget, nullptr, 440, 0, 40, 24, false, ""},
        {"透明标签1", K::TransparentLabel, nullptr, 464, 40, 208, 96, false, app::AboutLabelText()},
        {"按钮2", K::PushButton, "Button", 200, 0, 264, 32, true, "开始将文件名转化为拼音"},
        {"按钮1", K::PushButton, "Button", 72, 0, 64, 32, true, "打开文件"},
        {"列表框1", K::ListBox, "ListBox", 1, 32, 695, 472, true, ""},
    };
    const rt::WindowDesign design = app::MainWindowDesign();
    ASSERT_EQ(design.size(), std::size(rows));
    const int built = rt::BuildWindow(design);
    const HWND window = rt::UnitWindow(built);
    std::vector<HWND> expectedOrder;
    for (std::size_t i = 0; i < design.size(); ++i) {
        const Row& row = rows[i];
        const rt::UnitDesign& d = design[i];
        SCOPED_TRACE(row.name);
        EXPECT_EQ(d.name, row.name);
        EXPECT_EQ(d.kind, row.kind);
        EXPECT_EQ((std::vector<int>{d.left, d.top, d.width, d.height}),
                  (std::vector<int>{row.left, row.top, row.width, row.height}));
        EXPECT_EQ(d.visible, row.visible);
        EXPECT_EQ(d.text, row.text);

        const int unit = rt::UnitId(row.name);
        EXPECT_EQ(rt::UnitKindOf(unit), row.kind);
        EXPECT_EQ(rt::UnitVisible(unit), row.visible);
        const HWND hwnd = rt::UnitWindow(unit);
        if (row.kind == K::DropTarget) {
            EXPECT_EQ(hwnd, nullptr);  // a drop target has no window of its own
            continue;
        }
        EXPECT_NE(hwnd, nullptr);
        if (!hwnd) continue;
        RECT r;
        GetWindowRect(hwnd, &r);
        if (row.kind == K::Window) {
            // A borderless popup: the window is its client area.
            const LONG style = GetWindowLongA(hwnd, GWL_STYLE);
            EXPECT_TRUE(style & WS_POPUP);
            EXPECT_FALSE(style & (WS_CAPTION | WS_THICKFRAME | WS_BORDER | WS_DLGFRAME));
            RECT client;
            GetClientRect(hwnd, &client);
            EXPECT_EQ((std::vector<LONG>{client.right, client.bottom}), (std::vector<LONG>{698, 501}));
        } else {
            MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
            EXPECT_EQ(GetParent(hwnd), window);
            char text[256] = {};
            GetWindowTextA(hwnd, text, sizeof text);
            EXPECT_EQ(text, row.text);
            if (row.windowClass) {
                char cls[64] = {};
                GetClassNameA(hwnd, cls, sizeof cls);
                EXPECT_STRCASEEQ(cls, row.windowClass);
            }
            expectedOrder.push_back(hwnd);
        }
        EXPECT_EQ((std::vector<LONG>{r.left, r.top, r.right - r.left, r.bottom - r.top}),
                  (std::vector<LONG>{row.left, row.top, row.width, row.height}));
    }
    // Creation order is z-order: the first unit lies on top, so both labels
    // lie over the list box.
    std::vector<HWND> children;
    for (HWND c = GetWindow(window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) children.push_back(c);
    EXPECT_EQ(children, expectedOrder);
    rt::DestroyBuiltWindow(built);
}

TEST_F(MainWindowTest, TheOpenButtonAsksTheDialogForMp3FilesFromDriveD) {
    Dialog("");
    Dialog("C:\\m\\A.mp3");
    // No owner, so MainWindow stays usable while the dialog is open.
    const DialogRequest asked = {nullptr, "打开文件", "mp3文件|*.MP3|所有文件|*.*", "d:\\"};
    EXPECT_EQ(g_rec.dialogRequests, (std::vector<DialogRequest>{asked, asked}));
}

// Explorer opens on the folder of the last listed path, whichever folders
// the others are in, and also when that last rename failed; never on a
// folder that a refused path only seems to name.
TEST_F(MainWindowTest, ExplorerOpensOnTheLastListedPathsFolder) {
    struct Case {
        std::vector<std::string> files;  // "folder\\name"; created unless in missing
        std::string missing;
        std::string explorerFolder;
    };
    const Case cases[] = {
        {{"甲\\歌.mp3", "乙\\绿.mp3"}, "", "乙\\"},
        {{"乙\\歌.mp3", "甲\\绿.mp3", "乙\\a.mp3"}, "", "乙\\"},
        {{"甲\\歌.mp3", "乙\\绿.mp3"}, "乙\\绿.mp3", "乙\\"},
        // A path refused for a character GBK lacks may name no folder at all:
        // the last one before it counts, and with none, Explorer stays shut.
        {{"甲\\歌.mp3", "丙?\\绿.mp3"}, "丙?\\绿.mp3", "甲\\"},
        {{"丙?\\绿.mp3"}, "丙?\\绿.mp3", ""},
        // A "?" in the name alone: the folder is real and whole.
        {{"甲\\歌.mp3", "乙\\绿?.mp3"}, "乙\\绿?.mp3", "乙\\"},
    };
    int n = 0;
    for (const Case& c : cases) {
        const std::string base = CaseFolder(++n, {"甲", "乙"});
        for (const std::string& f : c.files)
            if (f != c.missing) testfs::WriteText(base + f, "x");
        const std::string dropped = DropAndConvert(base, c.files);
        const std::vector<std::string> expected =
            c.explorerFolder.empty() ? std::vector<std::string>{}
                                     : std::vector<std::string>{ExplorerOn(base + c.explorerFolder)};
        EXPECT_EQ(g_rec.runs, expected) << dropped;
    }
}

// The last path's folder, or one it lies in, renamed in the same run:
// Explorer opens it under its new name, the one it has after the run.
TEST_F(MainWindowTest, ExplorerOpensOnTheLastFolderAsItIsAfterTheConversion) {
    struct Case {
        std::vector<std::string> listed;  // folders have no extension
        std::string explorerFolder;
    };
    const Case cases[] = {
        {{"歌a", "歌a\\曲.mp3"}, "ge a\\"},
        {{"歌a", "歌a\\绿b\\曲.mp3"}, "ge a\\绿b\\"},
        {{"歌a\\绿b", "歌a", "歌a\\绿b\\曲.mp3"}, "ge a\\lv b\\"},
        {{"歌a\\曲.mp3", "歌a", "行.mp3"}, ""},
    };
    int n = 0;
    for (const Case& c : cases) {
        const std::string base = CaseFolder(++n, {"歌a", "歌a\\绿b"});
        for (const char* f : {"歌a\\曲.mp3", "歌a\\绿b\\曲.mp3", "行.mp3"}) testfs::WriteText(base + f, "x");
        const std::string dropped = DropAndConvert(base, c.listed);
        EXPECT_EQ(g_rec.runs, std::vector<std::string>{ExplorerOn(base + c.explorerFolder)}) << dropped;
        EXPECT_NE(GetFileAttributesA((base + c.explorerFolder).c_str()), INVALID_FILE_ATTRIBUTES) << dropped;
    }
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
    EXPECT_EQ(g_rec.runs, std::vector<std::string>{ExplorerOn(dir_)});
    EXPECT_EQ(g_rec.runWaits, std::vector<bool>{false});  // the tool does not wait for Explorer
    // Explorer is on its way before the closing message box holds the tool.
    EXPECT_EQ(g_rec.messagesBeforeRun, std::vector<std::size_t>{0});
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
    EXPECT_EQ(g_rec.runs, std::vector<std::string>{ExplorerOn(dir_)});
    EXPECT_EQ(g_rec.runWaits, std::vector<bool>{false});  // the tool does not wait for Explorer
    ExpectBoth({});
}

TEST_F(MainWindowTest, APathThatIsNotFullIsReportedAndExplorerOpensOnTheLastFullPathsFolder) {
    testfs::WriteText(dir_ + "歌.mp3", "x");
    Drop(dir_ + "歌.mp3\r\n绿.mp3");
    Click(app::kConvertButton);
    EXPECT_EQ(g_rec.messages, std::vector<std::string>{"有 1 个文件没有改名：\r\n绿.mp3（不是完整的路径）"});
    EXPECT_EQ(g_rec.runs, std::vector<std::string>{ExplorerOn(dir_)});
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

// One argument that Explorer reads whole, and that the usual rules of
// command lines read whole too: no "\" before the closing quote.
TEST(ExplorerArguments, TheFolderQuotedWithoutItsTrailingSeparator) {
    struct Case { std::string folder, arguments; };
    const Case cases[] = {
        {"C:\\a b,c\\", "\"C:\\a b,c\""},
        {"D:\\淺\\", "\"D:\\淺\""},
        {"\\\\server\\share\\", "\"\\\\server\\share\""},
        {"C:\\", "C:\\"},  // "C:" alone would be the drive's current folder
    };
    for (const Case& c : cases) EXPECT_EQ(app::ExplorerArguments(c.folder), c.arguments) << c.folder;
}

TEST(Texts, ByteLengthsAndLineOrder) {
    const std::string msg = app::AboutMessage(), label = app::AboutLabelText();
    EXPECT_EQ(msg.size(), 88u);
    EXPECT_EQ(label.size(), 94u);
    EXPECT_EQ(std::string(app::kCaptionText).size(), 38u);
    const std::vector<std::string> m = rt::SplitText(msg, "\r\n\r\n");
    ASSERT_EQ(m.size(), 4u);
    // The credit first, then the contact line.
    EXPECT_EQ(m[0].rfind("作者：", 0), 0u) << m[0];
    EXPECT_EQ(m[1].rfind("联系：", 0), 0u) << m[1];
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
