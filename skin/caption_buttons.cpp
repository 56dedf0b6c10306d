// The caption-button list as the strip uses it: layout, hit testing, the
// tooltip tools, custom buttons and the system button glyphs.
#include "skin/caption_buttons.h"

#include "skin/engine.h"
#include "skin/helpers.h"
#include "skin/record.h"

namespace skin {

namespace {

// Positions are computed as doubles; two of them are equal within this.
constexpr double kTolerance = 1e-7;

// The close button's hit rectangle is wider than its glyph.
constexpr float kCloseRectWidth = 40.0f;
constexpr float kButtonRectWidth = 26.0f;
constexpr float kButtonRectHeight = 18.0f;

RECT ToolRect(const drw::RectF& r) {
    return RECT{static_cast<LONG>(r.x), static_cast<LONG>(r.y),
                static_cast<LONG>(static_cast<double>(r.x) + r.width),
                static_cast<LONG>(static_cast<double>(r.y) + r.height)};
}

// Strictly inside, on both axes, with the tolerance.
bool StrictlyInside(const drw::RectF& r, int x, int y) {
    return x > r.x + kTolerance && x < static_cast<double>(r.x) + r.width - kTolerance &&
           y > r.y + kTolerance && y < static_cast<double>(r.y) + r.height - kTolerance;
}

}  // namespace

bool IsInCaptionButtonStrip(int record, LPARAM lParam) {
    if (!SkinWindowTable.Contains(record)) return false;
    const SkinWindowRecord& r = SkinWindowTable[record];
    const int x = MouseX(lParam);
    const int y = MouseY(lParam);
    return x >= r.StripX - 2 && x <= r.StripX + r.StripWidth && y >= 0 && y <= r.StripHeight;
}

void SkinEngine::LayoutCaptionButtons(int record) {
    if (!SkinWindowTable.Contains(record)) return;
    SkinWindowRecord& r = SkinWindowTable[record];
    if (r.Window) {
        RECT client{};
        GetClientRect(r.Window, &client);
        r.StripX = client.right - r.StripWidth + 1;
        r.StripHeight = kCaptionStripHeight;
    }
    const float x0 = static_cast<float>(r.StripX + 2);
    const float y0 = static_cast<float>(r.StripY + 1);
    for (int i = 1; i <= r.CaptionButtons.Count(); ++i) {
        CaptionButton& b = r.CaptionButtons[i];
        b.Rect.x = x0 + static_cast<float>(kCaptionButtonPitch * (i - 1));
        b.Rect.y = y0;
        b.Rect.width = b.Kind == 0 ? kCloseRectWidth : kButtonRectWidth;
        b.Rect.height = kButtonRectHeight;
        r.CaptionTooltip.NewToolRect(static_cast<UINT_PTR>(i), ToolRect(b.Rect));
        r.CaptionTooltip.UpdateTipText(static_cast<UINT_PTR>(i), b.TipText);
    }
}

int SkinEngine::HitCaptionButton(int record, int x, int y) {
    if (!SkinWindowTable.Contains(record)) return 0;
    const SkinWindowRecord& r = SkinWindowTable[record];
    if (x < r.StripX - kTolerance || y < r.StripY - kTolerance ||
        y > r.StripY + r.StripHeight + kTolerance)
        return 0;
    for (int i = 1; i <= r.CaptionButtons.Count(); ++i)
        if (StrictlyInside(r.CaptionButtons[i].Rect, x, y)) return i;
    return 0;
}

int SkinEngine::FindMaximizeButton(int record) {
    if (!SkinWindowTable.Contains(record)) return 0;
    const SkinWindowRecord& r = SkinWindowTable[record];
    for (int i = 1; i <= r.CaptionButtons.Count(); ++i)
        if (r.CaptionButtons[i].Kind == 1) return i;
    return 0;
}

bool SkinEngine::AddCaptionButton(HWND window, const rt::ByteString& image,
                                  const rt::AnsiText& tipText, RoutineAddress routine) {
    const int record = OwnRecordIndex(window);
    if (record == 0) return false;
    SkinWindowRecord& r = SkinWindowTable[record];
    r.StripWidth += kCaptionButtonPitch;

    CaptionButton custom;
    custom.Width = 26;
    custom.Height = 18;
    custom.Image = image;
    custom.Kind = 5;
    custom.TipText = tipText;
    custom.Callback = routine;
    rt::CountedArray<CaptionButton> buttons;
    buttons.Append(std::move(custom));
    for (CaptionButton& b : r.CaptionButtons) buttons.Append(std::move(b));
    r.CaptionButtons = std::move(buttons);
    // Everything that names one of this window's buttons by its index
    // follows it up one place, so a running fade, the hot button and the
    // click of a press not yet released stay on the button they were on.
    // The engine's pointed button names one of this window's buttons for a
    // release only while a press on them is pending; otherwise it is some
    // other window's, or read by nothing before the next move or press.
    auto follow = [](int& button) {
        if (button > 0) ++button;
    };
    follow(r.HotCaptionButton);
    follow(r.FadeIn.Button);
    follow(r.FadeOut.Button);
    if (r.CaptionPressPending) follow(PointerCaptionButton);

    // The tools keep their ids; the layout gives tool i the rectangle and tip
    // of button i, so one more tool is all the new button needs.
    r.CaptionTooltip.AddTool(RECT{0, 0, 0, 0}, tipText,
                             static_cast<UINT_PTR>(r.CaptionButtons.Count()));
    LayoutCaptionButtons(record);
    return true;
}

void SkinEngine::SetHelpButtonCallback(HWND window, RoutineAddress routine) {
    const int record = FindWindowRecord(window);
    if (record > 0) SkinWindowTable[record].HelpCallback = routine;
}

void SkinEngine::SetMenuButtonCallback(HWND window, RoutineAddress routine) {
    const int record = FindWindowRecord(window);
    if (record > 0) SkinWindowTable[record].MenuCallback = routine;
}

RECT SkinEngine::GetCaptionStripRect(HWND window) {
    const int record = FindWindowRecord(window);
    if (record <= 0) return RECT{0, 0, 0, 0};
    const SkinWindowRecord& r = SkinWindowTable[record];
    return RECT{r.StripX, r.StripY, r.StripX + r.StripWidth, r.StripY + r.StripHeight};
}

bool SkinEngine::SetSystemButtonImages(HWND window, const rt::ByteString* minimize,
                                       const rt::ByteString* maximize,
                                       const rt::ByteString* restore,
                                       const rt::ByteString* close) {
    const int record = OwnRecordIndex(window);
    if (record == 0) return false;
    SkinWindowRecord& r = SkinWindowTable[record];
    const int n = r.CaptionButtons.Count();
    if (n <= 0) return false;

    // The style says which of the last buttons are the system ones. When it
    // changed since the attach, fewer buttons may exist than it names: a
    // position before the first button is skipped.
    auto set = [&r](int position, const rt::ByteString* image, const rt::ByteString* second) {
        if (position < 1) return;
        CaptionButton& b = r.CaptionButtons[position];
        if (image) b.Image = *image;
        if (second) b.SecondImage = *second;
    };
    const LONG style = GetWindowLongA(window, GWL_STYLE);
    const bool hasMin = (style & WS_MINIMIZEBOX) != 0;
    const bool hasMax = (style & WS_MAXIMIZEBOX) != 0;
    if (hasMin && hasMax) {
        set(n - 2, minimize, nullptr);
        set(n - 1, maximize, restore);
    } else if (hasMin) {
        set(n - 1, minimize, nullptr);
    } else if (hasMax) {
        set(n - 1, maximize, restore);
    }
    set(n, close, nullptr);

    for (int i = 1; i <= n; ++i) PaintCaptionButton(record, i);
    return true;
}

}  // namespace skin
