// The transparent label: a static text with a see-through background. It
// never erases, draws its text with a transparent background mode, and lets
// the mouse through to whatever lies beneath it (HTTRANSPARENT), so a tip
// over a list box still lets the list box see the mouse.
//
// With nothing of its own behind the text, the label stays readable over a
// busy picture or over the items of a list box only because every glyph is
// drawn with a one-pixel outline in the text's contrast colour first.
#include "runtime/units_internal.h"

#include <algorithm>

namespace rt::detail {
namespace {

// The paragraphs of a label's text: the pieces between CR LF.
std::vector<AnsiText> Paragraphs(const AnsiText& text) {
    std::vector<AnsiText> pieces;
    std::size_t start = 0;
    for (std::size_t at; (at = text.find("\r\n", start)) != AnsiText::npos; start = at + 2)
        pieces.push_back(text.substr(start, at - start));
    pieces.push_back(text.substr(start));
    return pieces;
}

UINT TextFormat() { return DT_LEFT | DT_TOP | DT_WORDBREAK | DT_NOPREFIX; }

}  // namespace

void DrawLabelText(HWND hwnd, HDC dc) {
    RECT rc;
    GetClientRect(hwnd, &rc);
    const int len = GetWindowTextLengthA(hwnd);
    std::vector<char> buffer(static_cast<std::size_t>(len) + 1);
    const int got = GetWindowTextA(hwnd, buffer.data(), len + 1);
    const AnsiText text(buffer.data(), static_cast<std::size_t>(std::max(got, 0)));
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF ink = GetSysColor(COLOR_WINDOWTEXT);
    const COLORREF oldColour = GetTextColor(dc);
    HGDIOBJ oldFont = SelectObject(dc, UnitFont());
    const std::vector<RECT> lines = LabelLayout(dc, text, rc);
    const std::vector<AnsiText> paragraphs = Paragraphs(text);
    static const POINT kOutline[] = {{0, -1}, {-1, 0}, {1, 0}, {0, 1}};
    for (std::size_t i = 0; i < lines.size() && i < paragraphs.size(); ++i) {
        if (paragraphs[i].empty()) continue;
        const int n = static_cast<int>(paragraphs[i].size());
        SetTextColor(dc, DerivedColour(ink));
        for (const POINT& d : kOutline) {
            RECT r = lines[i];
            OffsetRect(&r, d.x, d.y);
            DrawTextA(dc, paragraphs[i].data(), n, &r, TextFormat());
        }
        SetTextColor(dc, ink);
        RECT r = lines[i];
        DrawTextA(dc, paragraphs[i].data(), n, &r, TextFormat());
    }
    SelectObject(dc, oldFont);
    SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
}

namespace {

void PaintLabel(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    DrawLabelText(hwnd, dc);
    EndPaint(hwnd, &ps);
}

LRESULT CALLBACK LabelProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_ERASEBKGND: return 1;  // see-through: what lies beneath stays
    case WM_NCHITTEST: return HTTRANSPARENT;
    case WM_PAINT: PaintLabel(hwnd); return 0;
    case WM_SETTEXT: {
        const LRESULT r = DefWindowProcA(hwnd, msg, wp, lp);
        InvalidateRect(hwnd, nullptr, FALSE);
        return r;
    }
    default: return DefWindowProcA(hwnd, msg, wp, lp);
    }
}

}  // namespace

std::vector<int> SqueezeBlankLines(const std::vector<int>& heights, int lineHeight, int room) {
    // Trailing empty paragraphs carry nothing to show and take no room.
    std::size_t shown = heights.size();
    while (shown > 0 && heights[shown - 1] == 0) --shown;
    int text = 0, blanks = 0;
    for (std::size_t i = 0; i < shown; ++i) {
        if (heights[i]) text += heights[i];
        else ++blanks;
    }
    int blank = lineHeight;
    if (blanks && text + blanks * lineHeight > room)
        blank = std::clamp((room - text) / blanks, std::max(lineHeight / 3, 1), lineHeight);
    std::vector<int> tops;
    int y = 0;
    for (std::size_t i = 0; i < heights.size(); ++i) {
        tops.push_back(y);
        y += heights[i] ? heights[i] : (i < shown ? blank : 0);
    }
    return tops;
}

std::vector<RECT> LabelLayout(HDC dc, const AnsiText& text, const RECT& client) {
    TEXTMETRICA tm = {};
    GetTextMetricsA(dc, &tm);
    const int lineHeight = std::max<int>(tm.tmHeight, 1);
    const std::vector<AnsiText> paragraphs = Paragraphs(text);
    std::vector<int> heights;
    for (const AnsiText& p : paragraphs) {
        if (p.empty()) {
            heights.push_back(0);
            continue;
        }
        RECT r = client;
        DrawTextA(dc, p.data(), static_cast<int>(p.size()), &r, TextFormat() | DT_CALCRECT);
        heights.push_back(std::max<int>(r.bottom - r.top, lineHeight));
    }
    const std::vector<int> tops = SqueezeBlankLines(heights, lineHeight, client.bottom - client.top);
    std::vector<RECT> lines;
    for (std::size_t i = 0; i < paragraphs.size(); ++i) {
        const int top = client.top + tops[i];
        lines.push_back({client.left, top, client.right, top + (heights[i] ? heights[i] : lineHeight)});
    }
    return lines;
}

void RedrawLabelText(HWND label) {
    HDC dc = GetDC(label);
    DrawLabelText(label, dc);
    ReleaseDC(label, dc);
}

const char* TransparentLabelClass() {
    static const char* name = [] {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = LabelProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        wc.lpszClassName = "RtTransparentLabel";
        RegisterClassA(&wc);
        return "RtTransparentLabel";
    }();
    return name;
}

}  // namespace rt::detail
