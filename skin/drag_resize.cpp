// Caption drag and frame resizing of a skinned window.
#include "skin/drag_resize.h"

#include "skin/helpers.h"
#include "skin/record.h"

namespace skin {
namespace {

// Corners reach this far from the client corner, and the edges stop here.
constexpr int kCornerSize = 10;

// The zones in the order they are tested.
enum ZoneIndex { Left, Right, Top, Bottom, TopLeft, TopRight, BottomLeft, BottomRight };
const SizingZone kZones[] = {
    {IDC_SIZEWE, SC_SIZE | WMSZ_LEFT},
    {IDC_SIZEWE, SC_SIZE | WMSZ_RIGHT},
    {IDC_SIZENS, SC_SIZE | WMSZ_TOP},
    {IDC_SIZENS, SC_SIZE | WMSZ_BOTTOM},
    {IDC_SIZENWSE, SC_SIZE | WMSZ_TOPLEFT},
    {IDC_SIZENESW, SC_SIZE | WMSZ_TOPRIGHT},
    {IDC_SIZENESW, SC_SIZE | WMSZ_BOTTOMLEFT},
    {IDC_SIZENWSE, SC_SIZE | WMSZ_BOTTOMRIGHT},
};

const SizingZone* ZoneAt(const RECT& client, LPARAM lParam, int border) {
    return FindSizingZone(MouseX(lParam), MouseY(lParam), client.right, client.bottom, border);
}

void StartMoveLoop(HWND window) { SendMessageA(window, WM_NCLBUTTONDOWN, HTCAPTION, 0); }

}  // namespace

const SizingZone* FindSizingZone(int x, int y, int w, int h, int b) {
    const int c = kCornerSize;
    const bool alongHeight = c < y && y < h - c;
    const bool alongWidth = c < x && x < w - c;
    if (x <= b && alongHeight) return &kZones[Left];
    if (x >= w - b && alongHeight) return &kZones[Right];
    if (y <= b && alongWidth) return &kZones[Top];
    if (y >= h - b && alongWidth) return &kZones[Bottom];
    if (x <= c && y <= c) return &kZones[TopLeft];
    if (x >= w - c && y <= c) return &kZones[TopRight];
    if (x <= c && y >= h - c) return &kZones[BottomLeft];
    if (x >= w - c && y >= h - c) return &kZones[BottomRight];
    return nullptr;
}

void SkinEngine::CaptionMouseDown(int record, LPARAM lParam, const RECT& client) {
    // Both operations are reachable through the method table with any index.
    if (!SkinWindowTable.Contains(record)) return;
    SkinWindowRecord& r = SkinWindowTable[record];
    const int x = MouseX(lParam);
    const int y = MouseY(lParam);
    // The caption buttons take their own presses; the strip's top rows do
    // not count, so the top edge stays grabbable above the buttons.
    if (r.StripX <= x && x <= r.StripX + r.StripWidth && 3 <= y && y <= r.StripHeight) return;
    if (r.CaptionOn == 0) return;
    const HWND window = r.Window;
    const bool inCaption = y <= r.CaptionHeight;
    if (r.FrameGestures == 0 && inCaption) {
        StartMoveLoop(window);
        return;
    }
    if (const SizingZone* zone = ZoneAt(client, lParam, FrameBorderWidth)) {
        // The loop resizes the window; its next paint renders it anew.
        r.RenderNeeded = 1;
        SetCursor(LoadCursorA(nullptr, zone->Cursor));
        SendMessageA(window, WM_SYSCOMMAND, zone->Command, 0);
        return;
    }
    if (inCaption) StartMoveLoop(window);
}

void SkinEngine::UpdateResizeCursor(int record, LPARAM lParam, const RECT& client) {
    if (!SkinWindowTable.Contains(record) || SkinWindowTable[record].FrameGestures == 0) return;
    if (const SizingZone* zone = ZoneAt(client, lParam, FrameBorderWidth))
        SetCursor(LoadCursorA(nullptr, zone->Cursor));
}

}  // namespace skin
