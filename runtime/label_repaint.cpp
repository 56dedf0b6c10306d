// Keeping transparent labels readable: a label draws no ground of its own,
// so whatever paints beneath it covers its text, and the label must draw it
// again on top.
#include "runtime/units_internal.h"

namespace rt::detail {
namespace {

bool Overlap(HWND a, HWND b) {
    RECT ra, rb, both;
    GetWindowRect(a, &ra);
    GetWindowRect(b, &rb);
    return IntersectRect(&both, &ra, &rb) != 0;
}

}  // namespace

void RepaintLabelsOver(const Unit& below, LabelRepaint when) {
    // A label's paint covers nothing, neither itself nor a label it
    // overlaps: drawing a text again would blend its soft edges twice.
    if (below.kind == UnitKind::TransparentLabel) return;
    for (auto& u : Units()) {
        if (!u->alive || u->kind != UnitKind::TransparentLabel || u->windowUnit != below.windowUnit ||
            !IsWindowVisible(u->hwnd) || !Overlap(u->hwnd, below.hwnd))
            continue;
        if (when == LabelRepaint::Now) RedrawLabelText(u->hwnd);
        else InvalidateRect(u->hwnd, nullptr, FALSE);  // its paint comes after the one under way
    }
}

void RepaintAroundLabel(HWND label) {
    HWND parent = GetParent(label);
    RECT rc;
    GetWindowRect(label, &rc);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rc), 2);
    RedrawWindow(parent, &rc, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

}  // namespace rt::detail
