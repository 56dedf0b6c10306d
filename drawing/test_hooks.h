// Switches that let tests reach failure paths the system cannot provoke on
// demand. Nothing in the program sets them.
#pragma once

namespace drw {
namespace test_hooks {

// The next MemoryStreamObject::CreateFromBytes behaves as if
// CreateStreamOnHGlobal had failed (the switch resets itself).
extern bool failNextStreamCreation;

}  // namespace test_hooks
}  // namespace drw
