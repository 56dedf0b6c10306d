// The open-file dialog's request and the reading of its result.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "app/open_dialog.h"

namespace {

TEST(OpenDialog, RequestIsThe76ByteStructureWithItsBuffers) {
    app::OpenDialogRequest r;
    app::PrepareOpenDialog(r, nullptr, "打开文件", "mp3文件|*.MP3|所有文件|*.*", "d:\\");
    EXPECT_EQ(r.ofn.lStructSize, 76u);
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
        {std::string("D:\\音乐\0a.mp3\0歌.mp3\0", 20), "D:\\音乐\\a.mp3;D:\\音乐\\歌.mp3"},
        {std::string("D:\\\0a.mp3\0b.mp3\0", 16), "D:\\a.mp3;D:\\b.mp3"},  // drive root: one "\"
        {std::string("D:\\淺\0東.mp3\0", 12), "D:\\淺\\東.mp3"},      // folder ends in 0x5C trail
        {"", ""},
    };
    for (const Case& c : cases) {
        const std::string b = Buffer(c.buffer);
        EXPECT_EQ(app::ParseOpenFileResult(b.data(), b.size()), c.paths) << c.paths;
    }
}

TEST(OpenDialog, ResultReadsNothingPastItsBuffer) {
    const std::string full(16, 'x');  // no NUL at all
    EXPECT_EQ(app::ParseOpenFileResult(full.data(), 10), std::string(10, 'x'));
    const std::string cut("D:\\m\0a\0bb", 9);  // the last name runs to the end
    EXPECT_EQ(app::ParseOpenFileResult(cut.data(), cut.size()), "D:\\m\\a;D:\\m\\bb");
}

}  // namespace
