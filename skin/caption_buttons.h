// The caption-button strip of a skinned window: where each button lies, which
// button a mouse position hits, and the tooltip tool that names each button.
// The SkinEngine members of this concern (LayoutCaptionButtons,
// HitCaptionButton, FindMaximizeButton, AddCaptionButton, the help and menu
// routines, GetCaptionStripRect, SetSystemButtonImages) are defined in
// caption_buttons.cpp.
#pragma once

#include <windows.h>

namespace skin {

// Pitch of the buttons in the strip, whatever their widths.
constexpr int kCaptionButtonPitch = 27;
// Height of the strip.
constexpr int kCaptionStripHeight = 22;

// True while the pointer (x, y as the signed words of lParam) is over the
// strip as the fade timer sees it: from StripX - 2 to StripX + StripWidth,
// from y 0 to StripHeight.
bool IsInCaptionButtonStrip(int record, LPARAM lParam);

}  // namespace skin
