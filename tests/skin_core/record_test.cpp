// Window records, the record table and the numbering kept in window properties.
#include <gtest/gtest.h>
#include <windows.h>

#include "fixture.h"
#include "skin/record.h"

using namespace skin;
using skintest::SkinWindowsTest;

namespace {
template <class Entry>
bool HoldsOneEmptyEntry(const rt::CountedArray<Entry>& entries) {
    return entries.Count() == 1 && entries[1].Window == nullptr;
}
}  // namespace

TEST(SkinWindowRecord, NewRecordHasOneAllZeroEntryPerControlArray) {
    auto r = NewSkinWindowRecord();
    EXPECT_TRUE(HoldsOneEmptyEntry(r->Buttons));
    EXPECT_TRUE(HoldsOneEmptyEntry(r->Edits));
    EXPECT_TRUE(HoldsOneEmptyEntry(r->ListControls));
    EXPECT_TRUE(HoldsOneEmptyEntry(r->Trackbars));
    EXPECT_TRUE(HoldsOneEmptyEntry(r->ProgressBars));
    EXPECT_TRUE(HoldsOneEmptyEntry(r->ComboBoxes));
    EXPECT_TRUE(HoldsOneEmptyEntry(r->UpDowns));
    EXPECT_TRUE(HoldsOneEmptyEntry(r->Headers));
    EXPECT_TRUE(HoldsOneEmptyEntry(r->PlainControls));
    EXPECT_TRUE(HoldsOneEmptyEntry(r->Containers));
    EXPECT_EQ(r->Buttons[1].Kind, 0);
    EXPECT_EQ(r->Buttons[1].Tooltip.TipWindow, nullptr);
    EXPECT_EQ(r->Containers[1].FillColor, 0u);
    EXPECT_EQ(r->CaptionButtons.Count(), 0);
    EXPECT_EQ(r->StatusPanes.Count(), 0);
    EXPECT_EQ(r->DockedWindows.Count(), 0);
    EXPECT_EQ(r->CaptionTooltip.TipWindow, nullptr);
    EXPECT_EQ(r->WindowCacheDc, nullptr);
    EXPECT_EQ(r->FadeIn.Button, 0);
    EXPECT_EQ(r->FadeOut.Step, 0);
}

TEST_F(SkinWindowsTest, RecordsKeepTheirPlaceWhileTheTableGrows) {
    const int first = Skin(Popup(0, 0, 50, 50));
    SkinWindowRecord* address = &SkinWindowTable[first];
    for (int i = 0; i < 40; ++i) Skin(nullptr);
    EXPECT_EQ(&SkinWindowTable[first], address);
    EXPECT_EQ(SkinWindowTable.Count(), 41);
    EXPECT_TRUE(SkinWindowTable.Contains(41));
    EXPECT_FALSE(SkinWindowTable.Contains(0));
    EXPECT_FALSE(SkinWindowTable.Contains(42));
}

TEST_F(SkinWindowsTest, RemovingTheFirstOfTwoRecordsRenumbersWindowsAndControls) {
    HWND one = Popup(0, 0, 200, 100);
    HWND two = Popup(220, 0, 200, 100);
    Skin(one);
    const int index = Skin(two);
    ASSERT_EQ(index, 2);
    // The second window with a skinned button, edit, container and plain control.
    HWND button = Child(two, "BUTTON", WS_VISIBLE, 5, 5, 60, 20);
    HWND edit = Child(two, "EDIT", WS_VISIBLE, 5, 30, 60, 20);
    HWND group = Child(two, "BUTTON", WS_VISIBLE | BS_GROUPBOX, 80, 5, 100, 80);
    HWND label = Child(two, "STATIC", WS_VISIBLE, 5, 60, 60, 20);
    SkinWindowRecord& r = SkinWindowTable[index];
    r.Buttons[1].Window = button;
    r.Edits[1].Window = edit;
    AddContainer(index, group, 0, 255, 1);
    r.PlainControls[1].Window = label;
    WriteProp(two, prop::Hw_lbID, 2);
    for (HWND control : {button, edit, group}) WriteProp(control, prop::Hw_FuID, 2);
    WriteProp(label, prop::Kj_FuID, 2);
    WriteProp(label, prop::Kj_lbID, 1);

    SkinWindowTable.RemoveAt(1);
    RenumberWindowProperties();

    ASSERT_EQ(SkinWindowTable.Count(), 1);
    EXPECT_EQ(SkinWindowTable[1].Window, two);
    EXPECT_EQ(ReadProp(two, prop::Hw_lbID), 1);
    EXPECT_EQ(ReadProp(button, prop::Hw_FuID), 1);
    EXPECT_EQ(ReadProp(edit, prop::Hw_FuID), 1);
    EXPECT_EQ(ReadProp(group, prop::Hw_FuID), 1);
    EXPECT_EQ(ReadProp(label, prop::Kj_FuID), 1);
    // Entry indices and the other family's property are left alone.
    EXPECT_EQ(ReadProp(label, prop::Kj_lbID), 1);
    EXPECT_EQ(ReadProp(label, prop::Hw_FuID), 0);
    EXPECT_EQ(ReadProp(button, prop::Kj_FuID), 0);
}
