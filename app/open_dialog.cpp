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

rt::AnsiText Joined(const std::vector<rt::AnsiText>& pieces, std::size_t from, std::size_t to,
                    const char* separator) {
    rt::AnsiText joined;
    for (std::size_t i = from; i < to; ++i) {
        if (i > from) joined += separator;
        joined += pieces[i];
    }
    return joined;
}

rt::AnsiText JoinPaths(const std::vector<rt::AnsiText>& paths) {
    return Joined(paths, 0, paths.size(), kPathSeparator);
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

// One name in a folder: as the disk holds it, with "?" for what GBK lacks,
// and in the best-fit form the ANSI dialog gives it.
struct FolderEntry {
    std::wstring name;
    rt::AnsiText marked, bestFit;
};

std::vector<FolderEntry> ListFolder(const std::wstring& folder) {
    std::vector<FolderEntry> entries;
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW((folder + L"*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return entries;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        const int n = static_cast<int>(name.size());
        const int size = WideCharToMultiByte(CP_ACP, 0, name.data(), n, nullptr, 0, nullptr, nullptr);
        rt::AnsiText bestFit(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
        if (size > 0) WideCharToMultiByte(CP_ACP, 0, name.data(), n, &bestFit[0], size, nullptr, nullptr);
        entries.push_back({name, rt::AnsiOfUtf16(name.data(), name.size()), bestFit});
    } while (FindNextFileW(find, &found));
    FindClose(find);
    return entries;
}

bool HoldsLost(const rt::AnsiText& marked) { return marked.find('?') != rt::AnsiText::npos; }

// The entry the dialog's spelling of one path component names, or null.
// lost is set when that entry's name holds what GBK lacks, or when another
// name of the folder is spelled the same by the dialog: then no one can
// tell which was chosen. The exact name wins over a look-alike in other
// letter case (歌b2.mp3 beside 歌B².mp3).
const FolderEntry* Resolve(const std::vector<FolderEntry>& entries, const rt::AnsiText& component,
                           bool* lost) {
    const FolderEntry *exact = nullptr, *alike = nullptr;
    for (const FolderEntry& e : entries) {
        if (e.marked == component && !exact) exact = &e;
        else if (e.bestFit == component && !alike) alike = &e;
    }
    if (alike) {
        *lost = true;
        return alike;
    }
    if (exact) {
        *lost = HoldsLost(exact->marked);
        return exact;
    }
    // Typed in another letter case.
    const std::wstring key = rt::FileNameKey(component);
    for (const FolderEntry& e : entries)
        if (HoldsLost(e.marked) && rt::FileNameKey(e.bestFit) == key) {
            *lost = true;
            return &e;
        }
    for (const FolderEntry& e : entries)
        if (rt::FileNameKey(e.marked) == key) {
            *lost = false;
            return &e;
        }
    return nullptr;
}

// One path walked from its root, each folder listed in UTF-16 (once per
// call): a component that stands for a name GBK cannot hold takes that
// name's "?" form, and the rest of the path is left as the dialog gave it.
rt::AnsiText MarkLostIn(const rt::AnsiText& path,
                        std::map<std::wstring, std::vector<FolderEntry>>& folders) {
    const std::vector<rt::AnsiText> pieces = rt::SplitText(path, "\\");
    std::size_t root = 0;
    if (pieces.size() > 1 && pieces[0].size() == 2 && pieces[0][1] == ':') root = 1;
    else if (pieces.size() > 4 && pieces[0].empty() && pieces[1].empty()) root = 4;  // \\server\share
    if (root == 0) return path;
    rt::AnsiText out = Joined(pieces, 0, root, "\\") + "\\";
    std::wstring actual = rt::Utf16Of(out);
    for (std::size_t i = root; i < pieces.size(); ++i) {
        if (i > root) out += "\\";
        auto it = folders.find(actual);
        if (it == folders.end()) it = folders.emplace(actual, ListFolder(actual)).first;
        bool lost = false;
        const FolderEntry* entry = pieces[i].empty() ? nullptr : Resolve(it->second, pieces[i], &lost);
        if (!entry) return out + Joined(pieces, i, pieces.size(), "\\");
        if (lost) {
            out += entry->marked;
            if (i + 1 < pieces.size()) out += "\\" + Joined(pieces, i + 1, pieces.size(), "\\");
            return out;
        }
        out += pieces[i];
        actual += entry->name + L"\\";
    }
    return out;
}

}  // namespace

void MarkLostCharacters(std::vector<rt::AnsiText>& paths) {
    std::map<std::wstring, std::vector<FolderEntry>> folders;
    for (rt::AnsiText& path : paths) {
        path = MarkLostIn(path, folders);
        // No file name holds "|": one left here is the best fit of a
        // character GBK lacks, and would cut the path in two where the
        // dialog's paths are joined.
        const std::vector<rt::AnsiText> parts = rt::SplitText(path, kPathSeparator);
        path = Joined(parts, 0, parts.size(), "?");
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
    MarkLostCharacters(paths);
    return JoinPaths(paths);
}

}  // namespace app
