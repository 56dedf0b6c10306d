// The conversion: every listed file renamed, in its own folder, to the
// pinyin of its name. The renaming loop works over a plain list of paths
// and reports what it could not do, so it can be checked without a window.
#pragma once

#include <utility>
#include <vector>

#include "runtime/runtime.h"

namespace app {

// Each character that has a reading becomes the reading and one blank; every
// other character (the extension included) stays as it is.
rt::AnsiText PinyinOfText(const rt::AnsiText& text);

struct PathParts {
    rt::AnsiText folder;  // up to and including the last "\" ("" when none)
    rt::AnsiText name;
};
// The last "\" is found character-wise: a trail byte 0x5C is no separator.
PathParts SplitPath(const rt::AnsiText& path);
// The same folder, the pinyin of the name.
rt::AnsiText PinyinPath(const rt::AnsiText& path);

// Why a listed file kept its name, as the disk shows it after the rename
// failed or was not tried: a file that is still there is never "missing".
enum class RenameProblem {
    NotFullPath,    // no drive or server root: which file it names would depend on the current folder
    UnknownChar,    // a character of the real name has no GBK code: the dialog or the drop gave "?" for it
    NameTooLong,    // the new name is over 255 characters
    PathTooLong,    // the new full path is MAX_PATH characters or more
    DeviceName,     // the new name is one Windows keeps for a device (CON, COM1, ...)
    TargetTaken,    // another file already has the new name
    Missing,        // the file is not there
    Locked,         // the file is there but may not be changed
    Other,          // the file is there and the rename failed for another reason
};

struct RenameFailure {
    rt::AnsiText path;
    RenameProblem problem;
    rt::AnsiText target;  // the pinyin path it was to get ("" when none was made)
};
// True for a path from a drive root ("C:\") or a server ("\\server\..."):
// only such a path names the same file whatever folder is current.
bool IsFullPath(const rt::AnsiText& path);
// True when the path holds "?", what the dialog and the drop give for a
// character GBK lacks: it names no file, and its folder may name none.
bool HoldsLostCharacter(const rt::AnsiText& path);
// True for a name Windows keeps for a device whatever its extension and
// letter case: CON, PRN, AUX, NUL, COM1..COM9, LPT1..LPT9 as the part before
// the first dot, trailing blanks dropped ("con .mp3", "Lpt3", "nul.tar.gz").
bool IsDeviceName(const rt::AnsiText& name);
// The folders a conversion renamed, in the order it renamed them: where a
// path named before the conversion is afterwards.
class FolderMoves {
public:
    void Add(const rt::AnsiText& from, const rt::AnsiText& to);
    // The path with each renamed folder it lies in (letter case aside, as
    // Windows compares names) under that folder's new name.
    rt::AnsiText After(rt::AnsiText path) const;

private:
    std::vector<std::pair<rt::AnsiText, rt::AnsiText>> moves_;
};

// Renames every path to its PinyinPath, never over an existing file, never
// to a device name and never to a path of MAX_PATH characters or more,
// which the ANSI calls (this program's included) cannot open; a folder is
// not renamed either when a path inside it would grow that long. A path
// holding "?" names no real file (it stands for a character that GBK
// lacks) and is left alone. A name whose pinyin is itself (no character
// has a reading) is left alone and is no failure; a path that names the
// same file as one met before in this call was handled then and is skipped
// (names that differ only in letter case are one file or two as the disk
// holds them). A listed folder that holds other listed paths is renamed
// after them, so they are still where the list says; failures come back in
// the list's order, each at the path where the file is afterwards (a
// missing file at its path as listed). The folders renamed are added to
// `moved` when one is given.
std::vector<RenameFailure> RenameToPinyin(const rt::CountedArray<rt::AnsiText>& paths, FolderMoves* moved = nullptr);

// Why the rename of path to target failed, the disk asked first: a file
// that is not there is missing, a target that is there is taken, whatever
// error the rename gave; else access denied or a sharing violation is a
// file that may not be changed, and anything else is some other failure.
RenameProblem ProblemAfterFailedRename(const rt::AnsiText& path, const rt::AnsiText& target, DWORD error);

// The message for failed renames: how many, the first ten paths with their
// reasons (a taken pinyin name is named, so the user sees which file is in
// the way), then how many more.
rt::AnsiText FailureMessage(const std::vector<RenameFailure>& failures);

}  // namespace app
