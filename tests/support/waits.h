// Waiting on what another thread or process does, without guessing how long
// it takes: ask for the state itself until it is there.
#pragma once

#include <windows.h>

#include <functional>

namespace testsupport {

// Asks ready() every few milliseconds until it answers true; false when ms
// passed first. Only for a state that is certain to come (a window showing,
// another process's drawing reaching the screen): the bound ends a test whose
// state never comes instead of hanging it, and is far above what any run
// needs, loaded or not.
bool PollUntil(const std::function<bool()>& ready, DWORD ms = 60000);

// The first visible window of that thread with class cls and, unless title
// is nullptr, that title; nullptr when there is none.
HWND VisibleThreadWindow(DWORD thread, const char* cls, const char* title = nullptr);

}  // namespace testsupport
