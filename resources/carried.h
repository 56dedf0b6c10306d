// Carried data: the bytes the program holds inside itself. Each accessor
// returns the same byte string for the whole run.
#pragma once

#include "runtime/runtime.h"

namespace res {

// The window's background picture: a 624 x 447, 32 bits per pixel BMP file.
const rt::ByteString& SkinBackground();
// The program icon: an ICO file with one 32 x 32 image with alpha.
const rt::ByteString& AppIconImage();

// PNG skin images: caption-button glyphs, check-box marks, arrows.
const rt::ByteString& HelpButtonImage();
const rt::ByteString& MenuButtonImage();
const rt::ByteString& MinimizeButtonImage();
const rt::ByteString& MaximizeButtonImage();
const rt::ByteString& RestoreButtonImage();
const rt::ByteString& CloseButtonImage();
const rt::ByteString& CheckBoxUncheckedImage();
const rt::ByteString& CheckBoxCheckedImage();
const rt::ByteString& ArrowDownImage();
const rt::ByteString& ArrowUpImage();
const rt::ByteString& ArrowLeftImage();
const rt::ByteString& ArrowRightImage();

// The working-set tool written to %windir%\empty.exe: a console program that
// takes a decimal process id and empties that process's working set.
const rt::ByteString& WorkingSetTool();

}  // namespace res
