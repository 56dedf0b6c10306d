// What a copy of an image or bitmap read from bytes is loaded from: shared
// by the image and bitmap sources, needed by no caller of the layer.
#pragma once

#include "drawing/image.h"

namespace drw {

// What a copy of an image read from bytes is loaded from, and the frame it
// then selects (frame 0: none to select).
struct CopySource {
    ByteString bytes;
    AnsiText dimension;
    unsigned frame = 0;
    // Selects the frame in a copy loaded from the bytes.
    void SelectIn(ImageObject& copy) const;
};
// The bytes the image was read from, with the frame that its active frame
// shows, when its active frame looks exactly like one of the frames those
// bytes decode to (size, resolution, pixel format, palette, every pixel);
// else the picture as it is now, encoded in the image's own format when that
// keeps every pixel (PNG, BMP, TIFF), else as PNG (still the bytes it was
// read from when no encoder takes it).
CopySource SourceOfCopy(ImageObject& image, const MemoryStreamObject& readFrom);

}  // namespace drw
