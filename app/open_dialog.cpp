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

rt::AnsiText ParseOpenFileResult(const char* buffer, std::size_t size) {
    // The pieces between NULs, up to the first empty one (two NULs in a row).
    // NUL is never part of a double-byte character, so no GBK care is needed.
    std::vector<rt::AnsiText> pieces;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= size; ++i) {
        if (i < size && buffer[i] != '\0') continue;
        if (i == start) break;
        pieces.emplace_back(buffer + start, i - start);
        start = i + 1;
    }
    if (pieces.size() <= 1) return pieces.empty() ? rt::AnsiText() : pieces[0];

    rt::AnsiText folder = pieces[0];
    // A folder ending in a double-byte character whose trail byte is 0x5C
    // does not end in a separator.
    if (rt::FindLastByte(folder, '\\') + 1 != folder.size()) folder += '\\';
    rt::AnsiText joined;
    for (std::size_t i = 1; i < pieces.size(); ++i) {
        if (i > 1) joined += ';';
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
    return ParseOpenFileResult(request.file.data(), request.file.size());
}

}  // namespace app
