#include "drawing/forward.h"
#include "drawing/drawing.h"

namespace drw {

}  // namespace drw
