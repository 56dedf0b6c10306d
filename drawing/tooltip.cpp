#include "drawing/drawing.h"

#include <commctrl.h>

#include <cstddef>

namespace drw {

// The record ends with the text's address, whatever the platform's width.
static_assert(sizeof(TooltipObject::ToolInfo) ==
                  offsetof(TOOLINFOA, lpszText) + sizeof(TOOLINFOA::lpszText),
              "TOOLINFOA without lParam");
static_assert(sizeof(TooltipObject::ToolInfo) == (sizeof(void*) == 4 ? 40 : 56),
              "40 bytes in the 32-bit program, 56 in the 64-bit one");

HWND TooltipObject::Create(HWND owner, Opt<int> balloon) {
    Owner = owner;
    const DWORD style = balloon.value ? (TTS_ALWAYSTIP | TTS_BALLOON) : TTS_ALWAYSTIP;
    TipWindow = CreateWindowExA(0, "ToolTips_class32", "", style, CW_USEDEFAULT, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, GetModuleHandleA(nullptr),
                                nullptr);
    return TipWindow;
}

TooltipObject::ToolInfo TooltipObject::Tool(UINT_PTR id) const {
    ToolInfo info{};
    info.cbSize = sizeof(ToolInfo);
    info.uFlags = TTF_SUBCLASS;
    info.hwnd = Owner;
    info.uId = id;
    return info;
}

LRESULT TooltipObject::Send(UINT message, WPARAM wParam, const ToolInfo* info) {
    return SendMessageA(TipWindow, message, wParam, reinterpret_cast<LPARAM>(info));
}

LRESULT TooltipObject::AddTool(const RECT& rect, const AnsiText& text, UINT_PTR id) {
    ToolInfo info = Tool(id);
    info.rect = rect;
    info.lpszText = const_cast<char*>(text.c_str());
    return Send(TTM_ADDTOOLA, 0, &info);
}
LRESULT TooltipObject::AddCallbackTool(const RECT& rect, UINT_PTR id) {
    ToolInfo info = Tool(id);
    info.rect = rect;
    info.lpszText = LPSTR_TEXTCALLBACKA;
    return Send(TTM_ADDTOOLA, 0, &info);
}
LRESULT TooltipObject::SetTipBackColor(COLORREF colour) {
    return SendMessageA(TipWindow, TTM_SETTIPBKCOLOR, colour, 0);
}
LRESULT TooltipObject::SetTipTextColor(COLORREF colour) {
    return SendMessageA(TipWindow, TTM_SETTIPTEXTCOLOR, colour, 0);
}
LRESULT TooltipObject::SetMaxTipWidth(int width) { return SendMessageA(TipWindow, TTM_SETMAXTIPWIDTH, 0, width); }
LRESULT TooltipObject::DeleteTool(UINT_PTR id) {
    const ToolInfo info = Tool(id);
    return Send(TTM_DELTOOLA, 0, &info);
}
LRESULT TooltipObject::NewToolRect(UINT_PTR id, const RECT& rect) {
    ToolInfo info = Tool(id);
    info.rect = rect;
    return Send(TTM_NEWTOOLRECTA, 0, &info);
}
LRESULT TooltipObject::UpdateTipText(UINT_PTR id, const AnsiText& text) {
    ToolInfo info = Tool(id);
    info.lpszText = const_cast<char*>(text.c_str());
    return Send(TTM_UPDATETIPTEXTA, 0, &info);
}

}  // namespace drw
