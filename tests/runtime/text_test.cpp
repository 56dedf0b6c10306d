// Characters, byte-wise searching and splitting of GBK texts, and the pinyin
// table generated from Unihan.
#include <gtest/gtest.h>

#include "runtime/runtime.h"

namespace {

// 淺 ends in the byte 0x5C ("\"), 東 in 0x7C ("|"): GBK trail bytes that a
// byte-wise search must not take for separators.
const char kTrail5C[] = "淺";
const char kTrail7C[] = "東";

TEST(Text, TrailBytesUsedByTheseTestsAreSeparatorBytes) {
    ASSERT_EQ(sizeof kTrail5C, 3u);
    EXPECT_EQ(static_cast<unsigned char>(kTrail5C[1]), 0x5C);
    EXPECT_EQ(static_cast<unsigned char>(kTrail7C[1]), 0x7C);
}

TEST(Text, CharCountAndCharAtTakeDoubleByteCharactersWhole) {
    struct Case { rt::AnsiText text; int count; int at; rt::AnsiText ch; };
    const Case cases[] = {
        {"", 0, 1, ""},
        {"abc", 3, 2, "b"},
        {"歌.mp3", 5, 1, "歌"},
        {"a歌b", 3, 3, "b"},
        {std::string("x") + kTrail5C + "y", 3, 2, kTrail5C},
        {"a\xB8", 2, 2, "\xB8"},  // a lone lead byte at the end is one character
        {"abc", 3, 4, ""},
        {"abc", 3, 0, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(rt::CharCount(c.text), c.count) << c.text;
        EXPECT_EQ(rt::CharAt(c.text, c.at), c.ch) << c.text << " @" << c.at;
    }
}

TEST(Text, FindLastByteSkipsTrailBytes) {
    const rt::AnsiText folder = std::string("D:\\") + kTrail5C;  // D:\淺  (no "\" after the folder)
    EXPECT_EQ(rt::FindLastByte(folder, '\\'), 2u);
    const rt::AnsiText path = folder + "\\" + kTrail5C + ".mp3";
    EXPECT_EQ(rt::FindLastByte(path, '\\'), 5u);
    EXPECT_EQ(rt::FindLastByte("abc", '\\'), rt::AnsiText::npos);
    EXPECT_EQ(rt::FindLastByte(kTrail5C, '\\'), rt::AnsiText::npos);
}

TEST(Text, SplitTextNeverSplitsInsideACharacter) {
    using V = std::vector<rt::AnsiText>;
    EXPECT_EQ(rt::SplitText("", "\r\n"), V{});
    EXPECT_EQ(rt::SplitText("a", "\r\n"), V{"a"});
    EXPECT_EQ(rt::SplitText("a\r\nb\r\n", "\r\n"), (V{"a", "b", ""}));
    EXPECT_EQ(rt::SplitText("a;;b", ";"), (V{"a", "", "b"}));
    const rt::AnsiText east = kTrail7C;
    EXPECT_EQ(rt::SplitText(east + "|x" + east, "|"), (V{east, "x" + east}));
    EXPECT_EQ(rt::SplitText(std::string("a") + kTrail5C + "\\b", "\\"), (V{std::string("a") + kTrail5C, "b"}));
}

// The one conversion from UTF-16 that the dialog and the drop make: "?" for
// what GBK lacks, never the best fit ("²" as "2", "¦" as "|"), and the NULs
// of a NUL-separated list kept.
TEST(Text, Utf16ToGbkGivesQuestionMarksForWhatGbkLacks) {
    struct Case { std::wstring wide; std::string ansi; };
    const Case cases[] = {
        {L"D:\\\x97F3\x4E50\\\x6B4C.mp3", "D:\\音乐\\歌.mp3"},  // D:\音乐\歌.mp3 as it is
        {L"\x6B4C\x00B2.mp3", "歌?.mp3"},                          // ²
        {L"a\x00A6" L"b", "a?b"},                                 // ¦
        {L"\x6B4C\xAC00", "歌?"},                                  // a Hangul syllable
        {std::wstring(L"D:\\m\0\x00B2\0\x6B4C\0\0", 10), std::string("D:\\m\0?\0歌\0\0", 11)},
        {L"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(rt::AnsiOfUtf16(c.wide.data(), c.wide.size()), c.ansi) << c.ansi;
        if (c.ansi.find('?') == std::string::npos) {
            EXPECT_EQ(rt::Utf16Of(c.ansi), c.wide) << c.ansi;
        }
    }
}

TEST(Pinyin, ReadingsOfCharacters) {
    struct Case { rt::AnsiText ch; rt::AnsiText py; };
    const Case cases[] = {
        {"歌", "ge"},   {"中", "zhong"}, {"绿", "lv"},  {"女", "nv"}, {"略", "lve"},
        {"好", "hao"},  {"行", "xing"},  {"乐", "le"},
        {kTrail5C, "qian"}, {kTrail7C, "dong"},
        {"a", ""},      {"，", ""},      {"（", ""},    {"１", ""},
        {"\xB8", ""},   {"", ""},        {"ab", ""},    {"\x81\x7F", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(rt::PinyinOf(c.ch), c.py) << c.ch;
}

TEST(Pinyin, EveryGb2312IdeographHasAReading) {
    // GB2312's level 1 and 2 ideographs: rows 0xB0..0xF7, cells 0xA1..0xFE,
    // but for the five empty cells at the end of row 0xD7.
    int withReading = 0, total = 0;
    for (int lead = 0xB0; lead <= 0xF7; ++lead)
        for (int trail = 0xA1; trail <= 0xFE; ++trail) {
            if (lead == 0xD7 && trail >= 0xFA) continue;
            ++total;
            const char ch[] = {static_cast<char>(lead), static_cast<char>(trail), 0};
            const rt::AnsiText py = rt::PinyinOf(ch);
            if (!py.empty()) ++withReading;
            for (char c : py) ASSERT_TRUE(c >= 'a' && c <= 'z') << py;
        }
    EXPECT_EQ(total, 6763);
    EXPECT_EQ(withReading, 6763);
}

}  // namespace
