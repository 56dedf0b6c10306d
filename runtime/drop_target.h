// The OLE drop target behind RegisterDropTarget. Exposed for tests, which
// feed it data objects directly.
#pragma once

#include <ole2.h>
#include <shellapi.h>

#include "runtime/runtime.h"

namespace rt {

// The paths of an HDROP as one text, CR LF between them (none at the end).
// A character that GBK has no code for becomes "?".
AnsiText HdropToText(HDROP drop);

// A new drop target (reference count 1) delivering to that drop-target unit.
IDropTarget* NewFileDropTarget(int dropUnit);

}  // namespace rt
