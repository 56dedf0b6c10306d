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

// Windows counts both limits in UTF-16 units, the path's with its closing
// NUL: a GBK-heavy path of far more than MAX_PATH bytes is still in reach.
constexpr int kLongestName = 255;
constexpr int kLongestPath = MAX_PATH - 1;

// The reason a rename is not even tried, or none: a name that cannot be
// made, a path the ANSI calls cannot open afterwards (under Wine a rename
// to it may still succeed), or a device, which the rename would "find"
// taken.
bool RefusedTarget(const rt::AnsiText& target, RenameProblem* problem) {
    const rt::AnsiText name = SplitPath(target).name;
    if (rt::Utf16Length(name) > kLongestName) *problem = RenameProblem::NameTooLong;
    else if (rt::Utf16Length(target) > kLongestPath) *problem = RenameProblem::PathTooLong;
    else if (IsDeviceName(name)) *problem = RenameProblem::DeviceName;
    else return false;
    return true;
}

}  // namespace

// A character that the code page has no code for reaches us as "?" from
// the dialog and the drop. No Windows file name holds "?" (and no GBK trail
// byte is 0x3F), so the path names no file: looked up, it would be called
// missing, and a second such path would look like the same file.
bool HoldsLostCharacter(const rt::AnsiText& path) { return rt::FindLastByte(path, '?') != rt::AnsiText::npos; }

namespace {

// The rename's own error code is not always the truth (Wine has said "file
// not found" of a file that is there): the disk says what happened.
RenameProblem ProblemAfterFailedRename(const rt::AnsiText& path, const rt::AnsiText& target, DWORD error) {
    if (!rt::FileExists(path)) return RenameProblem::Missing;
    if (rt::FileExists(target)) return RenameProblem::TargetTaken;
    if (error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION) return RenameProblem::Locked;
    return RenameProblem::Other;
}

}  // namespace

bool IsDeviceName(const rt::AnsiText& name) {
    // "." never is a GBK trail byte (they are 0x40 and above).
    rt::AnsiText stem = name.substr(0, name.find('.'));
    while (!stem.empty() && stem.back() == ' ') stem.pop_back();
    if (stem.size() != 3 && stem.size() != 4) return false;
    for (char& c : stem)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (stem == "CON" || stem == "PRN" || stem == "AUX" || stem == "NUL") return true;
    const rt::AnsiText port = stem.substr(0, 3);
    return stem.size() == 4 && (port == "COM" || port == "LPT") && stem[3] >= '1' && stem[3] <= '9';
}

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
        // Before the duplicate check: two names that differ only in their
        // lost characters give the same text.
        if (HoldsLostCharacter(path)) {
            failures.push_back({path, RenameProblem::UnknownChar, rt::AnsiText()});
            continue;
        }
        // A file listed twice was renamed (or reported) the first time.
        if (!handled.insert(rt::FileNameKey(path)).second) continue;
        if (!IsFullPath(path)) {
            failures.push_back({path, RenameProblem::NotFullPath, rt::AnsiText()});
            continue;
        }
        const rt::AnsiText target = PinyinPath(path);
        if (target == path) continue;
        RenameProblem refused;
        if (RefusedTarget(target, &refused)) {  // not tried: the file stays where it can be opened
            const bool there = rt::FileExists(path) != 0;
            failures.push_back({path, there ? refused : RenameProblem::Missing, target});
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
    case RenameProblem::UnknownChar: return "文件名里有本程序不能处理的字符";
    case RenameProblem::NameTooLong: return "新名字太长";
    case RenameProblem::PathTooLong: return "新路径太长";
    case RenameProblem::DeviceName: return "新名字“" + SplitPath(failure.target).name + "”是系统保留的设备名";
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
