// The engine's method table: one invoker per operation, in table order.
// A slot stays empty until the unit that defines its operation adds its line;
// a thunk for an empty slot is empty.
#include "skin/method_table.h"

#include <array>

#include "drawing/drawing.h"

#include "skin/record.h"
#include "skin/status_bar.h"
#include "skin/controls/image_button.h"

namespace skin {
namespace {

using namespace thunk_args;

ThunkWord InvokeCopy(SkinEngine* self, const ThunkWord*) {
    // The caller owns the new object.
    return thunk_detail::ToResult(self->Copy().release());
}

// Adapters for the operations whose arguments are no plain numbers.
// Through a thunk every number is given; a text, picture, rectangle or
// graphics argument of address 0 is not given.

rt::AnsiText TextOrEmpty(ThunkWord v) {
    const char* text = Text(v);
    return text ? rt::AnsiText(text) : rt::AnsiText();
}
std::optional<rt::AnsiText> OptionalText(ThunkWord v) {
    const char* text = Text(v);
    return text ? std::optional<rt::AnsiText>(text) : std::nullopt;
}
const rt::ByteString& PictureOrEmpty(ThunkWord v) {
    static const rt::ByteString none;
    const rt::ByteString* picture = Pointer<const rt::ByteString>(v);
    return picture ? *picture : none;
}
// A surface that is not given is one that holds nothing: every drawing call
// on it fails quietly, as on a surface whose creation failed.
template <class Paint>
ThunkWord OnGraphics(ThunkWord v, Paint paint) {
    drw::GraphicsObject none;
    drw::GraphicsObject* given = Pointer<drw::GraphicsObject>(v);
    paint(given ? *given : none);
    return 0;
}
// A rectangle that is not given is the empty one.
RECT RectOrEmpty(ThunkWord v) {
    const RECT* rect = Pointer<const RECT>(v);
    return rect ? *rect : RECT{0, 0, 0, 0};
}

// (window, picture, tip, routine) -> bool
ThunkWord InvokeAddCaptionButton(SkinEngine* self, const ThunkWord* a) {
    return self->AddCaptionButton(Window(a[0]), PictureOrEmpty(a[1]), TextOrEmpty(a[2]),
                                  static_cast<RoutineAddress>(a[3]));
}
// (window, face (0: kept), size, title colour, halo colour, bold) -> bool
ThunkWord InvokeSetCaptionTextStyle(SkinEngine* self, const ThunkWord* a) {
    return self->SetCaptionTextStyle(Window(a[0]), OptionalText(a[1]), static_cast<int>(a[2]),
                                      static_cast<COLORREF>(a[3]), static_cast<COLORREF>(a[4]),
                                      static_cast<int>(a[5]));
}
// (window, picture, mode) -> 1 done, 0 refused
ThunkWord InvokeSetWindowBackground(SkinEngine* self, const ThunkWord* a) {
    return static_cast<ThunkWord>(
        self->SetWindowBackground(Window(a[0]), PictureOrEmpty(a[1]), static_cast<int>(a[2])));
}
// (path (0: none), picture (0: none), colour, theme colour or -1, mode)
ThunkWord InvokeSetSkinTheme(SkinEngine* self, const ThunkWord* a) {
    self->SetSkinTheme(OptionalText(a[0]), Pointer<const rt::ByteString>(a[1]),
                       static_cast<COLORREF>(a[2]), static_cast<int32_t>(a[3]),
                       static_cast<int>(a[4]));
    return 0;
}
// (graphics, record)
ThunkWord InvokePaintWindowBackground(SkinEngine* self, const ThunkWord* a) {
    return OnGraphics(a[0], [&](drw::GraphicsObject& g) {
        self->PaintWindowBackground(g, static_cast<int>(a[1]));
    });
}
// (record, graphics)
ThunkWord InvokePaintWindowBorder(SkinEngine* self, const ThunkWord* a) {
    return OnGraphics(a[1], [&](drw::GraphicsObject& g) {
        self->PaintWindowBorder(static_cast<int>(a[0]), g);
    });
}
// (record, button, graphics)
ThunkWord InvokePaintCaptionSeparators(SkinEngine* self, const ThunkWord* a) {
    return OnGraphics(a[2], [&](drw::GraphicsObject& g) {
        self->PaintCaptionSeparators(static_cast<int>(a[0]), static_cast<int>(a[1]), g);
    });
}
// (record, rectangle)
ThunkWord InvokeRestoreCaptionCache(SkinEngine* self, const ThunkWord* a) {
    self->RestoreCaptionCache(static_cast<int>(a[0]), RectOrEmpty(a[1]));
    return 0;
}
// (record, rectangle)
ThunkWord InvokeRestoreStatusBarCache(SkinEngine* self, const ThunkWord* a) {
    self->RestoreStatusBarCache(static_cast<int>(a[0]), RectOrEmpty(a[1]));
    return 0;
}
// (graphics, record, button, alpha)
ThunkWord InvokePaintCaptionButtonHighlight(SkinEngine* self, const ThunkWord* a) {
    return OnGraphics(a[0], [&](drw::GraphicsObject& g) {
        self->PaintCaptionButtonHighlight(g, static_cast<int>(a[1]), static_cast<int>(a[2]),
                                          static_cast<int>(a[3]));
    });
}
// (record, graphics (0: its own, copied to the window), title (0: the window's text))
ThunkWord InvokePaintCaption(SkinEngine* self, const ThunkWord* a) {
    self->PaintCaption(static_cast<int>(a[0]), Pointer<drw::GraphicsObject>(a[1]),
                       OptionalText(a[2]));
    return 0;
}
// The sizing zones lie along the client rectangle's right and bottom: taken
// as empty, a rectangle not given would put every point in a corner and any
// press would start a sizing loop. The window's own client rectangle, the
// one the window procedure passes, stands in for it.
RECT ClientRectOrRecords(int record, ThunkWord v) {
    if (const RECT* rect = Pointer<const RECT>(v)) return *rect;
    RECT client{0, 0, 0, 0};
    if (SkinWindowTable.Contains(record)) GetClientRect(SkinWindowTable[record].Window, &client);
    return client;
}
// (record, lParam, client rectangle (0: the window's own))
ThunkWord InvokeCaptionMouseDown(SkinEngine* self, const ThunkWord* a) {
    const int record = static_cast<int>(a[0]);
    self->CaptionMouseDown(record, static_cast<LPARAM>(a[1]), ClientRectOrRecords(record, a[2]));
    return 0;
}
// (record, lParam, client rectangle (0: the window's own))
ThunkWord InvokeUpdateResizeCursor(SkinEngine* self, const ThunkWord* a) {
    const int record = static_cast<int>(a[0]);
    self->UpdateResizeCursor(record, static_cast<LPARAM>(a[1]), ClientRectOrRecords(record, a[2]));
    return 0;
}
// (window, rectangle out) -> the rectangle's address: the strip's rectangle
// is written there, as a compiler hands back a returned record.
ThunkWord InvokeGetCaptionStripRect(SkinEngine* self, const ThunkWord* a) {
    RECT* out = Pointer<RECT>(a[1]);
    const RECT strip = self->GetCaptionStripRect(Window(a[0]));
    if (out) *out = strip;
    return a[1];
}

std::array<OperationInvoker, kOperationCount> MakeTable() {
    std::array<OperationInvoker, kOperationCount> t{};
    auto slot = [&t](Operation op, OperationInvoker f) { t[static_cast<int>(op)] = f; };
    slot(Operation::Destroy, InvokerOf<&SkinEngine::Destroy>());
    slot(Operation::Copy, &InvokeCopy);
    slot(Operation::SetControlOptions, InvokerOf<&SkinEngine::SetControlOptions>());
    // Status bar and docked windows.
    slot(Operation::CreateStatusBar, InvokerOf<&SkinEngine::CreateStatusBar>());
    slot(Operation::LayoutStatusBar, InvokerOf<&SkinEngine::LayoutStatusBar>());
    slot(Operation::PaintStatusPane, InvokerOf<&SkinEngine::PaintStatusPane>());
    slot(Operation::SetPaneText, &InvokeSetPaneText);
    slot(Operation::SetStatusBarStyle, &InvokeSetStatusBarStyle);
    slot(Operation::LayoutDockedPanes, InvokerOf<&SkinEngine::LayoutDockedPanes>());
    // Frame, background and caption strip.
    slot(Operation::RenderWindow, InvokerOf<&SkinEngine::RenderWindow>());
    slot(Operation::BlitWindowCache, InvokerOf<&SkinEngine::BlitWindowCache>());
    slot(Operation::PaintCaptionButton, InvokerOf<&SkinEngine::PaintCaptionButton>());
    slot(Operation::LayoutCaptionButtons, InvokerOf<&SkinEngine::LayoutCaptionButtons>());
    slot(Operation::HitCaptionButton, InvokerOf<&SkinEngine::HitCaptionButton>());
    slot(Operation::FindMaximizeButton, InvokerOf<&SkinEngine::FindMaximizeButton>());
    slot(Operation::SetHelpButtonCallback, InvokerOf<&SkinEngine::SetHelpButtonCallback>());
    slot(Operation::SetMenuButtonCallback, InvokerOf<&SkinEngine::SetMenuButtonCallback>());
    slot(Operation::GetPictureColor, InvokerOf<&SkinEngine::GetPictureColor>());
    slot(Operation::SetSystemButtonImages, InvokerOf<&SkinEngine::SetSystemButtonImages>());
    slot(Operation::AddCaptionButton, &InvokeAddCaptionButton);
    slot(Operation::GetCaptionStripRect, &InvokeGetCaptionStripRect);
    slot(Operation::SetCaptionTextStyle, &InvokeSetCaptionTextStyle);
    slot(Operation::SetWindowBackground, &InvokeSetWindowBackground);
    slot(Operation::SetSkinTheme, &InvokeSetSkinTheme);
    slot(Operation::PaintWindowBackground, &InvokePaintWindowBackground);
    slot(Operation::PaintWindowBorder, &InvokePaintWindowBorder);
    slot(Operation::PaintCaptionSeparators, &InvokePaintCaptionSeparators);
    slot(Operation::RestoreCaptionCache, &InvokeRestoreCaptionCache);
    slot(Operation::RestoreStatusBarCache, &InvokeRestoreStatusBarCache);
    slot(Operation::PaintCaptionButtonHighlight, &InvokePaintCaptionButtonHighlight);
    slot(Operation::PaintCaption, &InvokePaintCaption);
    // Window procedure, caption clicks, attach, caption drag and resizing.
    slot(Operation::SkinWindowProc, InvokerOf<&SkinEngine::SkinWindowProc>());
    slot(Operation::OnCaptionButtonClick, InvokerOf<&SkinEngine::OnCaptionButtonClick>());
    slot(Operation::AttachSkin, InvokerOf<&SkinEngine::AttachSkin>());
    slot(Operation::CaptionMouseDown, &InvokeCaptionMouseDown);
    slot(Operation::UpdateResizeCursor, &InvokeUpdateResizeCursor);
    slot(Operation::SetControlTextColor, InvokerOf<&SkinEngine::SetControlTextColor>());
    // Picture buttons and plain controls.
    slot(Operation::SetButtonImage, &InvokeSetButtonImage);
    slot(Operation::SetButtonImages, &InvokeSetButtonImages);
    slot(Operation::AttachPlainControl, InvokerOf<&SkinEngine::AttachPlainControl>());
    // Containers.
    slot(Operation::AttachContainer, InvokerOf<&SkinEngine::AttachContainer>());
    slot(Operation::SetContainerAlpha, InvokerOf<&SkinEngine::SetContainerAlpha>());
    return t;
}

}  // namespace

OperationInvoker MethodSlot(Operation op) {
    static const std::array<OperationInvoker, kOperationCount> table = MakeTable();
    const int i = static_cast<int>(op);
    return i >= 0 && i < kOperationCount ? table[i] : nullptr;
}

}  // namespace skin
