#include "app/renamer.h"

#include <set>
#include <string>

namespace app {

rt::AnsiText PinyinOfText(const rt::AnsiText& text) {
    rt::AnsiText result;
    const int count = rt::CharCount(text);
    for (int i = 1; i <= count; ++i) {
        const rt::AnsiText ch = rt::CharAt(text, i);
        const rt::AnsiText py = rt::PinyinOf(ch);
        if (py.empty()) {
            result += ch;
        } else {
            result += py;
            result += ' ';
        }
    }
    return result;
}

PathParts SplitPath(const rt::AnsiText& path) {
    const std::size_t slash = rt::FindLastByte(path, '\\');
    if (slash == rt::AnsiText::npos) return {rt::AnsiText(), path};
    return {path.substr(0, slash + 1), path.substr(slash + 1)};
}

rt::AnsiText PinyinPath(const rt::AnsiText& path) {
    const PathParts parts = SplitPath(path);
    return parts.folder + PinyinOfText(parts.name);
}

namespace {

// A name may hold 255 characters (UTF-16 units; every GBK character is one).
constexpr int kLongestName = 255;

// The ANSI calls, and the char[MAX_PATH] buffers of ANSI programs (this one
// included), reach paths of fewer than MAX_PATH bytes. Under Wine a rename
// to a longer path succeeds and leaves the file out of their reach.
bool OutOfReach(const rt::AnsiText& target) { return target.size() >= MAX_PATH; }

// The rename's own error code is not always the truth (under Wine a name
// over 255 characters fails as "file not found"): the disk says what happened.
RenameProblem ProblemAfterFailedRename(const rt::AnsiText& path, const rt::AnsiText& target, DWORD error) {
    if (!rt::FileExists(path)) return RenameProblem::Missing;
    if (rt::CharCount(SplitPath(target).name) > kLongestName) return RenameProblem::NameTooLong;
    if (rt::FileExists(target)) return RenameProblem::TargetTaken;
    if (error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION) return RenameProblem::Locked;
    return RenameProblem::Other;
}

}  // namespace

bool IsFullPath(const rt::AnsiText& path) {
    const auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    if (path.size() >= 3 && letter(path[0]) && path[1] == ':' && path[2] == '\\') return true;
    return path.size() >= 3 && path[0] == '\\' && path[1] == '\\' && path[2] != '\\';
}

std::vector<RenameFailure> RenameToPinyin(const rt::CountedArray<rt::AnsiText>& paths) {
    std::vector<RenameFailure> failures;
    std::set<std::wstring> handled;
    for (int i = 1; i <= paths.Count(); ++i) {
        const rt::AnsiText& path = paths[i];
        // A file listed twice was renamed (or reported) the first time.
        if (!handled.insert(rt::FileNameKey(path)).second) continue;
        if (!IsFullPath(path)) {
            failures.push_back({path, RenameProblem::NotFullPath, rt::AnsiText()});
            continue;
        }
        const rt::AnsiText target = PinyinPath(path);
        if (target == path) continue;
        if (OutOfReach(target)) {  // not tried: the file stays where it can be opened
            const bool there = rt::FileExists(path) != 0;
            failures.push_back({path, there ? RenameProblem::NameTooLong : RenameProblem::Missing, target});
            continue;
        }
        if (!rt::RenameFile(path, target))
            failures.push_back({path, ProblemAfterFailedRename(path, target, GetLastError()), target});
    }
    return failures;
}

namespace {
rt::AnsiText Reason(const RenameFailure& failure) {
    switch (failure.problem) {
    case RenameProblem::NotFullPath: return "不是完整的路径";
    case RenameProblem::NameTooLong: return "新名字太长";
    case RenameProblem::TargetTaken: return "新名字“" + SplitPath(failure.target).name + "”已被别的文件占用";
    case RenameProblem::Missing: return "文件不存在";
    case RenameProblem::Locked: return "文件不能改动";
    case RenameProblem::Other: break;
    }
    return "无法改名";
}
constexpr std::size_t kListedFailures = 10;
}  // namespace

rt::AnsiText FailureMessage(const std::vector<RenameFailure>& failures) {
    rt::AnsiText text = "有 " + std::to_string(failures.size()) + " 个文件没有改名：";
    for (std::size_t i = 0; i < failures.size() && i < kListedFailures; ++i)
        text += "\r\n" + failures[i].path + "（" + Reason(failures[i]) + "）";
    if (failures.size() > kListedFailures)
        text += "\r\n还有 " + std::to_string(failures.size() - kListedFailures) + " 个文件没有列出";
    return text;
}

}  // namespace app
