// Edits, combo boxes, list-type controls and headers whose properties no
// longer name a live entry (a record freed or renumbered away while the
// control still gets messages, an entry index beyond the array): their
// procedures hand every message to the control's own procedure instead of
// stopping the program, as the button, trackbar, up-down and container
// procedures do.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <functional>

#include "controls_fixture.h"
#include "skin/controls/edit.h"
#include "skin/controls/header.h"
#include "skin/controls/list_control.h"
#include "skin/engine.h"
#include "skin/record.h"

using namespace skin;
using namespace ctltest;

namespace {

class StaleEntryTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        // Were the program stopped, no box should wait for a click.
        SetEnvironmentVariableA("PINYIN_ERROR_REPORT_QUIET", "1");
        TransparentControlsFlag = 1;
    }
};

// Every message the skin procedures answer themselves, with harmless values.
void SendEveryHandledMessage(HWND control) {
    const UINT messages[] = {WM_MOUSEMOVE, WM_MOUSELEAVE, WM_MOVE,       WM_SETFOCUS,
                             WM_KILLFOCUS, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_KEYUP,
                             WM_VSCROLL,   WM_MOUSEWHEEL,  WM_NCPAINT,   kListArrowRepaint};
    for (UINT message : messages) SendMessageA(control, message, 0, MAKELPARAM(3, 3));
    SendMessageA(control, WM_KEYDOWN, VK_DOWN, 0);
    SendMessageA(control, WM_KEYUP, VK_DOWN, 0);
    HDC dc = GetDC(control);
    SendMessageA(control, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    ReleaseDC(control, dc);
    InvalidateRect(control, nullptr, TRUE);
    UpdateWindow(control);
}

struct Family {
    const char* name;
    const char* cls;
    DWORD style;
    void (*attach)(int record, HWND parent);
    // Something only the control's own procedure can answer: true when it did.
    std::function<bool(HWND)> ownAnswer;
};

bool TextRoundTrip(HWND control) {
    SetWindowTextA(control, "still works");
    char text[32] = {};
    GetWindowTextA(control, text, sizeof text);
    return lstrcmpA(text, "still works") == 0;
}

TEST_F(StaleEntryTest, ProceduresForwardWhenTheirPropertiesNameNoLiveEntry) {
    const Family families[] = {
        {"edit", "EDIT", WS_BORDER, AttachEditsAndComboBoxes, TextRoundTrip},
        {"combo box", "COMBOBOX", CBS_DROPDOWN, AttachEditsAndComboBoxes, TextRoundTrip},
        {"list box", "LISTBOX", WS_BORDER | WS_VSCROLL, AttachListControls,
         [](HWND list) {
             SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("item"));
             return SendMessageA(list, LB_GETCOUNT, 0, 0) == 1;
         }},
        {"header", WC_HEADERA, HDS_BUTTONS, AttachHeaders,
         [](HWND header) {
             HDITEMA item{};
             item.mask = HDI_TEXT | HDI_WIDTH;
             item.pszText = const_cast<char*>("one");
             item.cxy = 60;
             SendMessageA(header, HDM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
             return SendMessageA(header, HDM_GETITEMCOUNT, 0, 0) == 1;
         }},
    };
    // Which property goes stale, and to what.
    struct Staleness {
        const char* what;
        const char* property;
        int value;
    };
    const Staleness kinds[] = {
        {"record freed", "Hw_FuID", 99},
        {"entry beyond the array", "Hw_lbID", 50},
        {"no entry", "Hw_lbID", 0},
    };
    int y = 10;
    for (const Family& f : families) {
        for (const Staleness& s : kinds) {
            HWND control = Control(f.cls, f.style, 10, y, 150, 60);
            y += 4;
            f.attach(record, top);
            ASSERT_NE(GetPropA(control, "Hw_hProc"), nullptr) << f.name;
            SetPropA(control, s.property, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(s.value)));
            SendEveryHandledMessage(control);
            EXPECT_TRUE(f.ownAnswer(control)) << f.name << ", " << s.what;
            DestroyWindow(control);
        }
    }
}

}  // namespace
