// Windows built from their designs: the unit table, the subclassing of
// every child, creation in design order, event delivery, visibility and unit
// queries.
#include "runtime/units_internal.h"

#include <commctrl.h>

namespace rt {
namespace detail {
namespace {

const char kUnitProp[] = "RtUnitId";
const char kWindowClass[] = "RtDesignWindow";

// The main window of RunProgram is marked before it is built, so its
// created handler can already ask for it.
int g_mainUnit = 0;

template <class Handler, class... Args>
void Raise(const Handler& handler, Args&&... args) {
    if (handler) {
        Handler copy = handler;  // the handler may build or destroy units
        copy(std::forward<Args>(args)...);
    }
}

void RaiseMouseMoved(Unit* unit, WPARAM wp, LPARAM lp) {
    if (!unit) return;
    Raise(unit->events.mouseMoved, static_cast<int32_t>(wp),
          static_cast<int32_t>(static_cast<short>(LOWORD(lp))),
          static_cast<int32_t>(static_cast<short>(HIWORD(lp))));
}

void MarkDead(HWND hwnd) {
    if (Unit* u = UnitOfWindow(hwnd)) {
        if (u->icon) DestroyIcon(u->icon);
        u->icon = nullptr;
        u->alive = false;
        u->hwnd = nullptr;
    }
}

LRESULT CALLBACK ChildProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    Unit* unit = UnitOfWindow(hwnd);
    WNDPROC replaced = unit ? unit->replacedProc : nullptr;
    if (!replaced) return DefWindowProcA(hwnd, msg, wp, lp);
    switch (msg) {
    case WM_MOUSEMOVE: RaiseMouseMoved(unit, wp, lp); break;
    case WM_PAINT: {
        const LRESULT r = CallWindowProcA(replaced, hwnd, msg, wp, lp);
        // A DC in wParam: whoever subclassed the unit above us has it paint
        // into a picture of its own, which reaches the screen only after we
        // return; the labels must draw after that (their paint invalidates
        // nothing beneath them, so it calls for no paint of ours).
        const LabelRepaint when = wp ? LabelRepaint::InTheirTurn : LabelRepaint::Now;
        if ((unit = UnitOfWindow(hwnd))) RepaintLabelsOver(*unit, when);
        return r;
    }
    case WM_VSCROLL:
    case WM_HSCROLL:
    case WM_MOUSEWHEEL: {
        // Scrolling copies the label's text along with the content.
        const LRESULT r = CallWindowProcA(replaced, hwnd, msg, wp, lp);
        InvalidateRect(hwnd, nullptr, TRUE);
        return r;
    }
    case WM_NCDESTROY: {
        const LRESULT r = CallWindowProcA(replaced, hwnd, msg, wp, lp);
        MarkDead(hwnd);
        RemovePropA(hwnd, kUnitProp);
        return r;
    }
    default: break;
    }
    return CallWindowProcA(replaced, hwnd, msg, wp, lp);
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_COMMAND:
        if (HIWORD(wp) == BN_CLICKED && lp)
            if (Unit* u = UnitOfWindow(reinterpret_cast<HWND>(lp))) Raise(u->events.clicked);
        return 0;
    case WM_MOUSEMOVE:
        RaiseMouseMoved(UnitOfWindow(hwnd), wp, lp);
        return 0;
    case WM_CLOSE:
        DestroyWindow(hwnd);
        return 0;
    case WM_DESTROY: {
        RevokeDragDrop(hwnd);
        Unit* u = UnitOfWindow(hwnd);
        if (u && u->id == g_mainUnit) PostQuitMessage(0);
        return 0;
    }
    case WM_NCDESTROY: {
        if (Unit* u = UnitOfWindow(hwnd)) {
            const int windowUnit = u->id;
            for (auto& other : Units())  // windowless units go with their window
                if (other->windowUnit == windowUnit && !other->hwnd) other->alive = false;
        }
        MarkDead(hwnd);
        RemovePropA(hwnd, kUnitProp);
        return DefWindowProcA(hwnd, msg, wp, lp);
    }
    default: return DefWindowProcA(hwnd, msg, wp, lp);
    }
}

void RegisterPlainClass(const char* name, WNDPROC proc, HBRUSH background) {
    WNDCLASSA wc = {};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.lpszClassName = name;
    RegisterClassA(&wc);
}

void RegisterClassesOnce() {
    static bool done = false;
    if (done) return;
    done = true;
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    HBRUSH face = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    RegisterPlainClass(kWindowClass, WindowProc, face);
    RegisterPlainClass("RtDrawingBoard", DefWindowProcA, face);
    RegisterPlainClass("RtShapeBox", DefWindowProcA, face);
    TransparentLabelClass();
}

struct ChildClass {
    const char* cls;
    DWORD style;
    DWORD exStyle;
};

ChildClass ClassOf(UnitKind kind) {
    switch (kind) {
    case UnitKind::PushButton: return {"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0};
    case UnitKind::ListBox:
        // A horizontal scroll bar too (shown only when an item is wider than
        // the box): a long path keeps its file name, at its end, in reach.
        return {"LISTBOX", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP,
                WS_EX_CLIENTEDGE};
    case UnitKind::TransparentLabel: return {TransparentLabelClass(), 0, WS_EX_TRANSPARENT};
    case UnitKind::GroupBox: return {"BUTTON", BS_GROUPBOX, 0};
    case UnitKind::Label: return {"STATIC", SS_LEFT | SS_NOTIFY, 0};
    case UnitKind::PictureBox: return {"STATIC", SS_NOTIFY, 0};
    case UnitKind::DrawingBoard: return {"RtDrawingBoard", 0, 0};
    case UnitKind::TabControl: return {WC_TABCONTROLA, WS_TABSTOP, 0};
    case UnitKind::ShapeBox: return {"RtShapeBox", 0, 0};
    case UnitKind::Window:
    case UnitKind::DropTarget: break;
    }
    ErrorReport("a unit kind that cannot be a child window");
}

Unit& NewUnit(const UnitDesign& d, int windowUnit) {
    auto u = std::make_unique<Unit>();
    u->id = static_cast<int>(Units().size()) + 1;
    u->name = d.name;
    u->kind = d.kind;
    u->windowUnit = windowUnit ? windowUnit : u->id;
    u->events = d.events;
    u->visible = d.visible;
    Units().push_back(std::move(u));
    return *Units().back();
}

void CreateChild(Unit& unit, const UnitDesign& d, HWND parent) {
    const ChildClass c = ClassOf(d.kind);
    const DWORD style = WS_CHILD | c.style | (d.visible ? WS_VISIBLE : 0);
    unit.hwnd = CreateWindowExA(c.exStyle, c.cls, d.text.c_str(), style, d.left, d.top, d.width,
                                d.height, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!unit.hwnd) ErrorReport("a unit of the window design could not be created");
    SetPropA(unit.hwnd, kUnitProp, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(unit.id)));
    SendMessageA(unit.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(UnitFont()), FALSE);
    unit.replacedProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(unit.hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ChildProc)));
}

}  // namespace

std::vector<std::unique_ptr<Unit>>& Units() {
    static std::vector<std::unique_ptr<Unit>> units;
    return units;
}

Unit& RequireUnit(int id) {
    Unit* u = FindUnit(id);
    if (!u) ErrorReport("a unit id that names no unit");
    return *u;
}

Unit* FindUnit(int id) {
    if (id < 1 || id > static_cast<int>(Units().size())) return nullptr;
    Unit* u = Units()[static_cast<std::size_t>(id - 1)].get();
    return u->alive ? u : nullptr;
}

Unit* UnitOfWindow(HWND hwnd) {
    if (!hwnd) return nullptr;
    return FindUnit(static_cast<int>(reinterpret_cast<INT_PTR>(GetPropA(hwnd, kUnitProp))));
}

HFONT UnitFont() {
    struct Font {
        HFONT h = CreateFontA(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, GB2312_CHARSET, OUT_DEFAULT_PRECIS,
                              CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "宋体");
        ~Font() { DeleteObject(h); }
    };
    static Font font;
    return font.h;
}

int BuildWindowMarked(const WindowDesign& design, bool isMain) {
    if (design.empty() || design[0].kind != UnitKind::Window)
        ErrorReport("a window design must begin with its window");
    RegisterClassesOnce();
    const UnitDesign& w = design[0];
    Unit& window = NewUnit(w, 0);
    const int windowId = window.id;
    if (isMain) g_mainUnit = windowId;
    // No caption and no border: the window rectangle is the client rectangle.
    const DWORD style = WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_CLIPCHILDREN;
    HWND hwnd = CreateWindowExA(0, kWindowClass, w.text.c_str(), style, w.left, w.top, w.width, w.height,
                                nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!hwnd) ErrorReport("the window of a design could not be created");
    window.hwnd = hwnd;
    SetPropA(hwnd, kUnitProp, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(windowId)));
    for (std::size_t i = 1; i < design.size(); ++i) {
        const UnitDesign& d = design[i];
        if (d.kind == UnitKind::Window) ErrorReport("a window design holds a second window");
        Unit& unit = NewUnit(d, windowId);
        if (d.kind != UnitKind::DropTarget) CreateChild(unit, d, hwnd);
    }
    if (Unit* u = FindUnit(windowId)) Raise(u->events.created);
    if (w.visible && FindUnit(windowId)) {
        ShowWindow(hwnd, SW_SHOW);
        UpdateWindow(hwnd);
    }
    return windowId;
}

int MainUnit() { return g_mainUnit; }

}  // namespace detail

using detail::FindUnit;
using detail::Unit;

AnsiText KindTypeName(UnitKind kind) {
    switch (kind) {
    case UnitKind::Window: return "窗口";
    case UnitKind::PushButton: return "按钮";
    case UnitKind::ListBox: return "列表框";
    case UnitKind::TransparentLabel: return "透明标签";
    case UnitKind::DropTarget: return "拖放对象";
    case UnitKind::GroupBox: return "分组框";
    case UnitKind::Label: return "标签";
    case UnitKind::PictureBox: return "图片框";
    case UnitKind::DrawingBoard: return "画板";
    case UnitKind::TabControl: return "选择夹";
    case UnitKind::ShapeBox: return "外形框";
    }
    ErrorReport("an unknown unit kind");
}

int BuildWindow(const WindowDesign& design) { return detail::BuildWindowMarked(design, false); }

void DestroyBuiltWindow(int windowUnit) {
    Unit& u = detail::RequireUnit(windowUnit);
    RequireUnitKind(windowUnit, UnitKind::Window);
    DestroyWindow(u.hwnd);
}

int UnitId(const AnsiText& name) {
    auto& units = detail::Units();
    for (auto it = units.rbegin(); it != units.rend(); ++it)
        if ((*it)->alive && (*it)->name == name) return (*it)->id;
    ErrorReport(("no unit is named " + name).c_str());
}

AnsiText UnitName(int unitId) { return detail::RequireUnit(unitId).name; }
UnitKind UnitKindOf(int unitId) { return detail::RequireUnit(unitId).kind; }
AnsiText UnitTypeName(int unitId) { return KindTypeName(UnitKindOf(unitId)); }

void RequireUnitKind(int unitId, UnitKind kind) {
    if (UnitKindOf(unitId) != kind) ErrorReport("a unit of the wrong type");
}

HWND UnitWindow(int unitId) {
    Unit* u = FindUnit(unitId);
    return u ? u->hwnd : nullptr;
}

std::vector<int> UnitsOfType(HWND window, const AnsiText& typeName) {
    std::vector<int> found;
    Unit* owner = detail::UnitOfWindow(window);
    if (!owner) return found;
    for (auto& u : detail::Units())
        if (u->alive && u->windowUnit == owner->windowUnit && KindTypeName(u->kind) == typeName)
            found.push_back(u->id);
    return found;
}

void SetUnitVisible(int unitId, int visible) {
    Unit& u = detail::RequireUnit(unitId);
    u.visible = visible != 0;
    // The unit's own style, not IsWindowVisible: every child of a window not
    // yet shown counts as invisible, and one hidden then would keep
    // WS_VISIBLE and appear with its window.
    if (!u.hwnd || ((GetWindowLongA(u.hwnd, GWL_STYLE) & WS_VISIBLE) != 0) == u.visible) return;
    ShowWindow(u.hwnd, u.visible ? SW_SHOW : SW_HIDE);
    if (u.kind == UnitKind::TransparentLabel) detail::RepaintAroundLabel(u.hwnd);
}

bool UnitVisible(int unitId) {
    Unit& u = detail::RequireUnit(unitId);
    return u.hwnd ? IsWindowVisible(u.hwnd) != 0 : u.visible;
}

void SetUnitProperty(int unitId, int property, int value) {
    RequireUnitKind(unitId, UnitKind::DropTarget);
    if (property != 11) ErrorReport("an unknown property of a drop-target object");
    detail::RequireUnit(unitId).acceptDrops = value;
}

int MainWindowUnit() { return detail::MainUnit(); }

}  // namespace rt
