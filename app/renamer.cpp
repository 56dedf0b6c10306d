#include "app/renamer.h"

#include <algorithm>
#include <map>
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

// The rename's own error code is not always the truth (Wine has said "file
// not found" of a file that is there): the disk says what happened.
RenameProblem ProblemAfterFailedRename(const rt::AnsiText& path, const rt::AnsiText& target, DWORD error) {
    if (!rt::FileExists(path)) return RenameProblem::Missing;
    if (rt::FileExists(target)) return RenameProblem::TargetTaken;
    if (error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION) return RenameProblem::Locked;
    return RenameProblem::Other;
}

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

namespace {

// The list in the order it is renamed: a folder dropped together with files
// inside it, once renamed, would take them out of reach, so every folder
// that holds another listed path waits until last, the deepest first; all
// else keeps its place.
std::vector<int> RenameOrder(const rt::CountedArray<rt::AnsiText>& paths) {
    std::set<std::wstring> keys;
    for (int i = 1; i <= paths.Count(); ++i) keys.insert(rt::FileNameKey(paths[i]));
    const auto inside = [&keys](std::wstring key) {
        if (key.empty() || key.back() != L'\\') key += L'\\';
        const auto next = keys.lower_bound(key);
        return next != keys.end() && next->size() > key.size() && next->compare(0, key.size(), key) == 0;
    };
    std::vector<int> order, folders;
    for (int i = 1; i <= paths.Count(); ++i) (inside(rt::FileNameKey(paths[i])) ? folders : order).push_back(i);
    const auto depth = [&paths](int i) { return std::count(paths[i].begin(), paths[i].end(), '\\'); };
    std::stable_sort(folders.begin(), folders.end(), [&depth](int a, int b) { return depth(a) > depth(b); });
    order.insert(order.end(), folders.begin(), folders.end());
    return order;
}

// When the path lies inside the folder `from` (letter case aside), it
// becomes the same path inside `to`. A key is the path's UTF-16 text
// upper-cased unit for unit, so the rest of the path is cut from that text.
void MoveInto(rt::AnsiText* path, const rt::AnsiText& from, const rt::AnsiText& to) {
    const std::wstring folder = rt::FileNameKey(from) + L'\\';
    if (rt::FileNameKey(*path).compare(0, folder.size(), folder) != 0) return;
    const std::wstring rest = rt::Utf16Of(*path).substr(folder.size() - 1);
    *path = to + rt::AnsiOfUtf16(rest.data(), rest.size());
}

// What tells a listed path from the others. Paths whose keys differ are
// other files (but for aliases such as short names); where another listed
// path has the same key, only the disk can say whether the two are one
// file, and it is asked before anything is renamed: a path listed again
// may by then name a file that is gone, renamed the first time. A path
// that names no file it can open (missing, or not a full path, which would
// name a file in whatever folder is current) is known by its text alone.
struct Listing {
    bool lookAlike = false;  // another listed path has the same key
    bool identified = false;
    rt::FileIdentity identity;
};

std::vector<Listing> Listings(const rt::CountedArray<rt::AnsiText>& paths) {
    std::map<std::wstring, int> keys;
    for (const rt::AnsiText& path : paths) ++keys[rt::FileNameKey(path)];
    std::vector<Listing> listings(static_cast<std::size_t>(paths.Count()) + 1);
    for (int i = 1; i <= paths.Count(); ++i) {
        Listing& listing = listings[static_cast<std::size_t>(i)];
        listing.lookAlike = keys[rt::FileNameKey(paths[i])] > 1;
        if (listing.lookAlike && IsFullPath(paths[i]) && !HoldsLostCharacter(paths[i]))
            listing.identified = rt::IdentifyFile(paths[i], &listing.identity);
    }
    return listings;
}

}  // namespace

void FolderMoves::Add(const rt::AnsiText& from, const rt::AnsiText& to) { moves_.push_back({from, to}); }

rt::AnsiText FolderMoves::After(rt::AnsiText path) const {
    for (const auto& move : moves_) MoveInto(&path, move.first, move.second);
    return path;
}

std::vector<RenameFailure> RenameToPinyin(const rt::CountedArray<rt::AnsiText>& paths, FolderMoves* moved) {
    const std::vector<Listing> listings = Listings(paths);
    FolderMoves own;
    FolderMoves& moves = moved ? *moved : own;
    std::vector<std::pair<int, RenameFailure>> found;  // with the place on the list
    std::set<rt::FileIdentity> handledFiles;
    std::set<rt::AnsiText> handledTexts;
    for (const int i : RenameOrder(paths)) {
        const rt::AnsiText& path = paths[i];
        const Listing& listing = listings[i];
        const auto fail = [&found, i, &path](RenameProblem problem, const rt::AnsiText& target) {
            found.push_back({i, {path, problem, target}});
        };
        // Before the duplicate check: two names that differ only in their
        // lost characters give the same text.
        if (HoldsLostCharacter(path)) {
            fail(RenameProblem::UnknownChar, rt::AnsiText());
            continue;
        }
        // A file listed twice was renamed (or reported) the first time.
        if (listing.lookAlike && !(listing.identified ? handledFiles.insert(listing.identity).second
                                                      : handledTexts.insert(path).second))
            continue;
        if (!IsFullPath(path)) {
            fail(RenameProblem::NotFullPath, rt::AnsiText());
            continue;
        }
        const rt::AnsiText target = PinyinPath(path);
        if (target == path) continue;
        RenameProblem refused;
        if (RefusedTarget(target, &refused)) {  // not tried: the file stays where it can be opened
            const bool there = rt::FileExists(path) != 0;
            fail(there ? refused : RenameProblem::Missing, target);
            continue;
        }
        // A folder's new name lengthens every path inside it, its files'
        // as much as its own.
        const bool folder = rt::IsFolder(path);
        if (folder && rt::PathInsideReaches(path, rt::Utf16Length(target), kLongestPath + 1)) {
            fail(RenameProblem::PathTooLong, target);
            continue;
        }
        if (!rt::RenameFile(path, target)) {
            fail(ProblemAfterFailedRename(path, target, GetLastError()), target);
            continue;
        }
        if (folder) moves.Add(path, target);
    }
    // Told where the user finds them now, inside the new names of the
    // folders renamed after them; a missing file keeps its path as listed.
    for (auto& f : found) {
        if (f.second.problem == RenameProblem::Missing) continue;
        f.second.path = moves.After(f.second.path);
        f.second.target = moves.After(f.second.target);
    }
    // Reported in the order of the list, whatever order they were renamed in.
    std::stable_sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<RenameFailure> failures;
    for (auto& f : found) failures.push_back(std::move(f.second));
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
