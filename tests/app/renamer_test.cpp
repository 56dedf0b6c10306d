// Pinyin of names, splitting paths, the renaming loop over real files and
// the failure report.
#include <gtest/gtest.h>

#include "app/renamer.h"
#include "tests/app/temp_folder.h"

namespace {

// 淺 ends in 0x5C ("\"): a byte-wise search would take it for a separator.
const std::string kQian = "淺";

std::wstring Wide(const std::string& ansi) {
    std::wstring w(ansi.size(), L'\0');
    w.resize(MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), &w[0], static_cast<int>(w.size())));
    return w;
}

TEST(PinyinOfText, NamesOfEveryKind) {
    struct Case { std::string name, pinyin; };
    const Case cases[] = {
        {"歌曲.mp3", "ge qu .mp3"},
        {"readme.txt", "readme.txt"},
        {"", ""},
        {"第1首 绿色，（女声）.mp3", "di 1shou  lv se ，（nv sheng ）.mp3"},
        {"abc歌", "abcge "},           // ends in an ideograph: ends in a blank
        {"ab\xB8", "ab\xB8"},          // a lone lead byte at the end stays as it is
        {kQian + ".mp3", "qian .mp3"},
    };
    for (const Case& c : cases) EXPECT_EQ(app::PinyinOfText(c.name), c.pinyin) << c.name;
}

TEST(SplitPath, LastSeparatorIsFoundCharacterWise) {
    struct Case { std::string path, folder, name; };
    const Case cases[] = {
        {"D:\\音乐\\歌.mp3", "D:\\音乐\\", "歌.mp3"},
        {"D:\\" + kQian, "D:\\", kQian},  // the 0x5C inside 淺 is no separator
        {"D:\\" + kQian + "\\a.mp3", "D:\\" + kQian + "\\", "a.mp3"},
        {"D:\\a.mp3\\a.mp3", "D:\\a.mp3\\", "a.mp3"},
        {"a.mp3", "", "a.mp3"},
        {"D:\\", "D:\\", ""},
    };
    for (const Case& c : cases) {
        const app::PathParts p = app::SplitPath(c.path);
        EXPECT_EQ(p.folder, c.folder) << c.path;
        EXPECT_EQ(p.name, c.name) << c.path;
    }
    EXPECT_EQ(app::PinyinPath("D:\\" + kQian + "\\" + kQian), "D:\\" + kQian + "\\qian ");
}

std::string Repeat(const std::string& s, int n) {
    std::string r;
    for (int i = 0; i < n; ++i) r += s;
    return r;
}

class RenameFolder : public ::testing::Test {
protected:
    void SetUp() override { dir_ = testfs::MakeTempFolder("renamer"); }
    void TearDown() override { testfs::RemoveTree(dir_); }
    std::string Sub(const std::string& name) {
        const std::string d = dir_ + name + "\\";
        CreateDirectoryA(d.c_str(), nullptr);
        return d;
    }
    std::string dir_;
};

TEST_F(RenameFolder, FilesGetPinyinNamesInTheirOwnFolders) {
    const std::string music = Sub("音乐"), q = Sub(kQian), odd = Sub("a.mp3");
    testfs::WriteText(music + "歌.mp3", "song");
    testfs::WriteText(q + "绿.txt", "green");
    testfs::WriteText(odd + "a.mp3", "ascii");
    testfs::WriteText(odd + "中.mp3", "middle");
    rt::CountedArray<rt::AnsiText> files;
    for (const std::string& p : {music + "歌.mp3", q + "绿.txt", odd + "a.mp3", odd + "中.mp3"}) files.Append(p);

    EXPECT_TRUE(app::RenameToPinyin(files).empty());  // a.mp3 needs no rename and is no failure
    EXPECT_EQ(testfs::ReadText(music + "ge .mp3"), "song");
    EXPECT_EQ(testfs::ReadText(q + "lv .txt"), "green");
    EXPECT_EQ(testfs::ReadText(odd + "a.mp3"), "ascii");
    EXPECT_EQ(testfs::ReadText(odd + "zhong .mp3"), "middle");
    EXPECT_EQ(rt::FileExists(music + "歌.mp3"), 0);
    EXPECT_EQ(rt::FileExists(dir_ + "ge .mp3"), 0);  // nothing lands in a parent folder
}

TEST_F(RenameFolder, CollisionsVanishedAndHeldFilesAreReportedAndNothingIsLost) {
    // 行 and 型 both read "xing": the second rename would overwrite the first.
    testfs::WriteText(dir_ + "行.mp3", "first");
    testfs::WriteText(dir_ + "型.mp3", "second");
    // Held open without sharing, as a player holds the song it plays.
    testfs::WriteText(dir_ + "歌.mp3", "playing");
    HANDLE held = CreateFileW(Wide(dir_ + "歌.mp3").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    rt::CountedArray<rt::AnsiText> files;
    for (const std::string& p : {dir_ + "行.mp3", dir_ + "型.mp3", dir_ + "没有.mp3", dir_ + "歌.mp3"}) files.Append(p);

    const std::vector<app::RenameFailure> failures = app::RenameToPinyin(files);
    CloseHandle(held);
    ASSERT_EQ(failures.size(), 3u);
    EXPECT_EQ(failures[0].path, dir_ + "型.mp3");
    EXPECT_EQ(failures[0].target, dir_ + "xing .mp3");
    EXPECT_EQ(failures[1].path, dir_ + "没有.mp3");
    EXPECT_EQ(testfs::ReadText(dir_ + "xing .mp3"), "first");
    EXPECT_EQ(testfs::ReadText(dir_ + "型.mp3"), "second");
    EXPECT_EQ(testfs::ReadText(dir_ + "歌.mp3"), "playing");
    EXPECT_EQ(rt::FileExists(dir_ + "ge .mp3"), 0);

    const std::string msg = app::FailureMessage(failures);
    // The taken name is shown, its trailing blank inside the quotes.
    EXPECT_EQ(msg, "有 3 个文件没有改名：\r\n" + dir_ + "型.mp3（新名字“xing .mp3”已被别的文件占用）\r\n" + dir_ +
                       "没有.mp3（文件不存在）\r\n" + dir_ + "歌.mp3（文件不能改动）");
}

// A drop can hold a folder and files inside it: each gets its pinyin name,
// wherever it stands on the list, and failures are told in the list's order.
// (The folder names end in a letter: a trailing blank would be dropped.)
TEST_F(RenameFolder, AFolderListedWithWhatItHoldsIsRenamedAfterItsContents) {
    const std::string song = Sub("歌a"), green = Sub("歌a\\绿b"), held = Sub("型c");
    Sub("xing c");  // 型c's new name is taken
    testfs::WriteText(song + "曲.mp3", "tune");
    testfs::WriteText(green + "行.txt", "row");
    rt::CountedArray<rt::AnsiText> files;
    for (const std::string& p : {dir_ + "歌a", dir_ + "歌a\\绿b", held.substr(0, held.size() - 1), held + "没有.mp3",
                                 song + "曲.mp3", green + "行.txt"})
        files.Append(p);

    const std::vector<app::RenameFailure> failures = app::RenameToPinyin(files);
    EXPECT_EQ(testfs::ReadText(dir_ + "ge a\\qu .mp3"), "tune");
    EXPECT_EQ(testfs::ReadText(dir_ + "ge a\\lv b\\xing .txt"), "row");
    EXPECT_EQ(app::FailureMessage(failures), "有 2 个文件没有改名：\r\n" + dir_ + "型c（新名字“xing c”已被别的文件占用）\r\n" +
                                                 held + "没有.mp3（文件不存在）");
}

// After the run every path the report names is where the file is: a failed
// file inside a folder renamed later is told inside the folder's new name
// (through every renamed folder it lies in), a missing one as listed.
TEST_F(RenameFolder, FailuresInsideAFolderRenamedAfterThemAreToldWhereTheFilesAreNow) {
    const std::string song = Sub("歌a"), green = Sub("歌a\\绿b");
    testfs::WriteText(song + "行.mp3", "first");
    testfs::WriteText(song + "型.mp3", "second");  // 行 and 型 both read "xing"
    testfs::WriteText(green + "曲.mp3", "playing");
    HANDLE held = CreateFileW(Wide(green + "曲.mp3").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    rt::CountedArray<rt::AnsiText> files;
    for (const std::string& p : {dir_ + "歌a", song + "行.mp3", song + "型.mp3", song + "没有.mp3", dir_ + "歌a\\绿b",
                                 green + "曲.mp3"})
        files.Append(p);

    const std::vector<app::RenameFailure> failures = app::RenameToPinyin(files);
    CloseHandle(held);
    const std::string now = dir_ + "ge a\\";
    EXPECT_EQ(app::FailureMessage(failures), "有 3 个文件没有改名：\r\n" + now + "型.mp3（新名字“xing .mp3”已被别的文件占用）\r\n" +
                                                 song + "没有.mp3（文件不存在）\r\n" + now + "lv b\\曲.mp3（文件不能改动）");
    EXPECT_EQ(testfs::ReadText(now + "型.mp3"), "second");
    EXPECT_EQ(testfs::ReadText(now + "lv b\\曲.mp3"), "playing");
    EXPECT_EQ(testfs::ReadText(now + "xing .mp3"), "first");
}

// A folder's new name lengthens every path inside it: when one would reach
// MAX_PATH characters, which the ANSI calls cannot open, the folder keeps
// its name. Whatever lies inside counts, listed or not, at any depth, as
// it is when the folder's turn comes (a listed file inside is renamed
// first, and longer).
TEST_F(RenameFolder, AFolderIsNotRenamedWhenAPathInsideItWouldGrowTooLong) {
    struct Case {
        std::string within;  // folders between the renamed folder and the item
        bool folder;         // the item is an (empty) folder, else a file
        bool listed;         // the item is listed too, as "歌" and letters
        int newLength;       // the item's path once everything is renamed
        bool renamed;        // the folder gets its new name
    };
    const Case cases[] = {
        {"", false, false, MAX_PATH - 1, true},
        {"", false, false, MAX_PATH, false},
        {"b\\c\\", false, false, MAX_PATH, false},
        {"b\\", true, false, MAX_PATH, false},
        {"", false, true, MAX_PATH - 1, true},
        {"", false, true, MAX_PATH, false},
    };
    int n = 0;
    for (const Case& c : cases) {
        // 装 reads "zhuang": each grows by six.
        const std::string folder = Sub(std::to_string(++n)) + Repeat("装", 20) + "a";
        const std::string newFolder = app::PinyinPath(folder);
        ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
        std::string at = folder + "\\";
        for (const std::string& part : rt::SplitText(c.within, "\\")) {
            if (part.empty()) continue;
            at += part + "\\";
            ASSERT_TRUE(CreateDirectoryA(at.c_str(), nullptr)) << at;
        }
        const std::string listedPrefix = c.listed ? "歌" : "", finalPrefix = c.listed ? "ge " : "";
        const int room = c.newLength - rt::Utf16Length(newFolder + "\\" + c.within + finalPrefix);
        ASSERT_GT(room, 0);
        const std::string item = at + listedPrefix + std::string(room, 'a');
        if (c.folder) ASSERT_TRUE(CreateDirectoryA(item.c_str(), nullptr)) << item;
        else testfs::WriteText(item, "inside");
        rt::CountedArray<rt::AnsiText> files;
        files.Append(folder);
        if (c.listed) files.Append(item);

        const std::vector<app::RenameFailure> failures = app::RenameToPinyin(files);
        const std::string finalItem =
            (c.renamed ? newFolder : folder) + "\\" + c.within + finalPrefix + std::string(room, 'a');
        SCOPED_TRACE(finalItem);
        if (c.renamed) EXPECT_TRUE(failures.empty());
        else EXPECT_EQ(app::FailureMessage(failures), "有 1 个文件没有改名：\r\n" + folder + "（新路径太长）");
        // Reached through an ANSI call wherever it now is.
        if (c.folder) EXPECT_NE(GetFileAttributesA(finalItem.c_str()), INVALID_FILE_ATTRIBUTES);
        else EXPECT_EQ(testfs::ReadText(finalItem), "inside");
    }
}

// Denied access and sharing violations are hard to bring about under every
// system alike, so the rule is checked with the error given.
TEST_F(RenameFolder, AFailedRenameIsToldByWhatTheDiskShowsThenByItsError) {
    testfs::WriteText(dir_ + "歌.mp3", "song");
    testfs::WriteText(dir_ + "ge .mp3", "taken");
    const std::string there = dir_ + "歌.mp3", gone = dir_ + "没有.mp3", free = dir_ + "ge 2.mp3";
    struct Case { std::string path, target; DWORD error; std::string reason; };
    const Case cases[] = {
        {there, free, ERROR_ACCESS_DENIED, "文件不能改动"},
        {there, free, ERROR_SHARING_VIOLATION, "文件不能改动"},
        {there, free, ERROR_INVALID_PARAMETER, "无法改名"},
        {there, free, ERROR_FILE_NOT_FOUND, "无法改名"},  // the file is there whatever the error says
        {there, dir_ + "ge .mp3", ERROR_ACCESS_DENIED, "新名字“ge .mp3”已被别的文件占用"},
        {gone, free, ERROR_ACCESS_DENIED, "文件不存在"},
    };
    for (const Case& c : cases) {
        const app::RenameProblem problem = app::ProblemAfterFailedRename(c.path, c.target, c.error);
        EXPECT_EQ(app::FailureMessage({{c.path, problem, c.target}}), "有 1 个文件没有改名：\r\n" + c.path + "（" + c.reason + "）")
            << c.error;
    }
}

TEST(IsFullPath, OnlyADriveOrAServerRootNamesTheSameFileFromAnyFolder) {
    struct Case { std::string path; bool full; };
    const Case cases[] = {
        {"C:\\m\\歌.mp3", true}, {"d:\\", true}, {"\\\\server\\share\\歌.mp3", true},
        {"歌.mp3", false}, {"m\\歌.mp3", false}, {"C:歌.mp3", false},  // drive-relative
        {"\\m\\歌.mp3", false},                                      // the current drive's root
        {"", false},
    };
    for (const Case& c : cases) EXPECT_EQ(app::IsFullPath(c.path), c.full) << c.path;
}

// The current folder for one test: the dialog leaves the folder it showed
// current, so a bare name would name a file there.
class CurrentFolder {
public:
    explicit CurrentFolder(const std::string& dir) {
        GetCurrentDirectoryA(MAX_PATH, saved_);
        SetCurrentDirectoryA(dir.c_str());
    }
    ~CurrentFolder() { SetCurrentDirectoryA(saved_); }

private:
    char saved_[MAX_PATH] = {};
};

TEST_F(RenameFolder, APathThatIsNotFullIsRefusedAndNothingInTheCurrentFolderIsRenamed) {
    testfs::WriteText(dir_ + "歌.mp3", "not chosen");
    testfs::WriteText(Sub("m") + "绿.mp3", "not chosen either");
    CurrentFolder here(dir_);
    rt::CountedArray<rt::AnsiText> files;
    for (const std::string& p : {std::string("歌.mp3"), std::string("m\\绿.mp3"), dir_.substr(0, 2) + "歌.mp3"})
        files.Append(p);

    const std::vector<app::RenameFailure> failures = app::RenameToPinyin(files);
    ASSERT_EQ(failures.size(), 3u);
    for (const app::RenameFailure& f : failures) EXPECT_EQ(f.problem, app::RenameProblem::NotFullPath) << f.path;
    EXPECT_EQ(testfs::ReadText(dir_ + "歌.mp3"), "not chosen");
    EXPECT_EQ(testfs::ReadText(dir_ + "m\\绿.mp3"), "not chosen either");
    EXPECT_EQ(app::FailureMessage({failures[0]}), "有 1 个文件没有改名：\r\n歌.mp3（不是完整的路径）");
}

TEST_F(RenameFolder, AFileListedTwiceIsRenamedOnceAndIsNoFailure) {
    testfs::WriteText(dir_ + "歌.mp3", "song");
    testfs::WriteText(dir_ + "ab绿.mp3", "green");
    std::string upper = dir_;
    CharUpperBuffA(&upper[0], static_cast<DWORD>(upper.size()));  // the folder is ASCII
    rt::CountedArray<rt::AnsiText> files;
    // The same file again, and once more in other letter case.
    for (const std::string& p : {dir_ + "歌.mp3", dir_ + "ab绿.mp3", dir_ + "歌.mp3", upper + "AB绿.MP3"})
        files.Append(p);

    EXPECT_TRUE(app::RenameToPinyin(files).empty());
    EXPECT_EQ(testfs::ReadText(dir_ + "ge .mp3"), "song");
    EXPECT_EQ(testfs::ReadText(dir_ + "ablv .mp3"), "green");
}

// Windows folds letter case beyond ASCII: full-width Latin and Greek letters
// in other case name the same file, listed again.
TEST_F(RenameFolder, ALetterCaseBeyondAsciiStillNamesTheSameFile) {
    testfs::WriteText(dir_ + "ａｂ歌.mp3", "wide");
    testfs::WriteText(dir_ + "αβ歌.mp3", "greek");
    rt::CountedArray<rt::AnsiText> files;
    for (const std::string& p :
         {dir_ + "ａｂ歌.mp3", dir_ + "ＡＢ歌.mp3", dir_ + "αβ歌.mp3", dir_ + "ΑΒ歌.mp3"})
        files.Append(p);

    const std::vector<app::RenameFailure> failures = app::RenameToPinyin(files);
    EXPECT_TRUE(failures.empty()) << failures.size() << " failures, the first for "
                                  << (failures.empty() ? "" : failures[0].path);
    EXPECT_EQ(GetFileAttributesA((dir_ + "ａｂ歌.mp3").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetFileAttributesA((dir_ + "αβ歌.mp3").c_str()), INVALID_FILE_ATTRIBUTES);
}

// Wine folds letter case wherever it looks a name up, so Windows calls
// never make Ab歌.mp3 beside aB歌.mp3. Its "\\?\unix" form names the Linux
// file as it is, and so can: the file is written there, in the folder.
bool WriteTextAsLinuxNames(const std::string& folder, const std::string& name, const std::string& text) {
    using UnixName = char*(CDECL*)(const wchar_t*);
    const auto unixName = reinterpret_cast<UnixName>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (!unixName) return false;
    char* utf8 = unixName(Wide(folder).c_str());
    if (!utf8) return false;
    std::wstring unix(static_cast<std::size_t>(MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0)), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8, -1, &unix[0], static_cast<int>(unix.size()));
    HeapFree(GetProcessHeap(), 0, utf8);
    unix.resize(unix.size() - 1);
    for (wchar_t& c : unix)
        if (c == L'/') c = L'\\';
    if (unix.back() != L'\\') unix += L'\\';
    return testfs::WriteTextW(L"\\\\?\\unix" + unix + Wide(name), text);
}

// On a file system that tells letter case apart, Ab歌.mp3 and aB歌.mp3 are
// two files: the second is not the first listed again, and is renamed or
// its failure told. (Wine then finds "aBge .mp3" taken by "Abge .mp3", its
// lookups folding case.)
TEST_F(RenameFolder, NamesDifferingOnlyInLetterCaseAreTwoFilesWhenTheDiskHoldsTwo) {
    testfs::WriteText(dir_ + "Ab歌.mp3", "first");
    ASSERT_TRUE(WriteTextAsLinuxNames(dir_, "aB歌.mp3", "second"));
    ASSERT_EQ(testfs::ReadText(dir_ + "Ab歌.mp3"), "first");
    ASSERT_EQ(testfs::ReadText(dir_ + "aB歌.mp3"), "second");
    rt::CountedArray<rt::AnsiText> files;
    for (const std::string& p : {dir_ + "Ab歌.mp3", dir_ + "aB歌.mp3"}) files.Append(p);

    const std::vector<app::RenameFailure> failures = app::RenameToPinyin(files);
    EXPECT_EQ(testfs::ReadText(dir_ + "Abge .mp3"), "first");
    EXPECT_EQ(app::FailureMessage(failures),
              "有 1 个文件没有改名：\r\n" + dir_ + "aB歌.mp3（新名字“aBge .mp3”已被别的文件占用）");
    EXPECT_EQ(testfs::ReadText(dir_ + "aB歌.mp3"), "second");
}

// New names at the limits, which Windows counts in UTF-16 characters: a
// path the ANSI calls could not open afterwards is not tried, nor is a name
// over 255 characters; the file stays where it was.
TEST_F(RenameFolder, ANewNameOrPathTooLongIsSaidSoAndTheFileStaysWhereItWas) {
    // Three folders of 40 Chinese characters: every path below is far over
    // MAX_PATH bytes.
    std::string deep = dir_;
    for (const char* ch : {"文", "字", "夹"}) {
        deep += Repeat(ch, 40) + "\\";
        ASSERT_TRUE(CreateDirectoryA(deep.c_str(), nullptr)) << deep;
    }
    // 歌 + k letters becomes "ge " + k letters: a new path of deep + 3 + k characters.
    const int deepChars = rt::Utf16Length(deep);
    const auto toPathOf = [&](int chars) { return deep + "歌" + std::string(chars - deepChars - 3, 'a'); };
    // 装 reads "zhuang": 36 of them and 4 letters make a new name of 256
    // characters, under MAX_PATH characters only in a drive root.
    const std::string root = dir_.substr(0, 3);
    struct Case { std::string path; bool there; std::string reason; };  // reason "": renamed
    const Case cases[] = {
        {deep + "歌.mp3", true, ""},
        {toPathOf(MAX_PATH - 1), true, ""},
        {toPathOf(MAX_PATH), true, "新路径太长"},
        {toPathOf(MAX_PATH + 1), false, "文件不存在"},  // looked for, though not tried
        // The file's own path is past what the ANSI calls reach: it is there all the same.
        {toPathOf(MAX_PATH + 3), true, "新路径太长"},
        {toPathOf(MAX_PATH + 40), true, "新路径太长"},
        {root + Repeat("装", 36) + "abc", true, ""},
        {root + Repeat("装", 36) + "abcd", true, "新名字太长"},
    };
    for (const Case& c : cases) {
        // Made, read and removed in the long form, which reaches any length.
        const std::wstring longForm = L"\\\\?\\" + Wide(c.path);
        if (c.there) {
            ASSERT_TRUE(testfs::WriteTextW(longForm, "kept")) << rt::Utf16Length(c.path);
        }
        rt::CountedArray<rt::AnsiText> files;
        files.Append(c.path);
        const std::vector<app::RenameFailure> failures = app::RenameToPinyin(files);
        const std::string target = app::PinyinPath(c.path);
        const int chars = rt::Utf16Length(target);
        if (c.reason.empty()) {
            EXPECT_TRUE(failures.empty()) << chars;
            EXPECT_EQ(testfs::ReadText(target), "kept") << chars;  // an ANSI call reads it back
            DeleteFileA(target.c_str());
            continue;
        }
        EXPECT_EQ(app::FailureMessage(failures), "有 1 个文件没有改名：\r\n" + c.path + "（" + c.reason + "）");
        EXPECT_EQ(rt::FileExists(target), 0) << chars;
        if (c.there) {
            EXPECT_EQ(testfs::ReadTextW(longForm), "kept") << chars;
        }
        DeleteFileW(longForm.c_str());
    }
}

TEST(IsDeviceName, TheStemBeforeTheFirstDotWhateverTheCaseAndTrailingBlanks) {
    struct Case { std::string name; bool device; };
    const Case cases[] = {
        {"con .mp3", true}, {"prn .txt", true}, {"AUX", true}, {"Nul.tar.gz", true}, {"con..", true},
        {"com1.mp3", true}, {"COM9", true}, {"lpt1 ", true}, {"LpT9 . x", true},
        {"com0.mp3", false}, {"com10.mp3", false}, {"lpt.mp3", false}, {"conin.txt", false},
        {"ge con.mp3", false}, {"con歌.mp3", false}, {"歌.con", false}, {" con.mp3", false}, {"", false},
    };
    for (const Case& c : cases) EXPECT_EQ(app::IsDeviceName(c.name), c.device) << c.name;
}

TEST_F(RenameFolder, ANewDeviceNameIsNotTriedAndIsSaidSo) {
    testfs::WriteText(dir_ + "co嗯.mp3", "c");  // 嗯 reads "n": "con .mp3"
    testfs::WriteText(dir_ + "Lpt一.txt", "l");  // "Lptyi .txt" is a plain name
    rt::CountedArray<rt::AnsiText> files;
    for (const std::string& p : {dir_ + "co嗯.mp3", dir_ + "Lpt一.txt"}) files.Append(p);

    const std::vector<app::RenameFailure> failures = app::RenameToPinyin(files);
    EXPECT_EQ(app::FailureMessage(failures),
              "有 1 个文件没有改名：\r\n" + dir_ + "co嗯.mp3（新名字“con .mp3”是系统保留的设备名）");
    EXPECT_EQ(testfs::ReadText(dir_ + "co嗯.mp3"), "c");
    EXPECT_EQ(testfs::ReadText(dir_ + "Lptyi .txt"), "l");
}

// A name with a character that GBK lacks reaches the tool with "?" in its
// place, as the dialog and the drop convert it: no file has that name.
TEST_F(RenameFolder, ANameWithACharacterOutsideGbkIsSaidSoAndLeftAlone) {
    const std::wstring ga = Wide(dir_) + L"\x6B4C\xAC00.mp3", na = Wide(dir_) + L"\x6B4C\xB098.mp3";  // 歌가, 歌나
    for (const std::wstring& w : {ga, na}) {
        HANDLE f = CreateFileW(w.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        ASSERT_NE(f, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        WriteFile(f, "k", 1, &written, nullptr);
        CloseHandle(f);
    }
    testfs::WriteText(dir_ + "绿.mp3", "green");
    char ansi[MAX_PATH] = {};
    WideCharToMultiByte(CP_ACP, 0, ga.c_str(), -1, ansi, sizeof ansi, nullptr, nullptr);
    const std::string lost = ansi;
    ASSERT_EQ(lost, dir_ + "歌?.mp3");
    // Both files give the same text; neither is a repeat of the other.
    rt::CountedArray<rt::AnsiText> files;
    for (const std::string& p : {lost, dir_ + "绿.mp3", lost}) files.Append(p);

    const std::vector<app::RenameFailure> failures = app::RenameToPinyin(files);
    const std::string line = "\r\n" + lost + "（文件名里有本程序不能处理的字符）";
    EXPECT_EQ(app::FailureMessage(failures), "有 2 个文件没有改名：" + line + line);
    for (const std::wstring& w : {ga, na}) EXPECT_NE(GetFileAttributesW(w.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(testfs::ReadText(dir_ + "lv .mp3"), "green");
    EXPECT_EQ(rt::FileExists(dir_ + "ge ?.mp3"), 0);
}

TEST(FailureMessage, ListsTheFirstTenThenHowManyMore) {
    std::vector<app::RenameFailure> failures;
    for (int i = 1; i <= 13; ++i) failures.push_back({"C:\\f" + std::to_string(i), app::RenameProblem::Missing});
    const std::string msg = app::FailureMessage(failures);
    EXPECT_EQ(msg.rfind("有 13 个文件没有改名：", 0), 0u);
    EXPECT_NE(msg.find("C:\\f10（"), std::string::npos);
    EXPECT_EQ(msg.find("C:\\f11"), std::string::npos);
    EXPECT_NE(msg.find("\r\n还有 3 个文件没有列出"), std::string::npos);
    failures.resize(10);
    EXPECT_EQ(app::FailureMessage(failures).find("还有"), std::string::npos);
}

}  // namespace
