// Background pictures: the average colour a picture is filled around with,
// the fading of two of its edges into that colour for the corner layouts,
// and the engine-wide theme. The SkinEngine members of this concern
// (SetSkinTheme, SetWindowBackground, GetPictureColor) are defined in
// background.cpp.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>

#include "runtime/runtime.h"

namespace skin {

// Samples every caller takes for a picture's average colour.
constexpr int kColorSamples = 2000;

// The mean colour of `samples` pixels drawn at random, as a COLORREF with
// 0xFF in its top byte. The x range is the last rightMargin columns when that
// is given and above 0, else every column; the y range likewise with
// bottomMargin. The picture comes from the file when path is not empty,
// else from the bytes. A picture without pixels (bytes that do not decode)
// or a sample count below 1 gives opaque black without sampling.
COLORREF AverageImageColor(const rt::ByteString& bytes, int samples,
                           std::optional<int> rightMargin = {},
                           std::optional<int> bottomMargin = {}, const rt::AnsiText& path = {});

// An ARGB value as the COLORREF of the same colour (top byte 0); its alpha
// goes to *alpha when alpha is given.
COLORREF SplitArgb(uint32_t argb, int* alpha = nullptr);

// The picture with two edges faded into colour, as PNG bytes: right and
// bottom when fadeRightEdge is not 0, else left and bottom. edge is the band
// width (default 0.3 x the picture's width, rounded). Empty for a picture
// that does not decode.
rt::ByteString BuildBackgroundPicture(const rt::ByteString& bytes, std::optional<int> edge,
                                      COLORREF colour, int fadeRightEdge = 1,
                                      const rt::AnsiText& path = {});

// The picture as a window or the theme stores it for its layout mode: modes
// 0 and 1 fade two edges into colour (BuildBackgroundPicture with the
// default edge, right and bottom for 0, left and bottom for 1); every other
// mode keeps the bytes, or for a file its picture encoded as PNG.
rt::ByteString PictureForMode(int mode, const rt::ByteString& bytes, COLORREF colour,
                              const rt::AnsiText& path = {});

// InvalidateRect(header, NULL, FALSE) for every header entry of the record.
void InvalidateHeaders(int record);

}  // namespace skin
