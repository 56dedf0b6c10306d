// Working-set trimming on deactivation, with "windir" pointed at a
// temporary folder.
#include <algorithm>
#include <string>
#include <vector>

#include "fixture.h"
#include "resources/carried.h"
#include "runtime/runtime.h"
#include "skin/working_set.h"

using namespace wndtest;

namespace {

std::string Folder(const std::string& path) { return path.substr(0, path.find_last_of('\\')); }

std::string OwnFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return Folder(path);
}

std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (h == INVALID_HANDLE_VALUE) return names;
    do {
        const std::string name = found.cFileName;
        if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(h, &found));
    FindClose(h);
    return names;
}

std::vector<std::string> Lines(const rt::ByteString& bytes) {
    std::vector<std::string> lines;
    std::string line;
    for (unsigned char c : bytes) {
        if (c == '\n') {
            lines.push_back(line);
            line.clear();
        } else {
            line += static_cast<char>(c);
        }
    }
    return lines;
}

// Sets "windir" for one test and puts the old value back afterwards.
class WindirTest : public SkinWindowTest {
protected:
    void SetUp() override {
        SkinWindowTest::SetUp();
        // Windows of earlier tests that Wine had made active started trims
        // as they were destroyed; one still running would read this test's
        // "windir".
        ASSERT_TRUE(skin::WaitForWorkingSetTrim(30000));
        hadWindir_ = rt::HasEnvironment("windir");
        oldWindir_ = rt::Environment("windir");
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        // A space in the path: the command line must quote it.
        folder_ = std::string(temp) + "skin trim " + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(folder_.c_str(), nullptr);
    }
    void TearDown() override {
        // The windows go first: destroying one that Wine made active
        // deactivates the application, which starts one more trim. It has to
        // end while "windir" still names this test's folder, or it would read
        // the next test's "windir" and put the carried tool there.
        SkinWindowTest::TearDown();
        EXPECT_TRUE(skin::WaitForWorkingSetTrim(10000));
        for (const std::string& name : FilesIn(folder_)) DeleteFileA((folder_ + "\\" + name).c_str());
        RemoveDirectoryA(folder_.c_str());
        SetEnvironmentVariableA("windir", hadWindir_ ? oldWindir_.c_str() : nullptr);
    }
    void Deactivate(HWND w) { Send(w, WM_ACTIVATEAPP, 0, 0); }

    std::string folder_;
    bool hadWindir_ = false;
    std::string oldWindir_;
};

}  // namespace

TEST_F(WindirTest, DeactivationPutsTheToolIntoWindirOnceAndRunsItWithTheProcessId) {
    SetEnvironmentVariableA("windir", folder_.c_str());
    const std::string tool = folder_ + "\\empty.exe";
    HWND w = Skinned();

    // Activation trims nothing.
    Send(w, WM_ACTIVATEAPP, 1, 0);
    EXPECT_EQ(skin::WorkingSetTrimsRunning(), 0);
    EXPECT_TRUE(FilesIn(folder_).empty());

    // The first deactivation writes the carried tool, whole, and nothing else.
    Deactivate(w);
    ASSERT_TRUE(skin::WaitForWorkingSetTrim(10000));
    EXPECT_EQ(FilesIn(folder_), std::vector<std::string>{"empty.exe"});
    EXPECT_EQ(rt::ReadFileBytes(tool), res::WorkingSetTool());

    // A tool already there is run as it is, not written again: put the
    // recorder in its place (held by the event until it is set). Deactivating
    // again while it runs starts a second thread, which runs it once more.
    ASSERT_TRUE(CopyFileA((OwnFolder() + "\\trim_recorder.exe").c_str(), tool.c_str(), FALSE));
    const rt::ByteString recorder = rt::ReadFileBytes(tool);
    const std::string holdName = "trim_recorder_hold_" + std::to_string(GetCurrentProcessId());
    HANDLE hold = CreateEventA(nullptr, TRUE, FALSE, holdName.c_str());
    ASSERT_NE(hold, nullptr);
    Deactivate(w);
    EXPECT_EQ(skin::WorkingSetTrimsRunning(), 1);
    Deactivate(w);
    EXPECT_EQ(skin::WorkingSetTrimsRunning(), 2);
    SetEvent(hold);
    const bool ended = skin::WaitForWorkingSetTrim(30000);
    CloseHandle(hold);  // only now: a recorder that opens it later must find it set
    ASSERT_TRUE(ended);
    EXPECT_EQ(rt::ReadFileBytes(tool), recorder);
    const std::vector<std::string> runs = Lines(rt::ReadFileBytes(folder_ + "\\trim_log.txt"));
    const std::string command = "\"" + tool + "\" " + std::to_string(GetCurrentProcessId());
    EXPECT_EQ(runs, (std::vector<std::string>{command, command}));
}

namespace {

struct TrimStart {
    HANDLE go;
    const rt::ByteString* tool;
};

DWORD WINAPI TrimWhenTold(void* start) {
    const auto* s = static_cast<const TrimStart*>(start);
    WaitForSingleObject(s->go, INFINITE);
    skin::RunWorkingSetTrimWith(*s->tool);
    return 0;
}

}  // namespace

// Trims that overlap, all finding the tool missing: the tool they leave is
// whole, no thread's temporary file stays, and every thread runs a whole tool.
// The tool is the recorder with 8 MB appended (it still runs), so that its
// writing takes long enough for the threads to meet.
TEST_F(WindirTest, OverlappingTrimsLeaveOneWholeToolAndEachRunsIt) {
    SetEnvironmentVariableA("windir", folder_.c_str());
    rt::ByteString tool = rt::ReadFileBytes(OwnFolder() + "\\trim_recorder.exe");
    ASSERT_FALSE(tool.empty());
    tool.resize(tool.size() + (8u << 20), 0);
    TrimStart start{CreateEventA(nullptr, TRUE, FALSE, nullptr), &tool};
    constexpr int kThreads = 4;
    HANDLE threads[kThreads];
    for (HANDLE& t : threads) t = CreateThread(nullptr, 0, &TrimWhenTold, &start, 0, nullptr);
    SetEvent(start.go);
    EXPECT_EQ(WaitForMultipleObjects(kThreads, threads, TRUE, 60000), WAIT_OBJECT_0);
    for (HANDLE t : threads) CloseHandle(t);
    CloseHandle(start.go);

    std::vector<std::string> files = FilesIn(folder_);
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::string>{"empty.exe", "trim_log.txt"}));
    EXPECT_TRUE(rt::ReadFileBytes(folder_ + "\\empty.exe") == tool);
    const std::string command =
        "\"" + folder_ + "\\empty.exe\" " + std::to_string(GetCurrentProcessId());
    EXPECT_EQ(Lines(rt::ReadFileBytes(folder_ + "\\trim_log.txt")),
              std::vector<std::string>(kThreads, command));
}

// A trim that starts as the program ends still writes the carried tool whole:
// the end waits for the thread, and the bytes it writes are its own.
TEST_F(WindirTest, ATrimStartedJustBeforeTheEndStillWritesTheWholeTool) {
    std::string line = "\"" + OwnFolder() + "\\trim_at_exit.exe\" \"" + folder_ + "\"";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &si, &pi));
    const DWORD waited = WaitForSingleObject(pi.hProcess, 30000);
    DWORD code = 99;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    ASSERT_EQ(waited, WAIT_OBJECT_0);
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(rt::ReadFileBytes(folder_ + "\\empty.exe"), res::WorkingSetTool());
}

TEST_F(WindirTest, WithoutWindirNothingIsWrittenOrRun) {
    char root[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, root);
    const std::string rootTool = std::string(root, 2) + "\\empty.exe";  // "C:\empty.exe"
    ASSERT_FALSE(rt::FileExists(rootTool)) << rootTool;
    SetEnvironmentVariableA("windir", nullptr);
    HWND w = Skinned();
    Deactivate(w);
    ASSERT_TRUE(skin::WaitForWorkingSetTrim(10000));
    EXPECT_FALSE(rt::FileExists(rootTool));
}

TEST(WorkingSetTrimCommand, QuotesThePathAndAddsTheDecimalId) {
    EXPECT_EQ(skin::WorkingSetTrimCommand("C:\\WINDOWS\\empty.exe", 1234),
              "\"C:\\WINDOWS\\empty.exe\" 1234");
}
