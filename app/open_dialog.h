// The open-file dialog: several files at once, explorer style. Building the
// request and reading the result are separate pure steps so they can be
// checked without a dialog.
#pragma once

#include <windows.h>
#include <commdlg.h>

#include "runtime/runtime.h"

namespace app {

constexpr DWORD kDialogBufferSize = 8192;
// Joins the chosen paths in the one text the dialog hands back: no Windows
// file name can hold "|", while ";" it can ("x;歌.mp3" is one name). A
// double-byte character whose trail byte is 0x7C (東) is no separator, as
// SplitText splits character-wise.
constexpr char kPathSeparator[] = "|";

// An OPENFILENAMEA (the form without the trailing reserved fields: 76 bytes
// in the 32-bit program, 136 in the 64-bit one) with the buffers it points
// into.
struct OpenDialogRequest {
    std::vector<char> filter, file, fileTitle, initialDir, title;
    OPENFILENAMEA ofn;
};

// The dialog's filter form: every "|" becomes a NUL, and two NULs end it.
std::vector<char> DialogFilter(const rt::AnsiText& filter);
void PrepareOpenDialog(OpenDialogRequest& request, HWND owner, const rt::AnsiText& title,
                       const rt::AnsiText& filter, const rt::AnsiText& startFolder);

// The chosen full paths joined by "|" from the dialog's file buffer: one
// full path, or the folder and then the names, NUL between them and two
// NULs at the end. Reads no byte past size. When the buffer ends before its
// closing NULs (the dialog filled it and cut the last name), *truncated is
// set (when given).
rt::AnsiText ParseOpenFileResult(const char* buffer, std::size_t size, bool* truncated = nullptr);
// The same, as the list of full paths.
std::vector<rt::AnsiText> OpenFileResultPaths(const char* buffer, std::size_t size, bool* truncated = nullptr);

// The ANSI dialog hands back a name that GBK cannot hold in its best-fit
// form: "歌².mp3" as "歌2.mp3", which names another file or none, and a
// folder "歌¦集" as "歌|集", which would cut the path in two. Each path is
// walked from its root, every folder looked up in UTF-16: the first
// component that is the best fit of such a name takes that name with "?"
// for what GBK lacks, as the drop gives it, so the conversion tells the
// true reason and renames nothing that was not chosen. When the folder also
// holds the look-alike itself (歌2.mp3 beside 歌².mp3) the dialog's answer
// cannot tell them apart, and the path takes the "?" form: nothing is
// renamed rather than perhaps the wrong file. An exact name wins over a
// look-alike that differs from it only in letter case. A "|" left in a path
// (no file name holds one) becomes "?" too.
// (The UTF-16 dialog would give the true names, but Wine's writes a long
// list past the end of its buffer.)
void MarkLostCharacters(std::vector<rt::AnsiText>& paths);

// Shows the dialog; the chosen full paths joined by "|", or "" when nothing
// was chosen. When error is given it receives CommDlgExtendedError() (0 for
// a plain cancel, FNERR_BUFFERTOOSMALL when too many files were chosen; a
// dialog that cut the list short instead of failing counts as that too).
rt::AnsiText AskOpenFileNames(HWND owner, const rt::AnsiText& title, const rt::AnsiText& filter,
                              const rt::AnsiText& startFolder, DWORD* error = nullptr);

}  // namespace app
