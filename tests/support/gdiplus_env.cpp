#include "tests/support/gdiplus_env.h"

#include <objidl.h>
#include <gdiplus.h>

namespace testsupport {

void GdiplusEnvironment::SetUp() {
    Gdiplus::GdiplusStartupInput input;
    ASSERT_EQ(Gdiplus::GdiplusStartup(&token_, &input, nullptr), Gdiplus::Ok);
}

void GdiplusEnvironment::TearDown() {
    // Only a start that succeeded is shut down.
    if (token_) Gdiplus::GdiplusShutdown(token_);
    token_ = 0;
}

::testing::Environment* AddGdiplusEnvironment() {
    return ::testing::AddGlobalTestEnvironment(new GdiplusEnvironment);
}

}  // namespace testsupport
