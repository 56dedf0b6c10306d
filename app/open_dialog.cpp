#include "app/open_dialog.h"

#include <cstring>

namespace app {
namespace {

std::vector<char> NulTerminated(const rt::AnsiText& text) {
    std::vector<char> bytes(text.begin(), text.end());
    bytes.push_back('\0');
    return bytes;
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
    if (pieces.size() <= 1) return pieces.empty() ? rt::AnsiText() : pieces[0];

    rt::AnsiText folder = pieces[0];
    // A folder ending in a double-byte character whose trail byte is 0x5C
    // does not end in a separator.
    if (rt::FindLastByte(folder, '\\') + 1 != folder.size()) folder += '\\';
    rt::AnsiText joined;
    for (std::size_t i = 1; i < pieces.size(); ++i) {
        if (i > 1) joined += kPathSeparator;
        joined += folder + pieces[i];
    }
    return joined;
}

rt::AnsiText AskOpenFileNames(HWND owner, const rt::AnsiText& title, const rt::AnsiText& filter,
                              const rt::AnsiText& startFolder, DWORD* error) {
    OpenDialogRequest request;
    PrepareOpenDialog(request, owner, title, filter, startFolder);
    const BOOL chosen = GetOpenFileNameA(&request.ofn);
    if (error) *error = chosen ? 0 : CommDlgExtendedError();
    if (!chosen) return rt::AnsiText();
    bool truncated = false;
    rt::AnsiText names = ParseOpenFileResult(request.file.data(), request.file.size(), &truncated);
    if (truncated) {
        // Some dialogs fill the buffer and cut the last name instead of
        // failing: half a list is no list.
        if (error) *error = FNERR_BUFFERTOOSMALL;
        return rt::AnsiText();
    }
    return names;
}

}  // namespace app
