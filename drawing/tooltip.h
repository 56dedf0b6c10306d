// TooltipObject: one common-controls tooltip window whose tools are
// rectangles of an owner window.
#pragma once

#include <windows.h>

#include "drawing/native_object.h"

namespace drw {

// Every message that names a tool sends the TOOLINFOA without its lParam
// member (40 bytes in the 32-bit program, 56 in the 64-bit one) with uFlags TTF_SUBCLASS and hwnd = the owner. Destruction leaves the
// tooltip window alone; copies are plain copies that stand for the same window.
class TooltipObject {
public:
    // The TOOLINFOA of the old common controls: what every tool message carries.
    struct ToolInfo {
        UINT cbSize;
        UINT uFlags;
        HWND hwnd;
        UINT_PTR uId;
        RECT rect;
        HINSTANCE hinst;
        LPSTR lpszText;
    };

    void Destroy() {}
    TooltipObject Copy() const { return *this; }
    // Style TTS_ALWAYSTIP, plus TTS_BALLOON when balloon's value is non-zero.
    // Returns the tooltip window (0 on failure).
    HWND Create(HWND owner, Opt<int> balloon = {});
    // The control copies the text; the caller may free it afterwards.
    LRESULT AddTool(const RECT& rect, const AnsiText& text, UINT_PTR id);
    // The owner is asked for the text (TTN_GETDISPINFO).
    LRESULT AddCallbackTool(const RECT& rect, UINT_PTR id);
    LRESULT SetTipBackColor(COLORREF colour);
    LRESULT SetTipTextColor(COLORREF colour);
    LRESULT SetMaxTipWidth(int width);               // the previous width
    LRESULT DeleteTool(UINT_PTR id);
    LRESULT NewToolRect(UINT_PTR id, const RECT& rect);
    LRESULT UpdateTipText(UINT_PTR id, const AnsiText& text);
    HWND GetHwnd() const { return TipWindow; }

    HWND TipWindow = nullptr;
    HWND Owner = nullptr;

private:
    ToolInfo Tool(UINT_PTR id) const;
    LRESULT Send(UINT message, WPARAM wParam, const ToolInfo* info);
};

}  // namespace drw
