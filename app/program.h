// The application's place in the program's start-up and shut-down.
#pragma once

namespace app {

// Registers the end routines in the order the program shuts down: first the
// application's lists are freed, then the skinning engine is destroyed
// (GDI+ shut down) and its window records freed.
void RegisterEndRoutines();

}  // namespace app
