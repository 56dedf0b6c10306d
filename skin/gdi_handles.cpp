// Live counters of the GDI handles made through the owning types.
#include "skin/gdi_handles.h"

namespace skin {
namespace {
int live[static_cast<int>(GdiKind::Count)] = {};
}

int LiveGdiCount(GdiKind kind) { return live[static_cast<int>(kind)]; }
void CountMade(GdiKind kind) { ++live[static_cast<int>(kind)]; }
void CountFreed(GdiKind kind) { --live[static_cast<int>(kind)]; }

}  // namespace skin

// Instantiated here once so that a mistake in the template shows at once.
template class skin::GdiObject<HBITMAP>;
