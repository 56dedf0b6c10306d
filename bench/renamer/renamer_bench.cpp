// Benchmarks of the renamer: PinyinOfText throughput on GBK names, and
// renaming 10,000 files in one folder through the conversion against a plain
// loop of MoveFileA over the same old and new names (the floor), measured
// side by side in one run.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/renamer.h"
#include "runtime/runtime.h"

namespace {

double Seconds() {
    static LARGE_INTEGER freq = [] { LARGE_INTEGER f; QueryPerformanceFrequency(&f); return f; }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(freq.QuadPart);
}

// A name like "歌曲绿中00042.mp3": ideographs from GB2312 level 1 and a
// number that keeps every pinyin name unique.
std::string MakeName(int index) {
    std::string name;
    const int ideographs = rt::Random(2, 8);
    for (int i = 0; i < ideographs; ++i) {
        name += static_cast<char>(rt::Random(0xB0, 0xD7));
        name += static_cast<char>(rt::Random(0xA1, 0xF9));
    }
    char tail[32];
    std::snprintf(tail, sizeof tail, "%05d.mp3", index);
    return name + tail;
}

std::string MakeFolder(const std::string& tag) {
    char tmp[MAX_PATH];
    GetTempPathA(MAX_PATH, tmp);
    const std::string dir = std::string(tmp) + "renamer_bench_" + tag + "_" +
                            std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryA(dir.c_str(), nullptr);
    return dir;
}

void CreateFiles(const std::string& dir, const std::vector<std::string>& names) {
    for (const std::string& n : names) {
        HANDLE f = CreateFileA((dir + n).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        CloseHandle(f);
    }
}

void RemoveFolder(const std::string& dir) {
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((dir + "*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do DeleteFileA((dir + fd.cFileName).c_str());
        while (FindNextFileA(h, &fd));
        FindClose(h);
    }
    RemoveDirectoryA(dir.c_str());
}

// How many of the new names are on disk: the timing counts only if every
// rename of the round really happened.
int CountPresent(const std::string& dir, const std::vector<std::string>& newNames) {
    int present = 0;
    for (const std::string& n : newNames)
        if (GetFileAttributesA((dir + n).c_str()) != INVALID_FILE_ATTRIBUTES) ++present;
    return present;
}

void PinyinThroughput() {
    rt::Seed(1);
    std::vector<std::string> names;
    long long chars = 0;
    for (int i = 0; i < 20000; ++i) {
        names.push_back(MakeName(i));
        chars += rt::CharCount(names.back());
    }
    std::size_t sink = 0;
    const int rounds = 10;
    const double t0 = Seconds();
    for (int r = 0; r < rounds; ++r)
        for (const std::string& n : names) sink += app::PinyinOfText(n).size();
    const double t = Seconds() - t0;
    std::printf("PinyinOfText: %lld characters x %d rounds in %.3f s = %.2f million characters/s (%zu bytes out)\n",
                chars, rounds, t, chars * rounds / t / 1e6, sink);
}

// One round: the same 10,000 names in two fresh folders, renamed once by
// the conversion and once by the plain loop, in the given order.
bool RenameRound(int round, bool floorFirst, double& oursTotal, double& floorTotal) {
    const int count = 10000;
    rt::Seed(100 + round);
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i) names.push_back(MakeName(i));
    const std::string oursDir = MakeFolder("ours" + std::to_string(round));
    const std::string floorDir = MakeFolder("floor" + std::to_string(round));
    CreateFiles(oursDir, names);
    CreateFiles(floorDir, names);

    rt::CountedArray<rt::AnsiText> paths;
    std::vector<std::string> floorOld, floorNew, newNames;
    for (const std::string& n : names) {
        paths.Append(oursDir + n);
        newNames.push_back(app::PinyinOfText(n));
        floorOld.push_back(floorDir + n);
        floorNew.push_back(floorDir + newNames.back());
    }

    double ours = 0, floor = 0;
    std::size_t failures = 0, floorFailures = 0;
    auto runOurs = [&] {
        const double t0 = Seconds();
        failures = app::RenameToPinyin(paths).size();
        ours = Seconds() - t0;
    };
    auto runFloor = [&] {
        const double t0 = Seconds();
        for (int i = 0; i < count; ++i)
            if (!MoveFileA(floorOld[i].c_str(), floorNew[i].c_str())) ++floorFailures;
        floor = Seconds() - t0;
    };
    if (floorFirst) { runFloor(); runOurs(); } else { runOurs(); runFloor(); }
    std::printf("round %d (%s first): conversion %.3f s, MoveFileA loop %.3f s, ratio %.3f (failures %zu / %zu)\n",
                round, floorFirst ? "loop" : "conversion", ours, floor, ours / floor, failures, floorFailures);
    const int oursDone = CountPresent(oursDir, newNames);
    const int floorDone = CountPresent(floorDir, newNames);
    std::printf("  renamed on disk: conversion %d of %d, MoveFileA loop %d of %d\n", oursDone, count,
                floorDone, count);
    oursTotal += ours;
    floorTotal += floor;
    RemoveFolder(oursDir);
    RemoveFolder(floorDir);
    return oursDone == count && floorDone == count && failures == 0 && floorFailures == 0;
}

}  // namespace

int main() {
    std::printf("code page %u\n", GetACP());
    PinyinThroughput();
    double ours = 0, floor = 0;
    bool allDone = true;
    for (int round = 1; round <= 4; ++round) allDone = RenameRound(round, round % 2 == 1, ours, floor) && allDone;
    std::printf("10,000 renames, 4 rounds: conversion %.3f s, MoveFileA loop %.3f s, ratio %.3f\n", ours, floor,
                ours / floor);
    if (!allDone) std::printf("NOT every rename happened: the times above do not compare like with like\n");
    return allDone ? 0 : 1;
}
