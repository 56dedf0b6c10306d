// Files, processes, environment, time and chance, rounding and colours.
#include <gtest/gtest.h>

#include <cmath>

#include "runtime/runtime.h"

namespace {

// A fresh empty folder under %TEMP%, removed with its files afterwards.
class TempFolder : public ::testing::Test {
protected:
    void SetUp() override {
        char tmp[MAX_PATH];
        GetTempPathA(MAX_PATH, tmp);
        dir_ = std::string(tmp) + "rt_system_" + std::to_string(GetCurrentProcessId()) + "\\";
        CreateDirectoryA(dir_.c_str(), nullptr);
    }
    void TearDown() override {
        WIN32_FIND_DATAA fd;
        HANDLE h = FindFirstFileA((dir_ + "*").c_str(), &fd);
        if (h != INVALID_HANDLE_VALUE) {
            do DeleteFileA((dir_ + fd.cFileName).c_str());
            while (FindNextFileA(h, &fd));
            FindClose(h);
        }
        RemoveDirectoryA(dir_.c_str());
    }
    std::string dir_;
};

using Files = TempFolder;

TEST_F(Files, WriteThenReadGivesExactlyTheBytes) {
    const rt::ByteString bytes = {0, 1, 0xFF, '\r', '\n', 0, 'x'};
    ASSERT_TRUE(rt::WriteFileBytes(dir_ + "a.bin", bytes));
    EXPECT_EQ(rt::ReadFileBytes(dir_ + "a.bin"), bytes);
    ASSERT_TRUE(rt::WriteFileBytes(dir_ + "a.bin", {7}));  // truncates
    EXPECT_EQ(rt::ReadFileBytes(dir_ + "a.bin"), rt::ByteString{7});
    ASSERT_TRUE(rt::WriteFileBytes(dir_ + "empty.bin", {}));
    EXPECT_EQ(rt::FileExists(dir_ + "empty.bin"), 1);
    EXPECT_TRUE(rt::ReadFileBytes(dir_ + "empty.bin").empty());
    EXPECT_EQ(rt::FileExists(dir_ + "missing.bin"), 0);
    EXPECT_TRUE(rt::ReadFileBytes(dir_ + "missing.bin").empty());
}

TEST_F(Files, RenameNeverReplacesAnExistingFile) {
    rt::WriteFileBytes(dir_ + "歌.mp3", {1});
    rt::WriteFileBytes(dir_ + "ge .mp3", {2});
    EXPECT_FALSE(rt::RenameFile(dir_ + "歌.mp3", dir_ + "ge .mp3"));
    EXPECT_EQ(rt::ReadFileBytes(dir_ + "歌.mp3"), rt::ByteString{1});
    EXPECT_EQ(rt::ReadFileBytes(dir_ + "ge .mp3"), rt::ByteString{2});

    EXPECT_TRUE(rt::RenameFile(dir_ + "歌.mp3", dir_ + "ge2 .mp3"));
    EXPECT_EQ(rt::FileExists(dir_ + "歌.mp3"), 0);
    EXPECT_EQ(rt::ReadFileBytes(dir_ + "ge2 .mp3"), rt::ByteString{1});
    EXPECT_FALSE(rt::RenameFile(dir_ + "gone.mp3", dir_ + "x.mp3"));
}

TEST_F(Files, RunWaitsHiddenAndReportsAProgramThatCannotStart) {
    const std::string out = dir_ + "ran.txt";
    ASSERT_TRUE(rt::Run("cmd.exe /c echo ran> \"" + out + "\"", true, 1));
    EXPECT_EQ(rt::FileExists(out), 1);  // waited: the file is there on return
    EXPECT_FALSE(rt::Run("no-such-program-here.exe", true));
}

TEST(Environment, ValuesAndUnsetVariables) {
    SetEnvironmentVariableA("RT_TEST_VALUE", "值 value");
    SetEnvironmentVariableA("RT_TEST_EMPTY", "");
    SetEnvironmentVariableA("RT_TEST_UNSET", nullptr);
    EXPECT_EQ(rt::Environment("RT_TEST_VALUE"), "值 value");
    EXPECT_TRUE(rt::HasEnvironment("RT_TEST_VALUE"));
    EXPECT_EQ(rt::Environment("RT_TEST_EMPTY"), "");
    EXPECT_TRUE(rt::HasEnvironment("RT_TEST_EMPTY"));
    EXPECT_EQ(rt::Environment("RT_TEST_UNSET"), "");
    EXPECT_FALSE(rt::HasEnvironment("RT_TEST_UNSET"));
    EXPECT_FALSE(rt::Environment("SystemRoot").empty());
}

TEST(Numbers, RoundTakesHalvesAwayFromZero) {
    EXPECT_EQ(rt::Round(2.5), 3);
    EXPECT_EQ(rt::Round(-2.5), -3);
    EXPECT_EQ(rt::Round(2.4999), 2);
    EXPECT_EQ(rt::Round(187.2), 187);
    EXPECT_EQ(rt::Round(-0.4), 0);
    EXPECT_EQ(rt::Round(1e12), INT_MAX);
}

TEST(Chance, SeededSequencesRepeatAndStayInRange) {
    std::vector<int> first, second;
    rt::Seed(45000);
    for (int i = 0; i < 200; ++i) first.push_back(rt::Random(3, 9));
    rt::Seed(45000);
    for (int i = 0; i < 200; ++i) second.push_back(rt::Random(3, 9));
    EXPECT_EQ(first, second);
    bool seen[7] = {};
    for (int v : first) {
        ASSERT_GE(v, 3);
        ASSERT_LE(v, 9);
        seen[v - 3] = true;
    }
    for (bool s : seen) EXPECT_TRUE(s);  // both ends are reachable
    rt::Seed(45001);
    std::vector<int> other;
    for (int i = 0; i < 200; ++i) other.push_back(rt::Random(3, 9));
    EXPECT_NE(first, other);
    EXPECT_EQ(rt::Random(5, 5), 5);
    // The widest range does not overflow: its draws reach both far ends, not
    // only a wrapped or shortened span.
    bool lowQuarter = false, highQuarter = false;
    for (int i = 0; i < 200; ++i) {
        const int r = rt::Random(INT_MIN, INT_MAX);
        lowQuarter = lowQuarter || r < INT_MIN / 2;
        highQuarter = highQuarter || r > INT_MAX / 2;
    }
    EXPECT_TRUE(lowQuarter);
    EXPECT_TRUE(highQuarter);
}

TEST(Time, NowCountsDaysSince1899WithTheTimeOfDay) {
    SYSTEMTIME before;
    GetLocalTime(&before);
    const double now = rt::Now();
    // 2020-01-01 is day 43831.
    EXPECT_GT(now, 43831.0);
    EXPECT_LT(now, 43831.0 + 365.0 * 50);
    const double minutes = (now - std::floor(now)) * 24 * 60;
    EXPECT_NEAR(minutes, before.wHour * 60 + before.wMinute + before.wSecond / 60.0, 1.0);
}

TEST(Colours, DerivedColourContrasts) {
    EXPECT_EQ(rt::DerivedColour(RGB(255, 255, 255)), RGB(0, 0, 0));
    EXPECT_EQ(rt::DerivedColour(RGB(0, 0, 0)), RGB(255, 255, 255));
    EXPECT_EQ(rt::DerivedColour(0x00DDCA22), RGB(0, 0, 0));     // light teal
    EXPECT_EQ(rt::DerivedColour(RGB(0, 0, 160)), RGB(255, 255, 255));
}

TEST(Screen, SizeIsTheDisplays) {
    EXPECT_GT(rt::ScreenWidth(), 698);
    EXPECT_GT(rt::ScreenHeight(), 501);
}

}  // namespace
