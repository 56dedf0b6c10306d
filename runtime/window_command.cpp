// The window command: a window's title and icon.
#include "runtime/units_internal.h"

namespace rt {

bool WindowCommand(int windowUnit, const ByteString& icoBytes, const AnsiText& title) {
    RequireUnitKind(windowUnit, UnitKind::Window);
    detail::Unit& u = detail::RequireUnit(windowUnit);
    SetWindowTextA(u.hwnd, title.c_str());
    HICON icon = detail::IconFromIcoBytes(icoBytes);
    if (!icon) return false;
    SendMessageA(u.hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageA(u.hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    if (u.icon) DestroyIcon(u.icon);
    u.icon = icon;
    return true;
}

}  // namespace rt
