// Switches and reaches that let tests and benchmarks take roads the system
// cannot be made to take on demand. Nothing in the program uses them.
#pragma once

namespace skin {
namespace test_hooks {

// Makes the list controls' compositing paints find their pixels unreadable,
// so that they take the road they take when the read fails.
extern bool listPixelsUnreadable;

// A rendering keeps the window's finished background (fill, picture in its
// layout, caption gloss, border) and puts it back by one copy for as long as
// size, picture, layout, fill colour and caption settings stay the same.
// This drops what the window keeps, so that its next rendering draws all of
// it anew (to compare both ways, or to time the full one).
void ForgetBackgroundLayer(int record);

}  // namespace test_hooks
}  // namespace skin
