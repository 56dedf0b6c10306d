// The open-file dialog's request and the reading of its result.
#include <gtest/gtest.h>

#include <windows.h>
#include <dlgs.h>

#include <algorithm>
#include <cstring>

#include "app/file_list.h"
#include "app/main_window.h"
#include "app/open_dialog.h"
#include "app/renamer.h"
#include "app/texts.h"
#include "tests/app/temp_folder.h"
#include "tests/support/waits.h"

namespace {

TEST(OpenDialog, RequestIsTheStructureWithoutReservedFieldsWithItsBuffers) {
    app::OpenDialogRequest r;
    app::PrepareOpenDialog(r, nullptr, "打开文件", "mp3文件|*.MP3|所有文件|*.*", "d:\\");
    EXPECT_EQ(r.ofn.lStructSize, sizeof(void*) == 4 ? 76u : 136u);
    EXPECT_EQ(r.ofn.Flags, 0x00080200u);
    EXPECT_EQ(r.ofn.hwndOwner, nullptr);
    EXPECT_EQ(r.ofn.nMaxFile, 8192u);
    EXPECT_EQ(r.file.size(), 8192u);
    EXPECT_EQ(std::count(r.file.begin(), r.file.end(), '\0'), 8192);
    EXPECT_EQ(r.ofn.nMaxFileTitle, 8192u);
    ASSERT_EQ(r.fileTitle.size(), 8193u);
    EXPECT_EQ(std::count(r.fileTitle.begin(), r.fileTitle.end() - 1, ' '), 8192);
    EXPECT_EQ(r.fileTitle.back(), '\0');
    EXPECT_STREQ(r.ofn.lpstrInitialDir, "d:\\");
    EXPECT_STREQ(r.ofn.lpstrTitle, "打开文件");
    const char filter[] = "mp3文件\0*.MP3\0所有文件\0*.*\0";  // + the literal's own NUL
    ASSERT_EQ(r.filter.size(), sizeof filter);
    EXPECT_EQ(std::memcmp(r.ofn.lpstrFilter, filter, sizeof filter), 0);
    EXPECT_EQ(r.ofn.hInstance, nullptr);
    EXPECT_EQ(r.ofn.lpstrCustomFilter, nullptr);
    EXPECT_EQ(r.ofn.nFilterIndex, 0u);
    EXPECT_EQ(r.ofn.lpstrDefExt, nullptr);
    EXPECT_EQ(r.ofn.lpfnHook, nullptr);
    EXPECT_EQ(r.ofn.lpTemplateName, nullptr);
}

TEST(OpenDialog, FilterKeepsCharactersEndingIn7C) {
    // 東 is 0xD6 0x7C: its trail byte is "|" but it is no separator.
    const std::vector<char> f = app::DialogFilter("東|*.*");
    EXPECT_EQ(std::string(f.begin(), f.end()), std::string("東\0*.*\0\0", 8));
}

std::string Buffer(const std::string& content) {
    std::string b = content;
    b.resize(8192, '\0');
    return b;
}

TEST(OpenDialog, ResultOfOneOrSeveralFiles) {
    struct Case { std::string buffer, paths; };
    const Case cases[] = {
        {"D:\\音乐\\歌.mp3", "D:\\音乐\\歌.mp3"},
        {std::string("D:\\音乐\0a.mp3\0歌.mp3\0", 20), "D:\\音乐\\a.mp3|D:\\音乐\\歌.mp3"},
        {std::string("D:\\\0a.mp3\0b.mp3\0", 16), "D:\\a.mp3|D:\\b.mp3"},  // drive root: one "\"
        {std::string("D:\\淺\0東.mp3\0", 12), "D:\\淺\\東.mp3"},      // folder ends in 0x5C trail
        {"", ""},
    };
    for (const Case& c : cases) {
        const std::string b = Buffer(c.buffer);
        EXPECT_EQ(app::ParseOpenFileResult(b.data(), b.size()), c.paths) << c.paths;
    }
}

TEST(OpenDialog, ResultReadsNothingPastItsBufferAndTellsWhenItWasCut) {
    struct Case { std::string buffer; std::size_t size; std::string paths; bool cut; };
    const Case cases[] = {
        {std::string(16, 'x'), 10, std::string(10, 'x'), true},           // no NUL at all
        {std::string("D:\\m\0a\0bb", 9), 9, "D:\\m\\a|D:\\m\\bb", true},  // last name runs to the end
        {std::string("D:\\m\0a\0", 7), 7, "D:\\m\\a", true},             // the closing NUL is missing
        {std::string("D:\\a.mp3\0", 9), 9, "D:\\a.mp3", false},          // one whole path
        {std::string("D:\\m\0a\0\0", 8), 8, "D:\\m\\a", false},
    };
    for (const Case& c : cases) {
        bool cut = !c.cut;
        EXPECT_EQ(app::ParseOpenFileResult(c.buffer.data(), c.size, &cut), c.paths) << c.paths;
        EXPECT_EQ(cut, c.cut) << c.paths;
    }
}

// What the ANSI dialog hands back for a name GBK cannot hold is its best fit
// ("²" as "2", "¦" as "|"); the path is put back with "?" in that place,
// found in the folder whatever the letter case typed.
TEST(OpenDialog, BestFitNamesAreGivenBackWithQuestionMarks) {
    const std::string dir = testfs::MakeTempFolder("bestfit");
    const std::wstring wdir = rt::Utf16Of(dir);
    ASSERT_TRUE(testfs::WriteTextW(wdir + L"\x6B4C\x00B2.mp3", "x"));  // 歌².mp3
    ASSERT_TRUE(testfs::WriteTextW(wdir + L"a\x00A6" L"b.mp3", "x"));   // a¦b.mp3
    testfs::WriteText(dir + "歌2.mp3", "x");
    testfs::WriteText(dir + "绿.mp3", "x");
    std::vector<rt::AnsiText> paths = {dir + "歌2.mp3", dir + "a|b.mp3", dir + "A|B.MP3", dir + "绿.mp3",
                                       dir + "missing.mp3", dir + "no such folder\\a|b.mp3"};
    app::MarkLostCharacters(paths);
    EXPECT_EQ(paths, (std::vector<rt::AnsiText>{dir + "歌?.mp3", dir + "a?b.mp3", dir + "a?b.mp3", dir + "绿.mp3",
                                                dir + "missing.mp3", dir + "no such folder\\a?b.mp3"}));
    testfs::RemoveTree(dir);
}

// Every folder of a path is checked, not only its last name: a folder whose
// name GBK cannot hold must not let the path name another folder or file.
// "歌¦集" comes back as "歌|集", which would cut the path in two at the "|",
// the first piece the full path of the folder 歌 beside it; "音乐²" comes
// back as "音乐2", the name of the folder beside it. An exact name wins over
// a look-alike in other letter case.
TEST(OpenDialog, EveryFolderOfAPathIsCheckedAndNothingUnchosenIsRenamed) {
    const std::string dir = testfs::MakeTempFolder("bestfitfolders");
    const std::wstring wdir = rt::Utf16Of(dir);
    ASSERT_TRUE(CreateDirectoryA((dir + "歌").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW((wdir + L"\x6B4C\x00A6\x96C6").c_str(), nullptr));  // 歌¦集
    ASSERT_TRUE(testfs::WriteTextW(wdir + L"\x6B4C\x00A6\x96C6\\\x7EFF.mp3", "green"));
    ASSERT_TRUE(CreateDirectoryW((wdir + L"\x97F3\x4E50\x00B2").c_str(), nullptr));  // 音乐²
    ASSERT_TRUE(testfs::WriteTextW(wdir + L"\x97F3\x4E50\x00B2\\\x6B4C.mp3", "chosen"));
    ASSERT_TRUE(CreateDirectoryA((dir + "音乐2").c_str(), nullptr));
    testfs::WriteText(dir + "音乐2\\歌.mp3", "other");
    testfs::WriteText(dir + "歌b2.mp3", "plain");
    ASSERT_TRUE(testfs::WriteTextW(wdir + L"\x6B4C" L"B\x00B2.mp3", "x"));  // 歌B².mp3

    std::vector<rt::AnsiText> paths = {dir + "歌|集\\绿.mp3", dir + "音乐2\\歌.mp3", dir + "歌b2.mp3"};
    app::MarkLostCharacters(paths);
    EXPECT_EQ(paths, (std::vector<rt::AnsiText>{dir + "歌?集\\绿.mp3", dir + "音乐?\\歌.mp3",
                                                dir + "歌b2.mp3"}));

    rt::CountedArray<rt::AnsiText> files;
    for (const rt::AnsiText& p : paths) files.Append(p);
    const std::vector<app::RenameFailure> failures = app::RenameToPinyin(files);
    ASSERT_EQ(failures.size(), 2u);
    EXPECT_EQ(failures[0].path, dir + "歌?集\\绿.mp3");
    EXPECT_EQ(failures[0].problem, app::RenameProblem::UnknownChar);
    EXPECT_EQ(failures[1].path, dir + "音乐?\\歌.mp3");
    EXPECT_EQ(failures[1].problem, app::RenameProblem::UnknownChar);
    EXPECT_NE(GetFileAttributesA((dir + "歌").c_str()), INVALID_FILE_ATTRIBUTES) << "never chosen";
    EXPECT_EQ(testfs::ReadText(dir + "音乐2\\歌.mp3"), "other");
    EXPECT_EQ(testfs::ReadText(dir + "ge b2.mp3"), "plain");
    testfs::RemoveTree(dir);
}

// The real dialog, answered by a helper thread that types into its file
// name box and presses OK (or Cancel), as a user would.
struct Answer {
    std::string fileNames;  // empty: press Cancel
    std::string folder;     // when given: typed and confirmed first, to go there
    std::wstring wideFileNames;  // when given: typed in place of fileNames (names GBK cannot hold)
    DWORD asker = 0;        // the thread that shows the dialog
};

// What the helper thread ends with.
enum AnswerOutcome : DWORD { kAnswered, kNoDialog, kFolderNotShown };

void TypeAndConfirm(HWND dlg, const std::wstring& text, bool wait) {
    HWND name = GetDlgItem(dlg, cmb13);
    if (!name) name = GetDlgItem(dlg, edt1);
    SetWindowTextW(name, text.c_str());
    if (wait) {
        SendMessageA(dlg, WM_COMMAND, IDOK, 0);  // returns once the dialog has acted on it
    } else {
        PostMessageA(dlg, WM_COMMAND, IDOK, 0);  // the dialog ends on it
    }
}

// The folder the dialog lists, without a closing "\".
std::string ShownFolder(HWND dlg) {
    char path[MAX_PATH] = {};
    SendMessageA(dlg, CDM_GETFOLDERPATH, sizeof path, reinterpret_cast<LPARAM>(path));
    std::string shown = path;
    if (!shown.empty() && shown.back() == '\\') shown.pop_back();
    return shown;
}

void TypeAndConfirm(HWND dlg, const std::string& text, bool wait) { TypeAndConfirm(dlg, rt::Utf16Of(text), wait); }

DWORD WINAPI AnswerDialog(LPVOID arg) {
    const Answer* answer = static_cast<Answer*>(arg);
    HWND dlg = nullptr;
    if (!testsupport::PollUntil([&] {
            return (dlg = testsupport::VisibleThreadWindow(answer->asker, "#32770", "打开文件"));
        }))
        return kNoDialog;
    if (answer->fileNames.empty() && answer->wideFileNames.empty()) {
        PostMessageA(dlg, WM_COMMAND, IDCANCEL, 0);
        return kAnswered;
    }
    if (!answer->folder.empty()) {
        TypeAndConfirm(dlg, answer->folder, true);
        std::string folder = answer->folder;
        if (folder.back() == '\\') folder.pop_back();
        if (!testsupport::PollUntil([&] { return !lstrcmpiA(ShownFolder(dlg).c_str(), folder.c_str()); })) {
            PostMessageA(dlg, WM_COMMAND, IDCANCEL, 0);
            return kFolderNotShown;
        }
    }
    if (!answer->wideFileNames.empty()) TypeAndConfirm(dlg, answer->wideFileNames, false);
    else TypeAndConfirm(dlg, answer->fileNames, false);
    return kAnswered;
}

// Runs ask while a helper thread answers the dialog it opens.
template <class Ask>
auto Answered(Answer answer, Ask ask) {
    answer.asker = GetCurrentThreadId();
    HANDLE t = CreateThread(nullptr, 0, AnswerDialog, &answer, 0, nullptr);
    auto result = ask();
    // The dialog has gone, so the helper has answered it (or given up).
    WaitForSingleObject(t, INFINITE);
    DWORD outcome = kNoDialog;
    GetExitCodeThread(t, &outcome);
    CloseHandle(t);
    EXPECT_NE(outcome, static_cast<DWORD>(kNoDialog)) << "no open-file dialog showed";
    EXPECT_NE(outcome, static_cast<DWORD>(kFolderNotShown)) << "the dialog did not go to " << answer.folder;
    return result;
}

rt::AnsiText AskWith(const Answer& answer, const std::string& folder, DWORD* error) {
    return Answered(answer, [&] {
        return app::AskOpenFileNames(nullptr, "打开文件", "mp3文件|*.MP3|所有文件|*.*", folder, error);
    });
}

TEST(OpenDialogUnderWine, CancelSeveralFilesAndTooManyFiles) {
    const std::string dir = testfs::MakeTempFolder("dialog");
    testfs::WriteText(dir + "a.mp3", "a");
    testfs::WriteText(dir + "歌.mp3", "b");
    DWORD error = 123;
    EXPECT_EQ(AskWith({""}, dir, &error), "");
    EXPECT_EQ(error, 0u);  // a plain cancel

    EXPECT_EQ(AskWith({"\"a.mp3\" \"歌.mp3\""}, dir, &error), dir + "a.mp3|" + dir + "歌.mp3");
    EXPECT_EQ(error, 0u);

    // More names than the 8,192-byte buffer holds: the dialog fails (Windows)
    // or cuts the list short (Wine); either way nothing comes back but the
    // reason.
    std::string many;
    for (int i = 0; i < 250; ++i) {
        const std::string name = "a-rather-long-file-name-for-the-dialog-" + std::to_string(i) + ".mp3";
        testfs::WriteText(dir + name, "x");
        many += "\"" + name + "\" ";
    }
    EXPECT_EQ(AskWith({many}, dir, &error), "");
    EXPECT_EQ(error, static_cast<DWORD>(FNERR_BUFFERTOOSMALL));
    testfs::RemoveTree(dir);
}

std::vector<std::string> g_messages;

// ";" is a legal character of a file name. Choosing only "x;歌.mp3" in a
// folder that also holds 歌.mp3 must list that one file and rename it alone,
// also when it is one of several chosen at once.
TEST(OpenDialogUnderWine, ANameHoldingASemicolonIsOneFile) {
    const std::string dir = testfs::MakeTempFolder("semicolon");
    testfs::WriteText(dir + "x;歌.mp3", "chosen");
    testfs::WriteText(dir + "歌.mp3", "not chosen");
    testfs::WriteText(dir + "y;绿.mp3", "chosen too");
    testfs::WriteText(dir + "z.mp3", "chosen, needs no rename");
    // The real dialog; messages and Explorer recorded.
    app::CurrentEffects().message = [](const rt::AnsiText& t) { g_messages.push_back(t); };
    app::CurrentEffects().run = [](const rt::AnsiText&, const rt::AnsiText&, bool) { return true; };
    const int window = rt::BuildWindow(app::MainWindowDesign());
    HWND list = rt::UnitWindow(rt::UnitId(app::kListBox));

    Answered(Answer{"\"x;歌.mp3\"", dir}, [] { app::AddFilesFromDialog(); return 0; });
    Answered(Answer{"\"y;绿.mp3\" \"z.mp3\"", dir}, [] { app::AddFilesFromDialog(); return 0; });
    const std::vector<std::string> chosen = {dir + "x;歌.mp3", dir + "y;绿.mp3", dir + "z.mp3"};
    EXPECT_EQ(std::vector<std::string>(app::FileList().begin(), app::FileList().end()), chosen);
    ASSERT_EQ(rt::ListBoxCount(list), 3);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(rt::ListBoxItem(list, i), chosen[static_cast<std::size_t>(i)]);

    app::ConvertFilesToPinyin();
    EXPECT_EQ(g_messages, (std::vector<std::string>{app::kStartupMessage, app::kDoneMessage}));
    EXPECT_EQ(testfs::ReadText(dir + "x;ge .mp3"), "chosen");
    EXPECT_EQ(testfs::ReadText(dir + "y;lv .mp3"), "chosen too");
    EXPECT_EQ(testfs::ReadText(dir + "z.mp3"), "chosen, needs no rename");
    EXPECT_EQ(testfs::ReadText(dir + "歌.mp3"), "not chosen");
    EXPECT_EQ(rt::FileExists(dir + "ge .mp3"), 0);
    rt::DestroyBuiltWindow(window);
    testfs::RemoveTree(dir);
}

// 歌² has no GBK form: the ANSI dialog would hand back the look-alike
// 歌2.mp3, another file, which the conversion would rename. The path comes
// with "?" in place of the character, and neither file is touched.
TEST(OpenDialogUnderWine, ANameOutsideGbkIsListedWithAQuestionMarkAndNoOtherFileIsRenamed) {
    const std::string dir = testfs::MakeTempFolder("outside");
    const std::wstring superscript = rt::Utf16Of(dir) + L"\x6B4C\x00B2.mp3";  // 歌².mp3
    ASSERT_TRUE(testfs::WriteTextW(superscript, "chosen"));
    testfs::WriteText(dir + "歌2.mp3", "the look-alike");
    g_messages.clear();
    app::CurrentEffects().message = [](const rt::AnsiText& t) { g_messages.push_back(t); };
    app::CurrentEffects().run = [](const rt::AnsiText&, const rt::AnsiText&, bool) { return true; };
    const int window = rt::BuildWindow(app::MainWindowDesign());
    HWND list = rt::UnitWindow(rt::UnitId(app::kListBox));
    app::ClearFiles(list);

    Answered(Answer{"", dir, L"\"\x6B4C\x00B2.mp3\""}, [] { app::AddFilesFromDialog(); return 0; });
    const std::string lost = dir + "歌?.mp3";
    EXPECT_EQ(std::vector<std::string>(app::FileList().begin(), app::FileList().end()), std::vector<std::string>{lost});
    ASSERT_EQ(rt::ListBoxCount(list), 1);
    EXPECT_EQ(rt::ListBoxItem(list, 0), lost);

    app::ConvertFilesToPinyin();
    EXPECT_EQ(g_messages, (std::vector<std::string>{app::kStartupMessage,
                                                    "有 1 个文件没有改名：\r\n" + lost + "（文件名里有本程序不能处理的字符）"}));
    EXPECT_EQ(testfs::ReadTextW(superscript), "chosen");
    EXPECT_EQ(testfs::ReadText(dir + "歌2.mp3"), "the look-alike");
    EXPECT_EQ(rt::FileExists(dir + "ge 2.mp3"), 0);
    rt::DestroyBuiltWindow(window);
    testfs::RemoveTree(dir);
}

}  // namespace
