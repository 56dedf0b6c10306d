// GDI+ started once for a whole test program under the program's own token,
// so that whatever the code under test starts and shuts down stays balanced
// around it. Register it from a namespace-scope initialiser:
//
//   testing::Environment* const gdiplus = testsupport::AddGdiplusEnvironment();
//
// A program that needs more at start derives from GdiplusEnvironment and
// calls its SetUp first.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

namespace testsupport {

class GdiplusEnvironment : public ::testing::Environment {
public:
    void SetUp() override;
    void TearDown() override;

private:
    ULONG_PTR token_ = 0;
};

// Hands gtest a new GdiplusEnvironment (gtest owns it) and returns it.
::testing::Environment* AddGdiplusEnvironment();

}  // namespace testsupport
