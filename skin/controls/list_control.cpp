// List-type controls: attach, window procedure, frame painter and the glass
// compositing of their client areas.
#include "skin/controls/list_control.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "drawing/graphics.h"
#include "skin/capture.h"
#include "skin/child_messages.h"
#include "skin/controls/control_frame.h"
#include "skin/controls/edit.h"
#include "skin/handed_out.h"
#include "skin/controls/subclass.h"
#include "skin/engine.h"
#include "skin/gdi_handles.h"
#include "skin/helpers.h"
#include "skin/record.h"
#include "skin/test_hooks.h"

namespace skin {

namespace test_hooks {
bool listPixelsUnreadable = false;
}  // namespace test_hooks

namespace {

constexpr uint32_t kNormalBorder = 0x5A000000;  // black at alpha 90
constexpr int kAccentAlpha = 200;

enum class ListKind { ListBox, ComboList, ListView, TreeView, IpAddress, DateTimePicker, Other };

ListKind KindOf(HWND control) {
    const rt::AnsiText name = GetClassNameText(control);
    if (name == "ListBox") return ListKind::ListBox;
    if (name == "ComboLBox") return ListKind::ComboList;
    if (name == "SysListView32") return ListKind::ListView;
    if (name == "SysTreeView32") return ListKind::TreeView;
    if (name == "SysIPAddress32") return ListKind::IpAddress;
    if (name == "SysDateTimePick32") return ListKind::DateTimePicker;
    return ListKind::Other;
}

SkinnedListControl& ListEntry(const ControlIds& ids) {
    return SkinWindowTable[ids.record].ListControls[ids.entry];
}


void AttachListControl(int record, HWND control) {
    if (IsSkinSubclassed(control)) return;
    auto& lists = SkinWindowTable[record].ListControls;
    const int index = TakeEntry(lists);
    SubclassControl(lists[index], control, record, index, ListControlSkinProc);
}

// Calls attach for every direct child of parent of the class.
template <class Attach>
void ForEachChild(HWND parent, const char* cls, Attach attach) {
    for (HWND child = FindWindowExA(parent, nullptr, cls, nullptr); child;
         child = FindWindowExA(parent, child, cls, nullptr))
        attach(child);
}

WNDPROC PreviousProcOf(HWND control) {
    return reinterpret_cast<WNDPROC>(GetPropA(control, prop::Hw_hProc));
}

// The 32-bpp pixels of a capture DC of w x h, nullptr when it has none.
uint32_t* PixelsOf(HDC dc, int w, int h) {
    if (test_hooks::listPixelsUnreadable) return nullptr;
    DIBSECTION section{};
    if (GetObjectA(GetCurrentObject(dc, OBJ_BITMAP), sizeof section, &section) != sizeof section)
        return nullptr;
    const BITMAP& bm = section.dsBm;
    if (bm.bmBitsPixel != 32 || bm.bmWidth != w || std::abs(bm.bmHeight) != h) return nullptr;
    return static_cast<uint32_t*>(bm.bmBits);
}

// Runs act, which validates the control, and lets what waited for a paint
// before it wait again. act's result.
template <class Act>
auto KeepingPending(HWND control, Act act) {
    RegionHandle pending = RegionHandle::Adopt(CreateRectRgn(0, 0, 0, 0));
    const int waiting = GetUpdateRgn(control, pending, FALSE);
    auto result = act();
    if (waiting != NULLREGION && waiting != ERROR) InvalidateRgn(control, pending, TRUE);
    return result;
}

// Gives the tree a new background colour. The change invalidates the whole
// tree, and the paint that makes it already shows what that invalidated:
// left pending, it would bring the next paint, which changes the colours
// again, for ever. Only the change's own invalidation is dropped.
void SetTreeBackground(HWND tree, COLORREF colour) {
    KeepingPending(tree, [&] {
        SendMessageA(tree, TVM_SETBKCOLOR, 0, colour);
        return ValidateRect(tree, nullptr);
    });
}

// The control paints its items into dc over a ground of one colour, which is
// also the DC's background colour (and, for a tree view, its own).
void PaintItemsOver(HWND control, bool tree, HDC dc, int ground, const RECT& client,
                    LPARAM lParam) {
    const COLORREF colour = ground == BLACK_BRUSH ? RGB(0, 0, 0) : RGB(255, 255, 255);
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(ground)));
    SetBkColor(dc, colour);
    if (tree) SetTreeBackground(control, colour);
    CallWindowProcA(PreviousProcOf(control), control, WM_PAINT, reinterpret_cast<WPARAM>(dc),
                    lParam);
}

// Lays the items of the control over the glass. They are painted twice, over
// black and over white: where both agree the items are opaque, where they
// differ by the full range the glass shows, and in between (anti-aliased
// text edges) the glass shows by that difference, channel by channel. So the
// items keep their look whether the control draws them transparently (the
// hollow brush of its parent) or fills their rows with a background colour
// whatever the background mode, as some list boxes do, and a tree's texts
// get no fringe of its key-coloured background.
bool LayItemsOnGlass(HWND control, bool tree, HDC glass, const RECT& client, LPARAM lParam) {
    const int w = client.right, h = client.bottom;
    const RECT area = GetClientRectInWindow(control);
    ScopedCapture overBlack(CaptureControlBackground(control, area));
    ScopedCapture overWhite(CaptureControlBackground(control, area));
    uint32_t* g = PixelsOf(glass, w, h);
    uint32_t* b = PixelsOf(overBlack, w, h);
    uint32_t* white = PixelsOf(overWhite, w, h);
    if (!g || !b || !white) return false;
    PaintItemsOver(control, tree, overBlack, BLACK_BRUSH, client, lParam);
    PaintItemsOver(control, tree, overWhite, WHITE_BRUSH, client, lParam);
    if (tree) SetTreeBackground(control, kKeyColour);
    GdiFlush();
    for (int i = 0; i < w * h; ++i) {
        uint32_t out = 0;
        for (int shift = 0; shift < 24; shift += 8) {
            const int on0 = (b[i] >> shift) & 0xFF, on1 = (white[i] >> shift) & 0xFF;
            const int through = std::clamp(on1 - on0, 0, 255);
            const int c = on0 + static_cast<int>((g[i] >> shift) & 0xFF) * through / 255;
            out |= static_cast<uint32_t>(std::min(c, 255)) << shift;
        }
        g[i] = out;
    }
    return true;
}

// Where the pixels cannot be read: the tree paints over its key-colour
// background into a DC of its own, and only what is not key colour lands on
// the glass.
void KeyTreeOntoGlass(HWND control, HDC glass, const RECT& client, LPARAM lParam) {
    const int w = client.right, h = client.bottom;
    ScopedCapture tree(CaptureControlBackground(control, client));
    if (!tree.Get()) return;
    BrushHandle key = BrushHandle::Adopt(CreateSolidBrush(kKeyColour));
    FillRect(tree, &client, key);
    SetBkColor(tree, kKeyColour);
    CallWindowProcA(PreviousProcOf(control), control, WM_PAINT,
                    reinterpret_cast<WPARAM>(tree.Get()), lParam);
    TransparentBlt(glass, 0, 0, w, h, tree, 0, 0, w, h, kKeyColour);
}

// The control's items on the glass go on the screen (for a tree view not
// over its visible children). Without a skinned window above there is no
// glass: false, and the control paints as it would unskinned.
bool CompositeOnGlass(HWND control, bool tree, LPARAM lParam) {
    ScopedCapture glass(CreateGlassBackgroundDc(control));
    if (!glass.Get()) return false;
    RECT client{};
    GetClientRect(control, &client);
    {
        PaintDc paint(control);
        if (!LayItemsOnGlass(control, tree, glass, client, lParam)) {
            if (tree)
                KeyTreeOntoGlass(control, glass, client, lParam);
            else
                CallWindowProcA(PreviousProcOf(control), control, WM_PAINT,
                                reinterpret_cast<WPARAM>(glass.Get()), lParam);
        }
        HDC screen = tree ? GetDcExcludingChildren(control, paint) : paint.Get();
        BitBlt(screen, 0, 0, client.right, client.bottom, glass, 0, 0, SRCCOPY);
    }
    if (!tree) InvalidateVisibleChildren(control);
    return true;
}

// The IP-address control fills its whole client area with the system's
// window colour before it draws its dots, whatever its erase left there. It
// paints into a DC of its own, and what it drew in any other colour lands on
// the glass, which goes on the screen around its fields (they paint
// themselves, over the glass brush they ask this control for). Its dots are
// written in the font of the DC it is given, and an anti-aliased edge is
// part window colour, which the key does not take out: it would stay on the
// glass as a pale fringe, and what is left of a dot that small looks like
// the glass itself. The DC's font is therefore given without anti-aliasing,
// so the dots land on the glass whole, in the control's colour. False
// without a skinned window above.
bool KeyWindowColourOntoGlass(HWND control, LPARAM lParam) {
    ScopedCapture glass(CreateGlassBackgroundDc(control));
    ScopedCapture own(CaptureControlBackground(control, GetClientRectInWindow(control)));
    if (!glass.Get() || !own.Get()) return false;
    RECT client{};
    GetClientRect(control, &client);
    const int w = client.right, h = client.bottom;
    LOGFONTA face{};
    GetObjectA(GetCurrentObject(own, OBJ_FONT), sizeof face, &face);
    face.lfQuality = NONANTIALIASED_QUALITY;
    FontHandle solid = FontHandle::Adopt(CreateFontIndirectA(&face));
    PaintDc paint(control);
    {
        SelectedObject font(own, solid);
        CallWindowProcA(PreviousProcOf(control), control, WM_PAINT,
                        reinterpret_cast<WPARAM>(own.Get()), lParam);
    }
    TransparentBlt(glass, 0, 0, w, h, own, 0, 0, w, h, GetSysColor(COLOR_WINDOW));
    BitBlt(GetDcExcludingChildren(control, paint), 0, 0, w, h, glass, 0, 0, SRCCOPY);
    return true;
}

// The fields of an IP-address control are its own edits, which no attach
// reaches: their glass brushes are taken back here, before they go.
void TakeBackFieldBackgrounds(HWND control) {
    for (HWND field = FindWindowExA(control, nullptr, nullptr, nullptr); field;
         field = FindWindowExA(control, field, nullptr, nullptr))
        DeleteHandedOutBackground(field);
}

bool ErasesNothing(HWND control, ListKind kind) {
    return kind == ListKind::TreeView || kind == ListKind::ListView ||
           (kind == ListKind::ListBox && !IsOwnerDrawListBox(control));
}

void OnListMouseMove(HWND control, const ControlIds& ids) {
    TrackMouseLeave(control);
    {
        SkinWindowRecord& r = SkinWindowTable[ids.record];
        r.HotEntry = ids.entry;
        if (ids.entry <= 0 ||
            (r.HotEntry == r.PreviousHotEntry && r.HotControlClass == kHotListControl))
            return;
    }
    ListEntry(ids).Hot = 1;
    PaintListFrame(ids.record, ids.entry, true);
    SkinWindowRecord& r = SkinWindowTable[ids.record];
    r.PreviousHotEntry = r.HotEntry;
    r.HotControlClass = kHotListControl;
}

}  // namespace

void AttachListControls(int record, HWND parent) {
    if (SkinControlsFlag == 0) return;
    ForEachChild(parent, "ListBox", [&](HWND list) { AttachListControl(record, list); });
    ForEachChild(parent, "ComboBox", [&](HWND combo) {
        HWND list = FindWindowExA(combo, nullptr, "ComboLBox", nullptr);
        if (list && !(StyleOf(list) & LBS_OWNERDRAWFIXED)) AttachListControl(record, list);
    });
    ForEachChild(parent, "SysListView32", [&](HWND view) {
        if (StyleOf(view) & LVS_SORTASCENDING) return;
        if (TransparentControlsFlag) SendMessageA(view, LVM_SETTEXTBKCOLOR, 0, CLR_NONE);
        AttachListControl(record, view);
    });
    ForEachChild(parent, "SysTreeView32", [&](HWND tree) {
        if (TransparentControlsFlag) SendMessageA(tree, TVM_SETBKCOLOR, 0, kKeyColour);
        AttachListControl(record, tree);
    });
    ForEachChild(parent, "SysIPAddress32", [&](HWND ip) { AttachListControl(record, ip); });
    ForEachChild(parent, "SysDateTimePick32",
                 [&](HWND picker) { AttachListControl(record, picker); });
}

LRESULT CALLBACK ListControlSkinProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    ControlIds ids;
    if (!LiveEntryOf(window, &SkinWindowRecord::ListControls, &ids))
        return CallPreviousProc(window, message, wParam, lParam);
    switch (message) {
    case WM_MOUSEMOVE:
        OnListMouseMove(window, ids);
        break;
    case WM_MOUSELEAVE:
        SkinWindowTable[ids.record].PreviousHotEntry = 0;
        if (ids.entry > 0) {
            ListEntry(ids).Hot = 0;
            PaintListFrame(ids.record, ids.entry, false);
        }
        break;
    case WM_MOVE:
        if (TransparentControlsFlag) InvalidateRect(window, nullptr, TRUE);
        break;
    case WM_ERASEBKGND: {
        if (!TransparentControlsFlag) break;
        const ListKind kind = KindOf(window);
        HDC dc = reinterpret_cast<HDC>(wParam);
        if (ErasesNothing(window, kind)) {
            SetBkMode(dc, TRANSPARENT);
            return 1;
        }
        if (kind == ListKind::IpAddress || kind == ListKind::DateTimePicker) {
            SetBkMode(dc, TRANSPARENT);
            PaintEditBackground(window, dc, true);
            SetTextColor(dc, static_cast<COLORREF>(ReadProp(window, prop::Kj_Ztys)));
            return 1;
        }
        break;
    }
    case WM_PAINT: {
        PaintListFrame(ids.record, ids.entry);
        if (!TransparentControlsFlag) break;
        const ListKind kind = KindOf(window);
        const bool tree = kind == ListKind::TreeView;
        const bool composited =
            kind == ListKind::IpAddress
                ? KeyWindowColourOntoGlass(window, lParam)
                : (tree || kind == ListKind::ListView || kind == ListKind::ListBox) &&
                      CompositeOnGlass(window, tree, lParam);
        if (composited)
            // The default answer is a paint of its own, which would validate
            // what was asked for while the skin painted.
            return KeepingPending(window,
                                  [&] { return DefWindowProcA(window, WM_PAINT, 0, lParam); });
        break;
    }
    case WM_CTLCOLOREDIT:
        // A field of an IP-address control, in the control's text colour.
        if (TransparentControlsFlag && KindOf(window) == ListKind::IpAddress)
            return AnswerIpFieldColour(window, wParam, lParam);
        break;
    case WM_DESTROY:
        if (KindOf(window) == ListKind::IpAddress) TakeBackFieldBackgrounds(window);
        break;
    case WM_SETFOCUS:
        ListEntry(ids).Focused = 1;
        PaintListFrame(ids.record, ids.entry);
        break;
    case WM_KILLFOCUS:
        ListEntry(ids).Focused = 0;
        PaintListFrame(ids.record, ids.entry);
        break;
    case WM_NCPAINT:
        PaintListFrame(ids.record, ids.entry);
        return PaintSystemScrollBars(window, lParam);
    case WM_VSCROLL:
    case WM_HSCROLL:
    case WM_MOUSEWHEEL:
        if (TransparentControlsFlag) InvalidateRect(window, nullptr, TRUE);
        break;
    case WM_KEYDOWN:
        if (wParam == VK_LEFT || wParam == VK_UP || wParam == VK_RIGHT || wParam == VK_DOWN)
            ListEntry(ids).ArrowKeyDown = 1;
        break;
    case WM_KEYUP:
        ReleaseCapture();
        ListEntry(ids).ArrowKeyDown = 0;
        break;
    case kListArrowRepaint:
        if (SkinWindowTable.Contains(ids.record) && TransparentControlsFlag &&
            ListEntry(ids).ArrowKeyDown != 0)
            InvalidateRect(window, nullptr, FALSE);
        break;
    default:
        break;
    }
    return CallPreviousProc(window, message, wParam, lParam);
}

void PaintListFrame(int record, int entry, std::optional<bool> hot, std::optional<bool> focused) {
    const SkinnedListControl& e = SkinWindowTable[record].ListControls[entry];
    HWND control = e.Window;
    const bool isHot = hot.value_or(e.Hot != 0);
    const bool isFocused = focused.value_or(e.Focused != 0);
    // Borderless controls and combo-box lists show no frame in any state.
    if (KindOf(control) == ListKind::ComboList || !HasBorderStyle(control)) return;
    PaintControlFrame(control, true,
                      [&](drw::GraphicsObject& graphics, int w, int h, const RECT& inner) {
                          graphics.ResetClip();
                          graphics.SetClipRect(static_cast<float>(inner.left),
                                               static_cast<float>(inner.top),
                                               static_cast<float>(inner.right - inner.left),
                                               static_cast<float>(inner.bottom - inner.top), 0);
                          graphics.Clear(kKeyArgb);
                          graphics.ResetClip();
                          DrawFrameBorder(graphics, w, h, isHot, isFocused,
                                          ColorRefToArgb(ThemeColor, kAccentAlpha), kNormalBorder);
                      });
}

bool HasBorderStyle(HWND window) {
    if (StyleOf(window) & WS_BORDER) return true;
    const LONG ex = GetWindowLongA(window, GWL_EXSTYLE);
    return (ex & (WS_EX_WINDOWEDGE | WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME)) != 0;
}

}  // namespace skin
