#include "app/open_dialog.h"

#include <cstring>
#include <cwchar>
#include <map>

namespace app {
namespace {

std::vector<char> NulTerminated(const rt::AnsiText& text) {
    std::vector<char> bytes(text.begin(), text.end());
    bytes.push_back('\0');
    return bytes;
}

rt::AnsiText JoinPaths(const std::vector<rt::AnsiText>& paths) {
    rt::AnsiText joined;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        if (i) joined += kPathSeparator;
        joined += paths[i];
    }
    return joined;
}

}  // namespace

std::vector<char> DialogFilter(const rt::AnsiText& filter) {
    // Split character-wise: a double-byte character may end in 0x7C ("|").
    std::vector<char> bytes;
    for (const rt::AnsiText& piece : rt::SplitText(filter, "|")) {
        bytes.insert(bytes.end(), piece.begin(), piece.end());
        bytes.push_back('\0');
    }
    bytes.push_back('\0');
    if (bytes.size() < 2) bytes.push_back('\0');
    return bytes;
}

void PrepareOpenDialog(OpenDialogRequest& r, HWND owner, const rt::AnsiText& title,
                       const rt::AnsiText& filter, const rt::AnsiText& startFolder) {
    r.filter = DialogFilter(filter);
    r.file.assign(kDialogBufferSize, '\0');
    r.fileTitle.assign(kDialogBufferSize, ' ');
    r.fileTitle.push_back('\0');
    r.initialDir = NulTerminated(startFolder);
    r.title = NulTerminated(title);
    std::memset(&r.ofn, 0, sizeof r.ofn);
    r.ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    r.ofn.hwndOwner = owner;
    r.ofn.lpstrFilter = r.filter.data();
    r.ofn.lpstrFile = r.file.data();
    r.ofn.nMaxFile = kDialogBufferSize;
    r.ofn.lpstrFileTitle = r.fileTitle.data();
    r.ofn.nMaxFileTitle = kDialogBufferSize;
    r.ofn.lpstrInitialDir = r.initialDir.data();
    r.ofn.lpstrTitle = r.title.data();
    r.ofn.Flags = OFN_EXPLORER | OFN_ALLOWMULTISELECT;
}

rt::AnsiText ParseOpenFileResult(const char* buffer, std::size_t size, bool* truncated) {
    return JoinPaths(OpenFileResultPaths(buffer, size, truncated));
}

std::vector<rt::AnsiText> OpenFileResultPaths(const char* buffer, std::size_t size, bool* truncated) {
    // The pieces between NULs, up to the first empty one (two NULs in a row).
    // NUL is never part of a double-byte character, so no GBK care is needed.
    std::vector<rt::AnsiText> pieces;
    bool cut = false;
    for (std::size_t begin = 0, i = 0;; ++i) {
        if (i == size) {
            // The buffer ends inside a piece (that piece was cut), or right
            // after one: a single path is whole, a list may miss names.
            if (i > begin) pieces.emplace_back(buffer + begin, i - begin);
            cut = i > begin || pieces.size() > 1;
            break;
        }
        if (buffer[i] != '\0') continue;
        if (i == begin) break;  // two NULs in a row: the end
        pieces.emplace_back(buffer + begin, i - begin);
        begin = i + 1;
    }
    if (truncated) *truncated = cut;
    if (pieces.size() <= 1) return pieces;

    rt::AnsiText folder = pieces[0];
    // A folder ending in a double-byte character whose trail byte is 0x5C
    // does not end in a separator.
    if (rt::FindLastByte(folder, '\\') + 1 != folder.size()) folder += '\\';
    std::vector<rt::AnsiText> paths;
    for (std::size_t i = 1; i < pieces.size(); ++i) paths.push_back(folder + pieces[i]);
    return paths;
}

namespace {

// The names in folder that GBK cannot hold, keyed by their best-fit form
// (the dialog's) as a full path, each with its "?" form.
std::map<std::wstring, rt::AnsiText> LostNamesIn(const rt::AnsiText& folder) {
    std::map<std::wstring, rt::AnsiText> lost;
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW((rt::Utf16Of(folder) + L"*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return lost;
    do {
        const std::size_t length = std::wcslen(found.cFileName);
        const rt::AnsiText marked = rt::AnsiOfUtf16(found.cFileName, length);
        if (marked.find('?') == rt::AnsiText::npos) continue;  // GBK holds it
        const int n = static_cast<int>(length);
        const int size = WideCharToMultiByte(CP_ACP, 0, found.cFileName, n, nullptr, 0, nullptr, nullptr);
        rt::AnsiText bestFit(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
        if (size > 0) WideCharToMultiByte(CP_ACP, 0, found.cFileName, n, &bestFit[0], size, nullptr, nullptr);
        lost[rt::FileNameKey(folder + bestFit)] = folder + marked;
    } while (FindNextFileW(find, &found));
    FindClose(find);
    return lost;
}

}  // namespace

void RestoreLostCharacters(std::vector<rt::AnsiText>& paths) {
    // The dialog's paths share one folder; each folder is read once per call.
    std::map<rt::AnsiText, std::map<std::wstring, rt::AnsiText>> folders;
    for (rt::AnsiText& path : paths) {
        const std::size_t slash = rt::FindLastByte(path, '\\');
        if (slash == rt::AnsiText::npos) continue;
        const rt::AnsiText folder = path.substr(0, slash + 1);
        auto it = folders.find(folder);
        if (it == folders.end()) it = folders.emplace(folder, LostNamesIn(folder)).first;
        const auto lost = it->second.find(rt::FileNameKey(path));
        if (lost != it->second.end()) path = lost->second;
    }
}

rt::AnsiText AskOpenFileNames(HWND owner, const rt::AnsiText& title, const rt::AnsiText& filter,
                              const rt::AnsiText& startFolder, DWORD* error) {
    OpenDialogRequest request;
    PrepareOpenDialog(request, owner, title, filter, startFolder);
    const BOOL chosen = GetOpenFileNameA(&request.ofn);
    if (error) *error = chosen ? 0 : CommDlgExtendedError();
    if (!chosen) return rt::AnsiText();
    bool truncated = false;
    std::vector<rt::AnsiText> paths = OpenFileResultPaths(request.file.data(), request.file.size(), &truncated);
    if (truncated) {
        // Some dialogs fill the buffer and cut the last name instead of
        // failing: half a list is no list.
        if (error) *error = FNERR_BUFFERTOOSMALL;
        return rt::AnsiText();
    }
    RestoreLostCharacters(paths);
    return JoinPaths(paths);
}

}  // namespace app
