// The conversion: every listed file renamed, in its own folder, to the
// pinyin of its name. The renaming loop works over a plain list of paths
// and reports what it could not do, so it can be checked without a window.
#pragma once

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

struct RenameFailure {
    rt::AnsiText path;
    DWORD error;          // GetLastError() of the failed rename
    rt::AnsiText target;  // the pinyin path it was to get
};
// Renames every path to its PinyinPath, never over an existing file. A name
// whose pinyin is itself (no character has a reading) is left alone and is
// no failure.
std::vector<RenameFailure> RenameToPinyin(const rt::CountedArray<rt::AnsiText>& paths);

// The message for failed renames: how many, the first ten paths with their
// reasons (a taken pinyin name is named, so the user sees which file is in
// the way), then how many more.
rt::AnsiText FailureMessage(const std::vector<RenameFailure>& failures);

}  // namespace app
