// The drawing-object layer: small classes over the GDI+ flat API that the
// skinning engine draws with. Include this header for all of it.
//
//   native_object.h  RectF/PointF/Rect/Point, Opt<T> (optional arguments),
//                    LastStatus, LiveObjectCount, ToWideText/WideToText,
//                    the base class NativeObject
//   graphics.h       GraphicsObject (the surface: FromHdc, FromImage, fills,
//                    strokes, DrawString, MeasureString, DrawImageRect, clips)
//   path.h           PathObject, RegionObject
//   pen_brush.h      PenObject, BrushObject, SolidBrushObject,
//                    LinearBrushObject, PathBrushObject
//   font.h           FontObject, FontFamilyObject, FontCollectionObject,
//                    StringFormatObject
//   image.h          ImageObject, BitmapObject, MemoryStreamObject,
//                    ListEncoders/FindEncoderClsid, GuidToText/TextToGuid,
//                    ImageFormatPNG/ImageFormatBMP
//   tooltip.h        TooltipObject
//
// Conventions (all classes):
//  - An object is empty or holds one native object. Make objects as locals,
//    create into them while they are empty, draw, Delete/Dispose; the
//    destructor deletes whatever is still held. Delete/Dispose on an empty
//    object returns 0 and calls nothing. Objects are not C++-copyable.
//  - Results: actions 1 on success, 0 on failure; getters the value (0 on
//    failure); creating operations 1 on success, the object empty otherwise.
//  - Optional arguments: see Opt<T> in native_object.h.
//  - Texts are GBK AnsiText; the ...W twins take UTF-16 bytes (ToWideText).
//  - GDI+ enumerations are plain ints with GDI+'s values; colours ARGB.
//  - GDI+ must have been started by the caller (GdiplusStartup).
//  - Tests: LiveObjectCount() counts native GDI+ objects made through the
//    layer and not yet deleted; CreatedIntoHoldingCount() counts creations
//    into objects that still held one (each leaks). Both should come back
//    to / stay at their values after any paint. drawing/test_hooks.h reaches
//    failure paths on demand.
#pragma once

#include "drawing/native_object.h"
#include "drawing/graphics.h"
#include "drawing/path.h"
#include "drawing/pen_brush.h"
#include "drawing/font.h"
#include "drawing/image.h"
#include "drawing/tooltip.h"
