#include "app/renamer.h"

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

std::vector<RenameFailure> RenameToPinyin(const rt::CountedArray<rt::AnsiText>& paths) {
    std::vector<RenameFailure> failures;
    for (int i = 1; i <= paths.Count(); ++i) {
        const rt::AnsiText& path = paths[i];
        const rt::AnsiText target = PinyinPath(path);
        if (target == path) continue;
        if (!rt::RenameFile(path, target)) failures.push_back({path, GetLastError(), target});
    }
    return failures;
}

namespace {
rt::AnsiText Reason(const RenameFailure& failure) {
    switch (failure.error) {
    case ERROR_ALREADY_EXISTS:
    case ERROR_FILE_EXISTS:
        if (failure.target.empty()) return "新名字已被别的文件占用";
        return "新名字“" + SplitPath(failure.target).name + "”已被别的文件占用";
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND: return "文件不存在";
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION: return "文件不能改动";
    default: return "无法改名";
    }
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
