// The brushes and bitmaps handed out to controls, and their taking back.
#include "skin/handed_out.h"

#include <cstdint>

#include "skin/capture.h"
#include "skin/gdi_handles.h"
#include "skin/record.h"

namespace skin {

void DeleteHandedOutObject(HGDIOBJ object, DWORD type) {
    // The hollow brush handed to list boxes and buttons is a stock object.
    if (object && GetObjectType(object) == type && object != GetStockObject(NULL_BRUSH))
        DeleteCountedObject(object);
}

void DeleteHandedOutBackground(HWND control) {
    DeleteHandedOutObject(GetPropA(control, prop::Kj_dxjb), OBJ_BRUSH);
    DeleteHandedOutObject(GetPropA(control, prop::Kj_wtjb), OBJ_BITMAP);
    WriteProp(control, prop::Kj_dxjb, 0);
    WriteProp(control, prop::Kj_wtjb, 0);
}

HBRUSH HandOutGlassBrush(HDC dc, HWND control) {
    SetTextColor(dc, static_cast<COLORREF>(ReadProp(control, prop::Kj_Ztys)));
    SetBkMode(dc, TRANSPARENT);
    DeleteHandedOutBackground(control);
    BitmapHandle picture = BitmapHandle::Adopt(MakeGlassBackgroundBitmap(control));
    BrushHandle brush = BrushHandle::Adopt(picture ? CreatePatternBrush(picture) : nullptr);
    // Both live until the control's next brush or its end.
    WriteProp(control, prop::Kj_dxjb, reinterpret_cast<std::intptr_t>(brush.Get()));
    WriteProp(control, prop::Kj_wtjb, reinterpret_cast<std::intptr_t>(picture.Get()));
    picture.Release();
    return brush.Release();
}

}  // namespace skin
