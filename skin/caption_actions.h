// What a click on a caption button does: close, maximize or restore,
// minimize, or the routine of a help, main-menu or custom button.
// OnCaptionButtonClick itself is a member of SkinEngine (engine.h).
#pragma once

#include <cstdint>
#include <vector>

#include "skin/engine.h"

namespace skin {

// Calls the routine at that address with the arguments as its 32-bit
// arguments, the first element first, and returns its 32-bit result. The
// stack is set back to where it was after the call, so a routine that clears
// its own arguments and one whose caller must clear them (callerClears) are
// both called correctly; in the 64-bit program there is one convention, each
// argument takes a 64-bit register or slot, and the flag means nothing. A
// routine address of 0 calls nothing and gives 0.
int32_t InvokeUserCallback(RoutineAddress routine, const std::vector<int32_t>& arguments = {},
                           int callerClears = 0);

}  // namespace skin
