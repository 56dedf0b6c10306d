// The door into the engine: ApplySkin skins the application's window, and
// a skinned top-level window's record is built (AttachSkin, a SkinEngine
// member) and undone when the window goes (DetachSkinWindow).
#pragma once

#include <windows.h>

#include "runtime/runtime.h"

namespace skin {

// The application's one call into the engine: the engine-wide picture
// (stretched), the control options with the glass alpha, then the window of
// windowUnit attached with the caption drag on and the sizing gestures off.
// windowId names the window whose units of the container and plain kinds
// would join the skin.
void ApplySkin(int windowId, int windowUnit, const rt::ByteString& picture, int alpha);

// Releases the window's caches and brushes, removes its record and numbers
// the records that remain anew. Nothing is un-subclassed: the window is
// being destroyed. A window without a record only renumbers.
void DetachSkinWindow(HWND window);

// Gives back the cached renderings of the record at index: each cache DC
// gets its first bitmap back and is deleted with the engine's bitmap in it,
// each once. The record stays, without caches.
void FreeWindowCaches(int index);

}  // namespace skin
