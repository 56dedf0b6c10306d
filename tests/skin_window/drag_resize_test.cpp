// Presses and moves over the frame of a skinned window: which system sizing
// or move loop a press starts, and which size cursor a move shows.
#include "fixture.h"
#include "skin/drag_resize.h"

using namespace wndtest;

namespace {

constexpr WPARAM kNothing = 0;
constexpr WPARAM kDrag = 1;  // WM_NCLBUTTONDOWN with HTCAPTION

struct Press {
    int x, y;
    WPARAM withGestures;     // SC_SIZE code, kDrag or kNothing
    WPARAM withoutGestures;
};

// A 698 x 501 client area, frame 3, caption 25, strip from 604, 95 wide,
// 22 high.
const Press kPresses[] = {
    {2, 200, 0xF001, 0xF001},     // left edge
    {-4, 200, 0xF001, 0xF001},    // left of the client area: still the left edge
    {695, 200, 0xF002, 0xF002},   // right edge
    {300, 1, 0xF003, kDrag},      // top edge, inside the caption
    {300, 499, 0xF006, 0xF006},   // bottom edge
    {10, 10, 0xF004, kDrag},      // top-left corner
    {690, 1, 0xF005, kDrag},      // top-right corner, above the strip's rows
    {5, 495, 0xF007, 0xF007},     // bottom-left corner
    {690, 495, 0xF008, 0xF008},   // bottom-right corner
    {11, 3, 0xF003, kDrag},       // the top edge starts right of the corner
    {11, 4, kDrag, kDrag},        // below the edge, in the caption
    {2, 20, 0xF001, kDrag},       // left edge inside the caption
    {300, 25, kDrag, kDrag},      // the caption's last row
    {300, 26, kNothing, kNothing},
    {300, 200, kNothing, kNothing},
    {650, 10, kNothing, kNothing},   // on the caption-button strip
    {650, 1, 0xF003, kDrag},         // above the strip's rows
    {603, 10, kDrag, kDrag},         // just left of the strip
};

// The two operations as a caller outside the program reaches them: through
// thunks built from the method table, every argument one word and the
// client rectangle an address.
class ThroughTheMethodTable {
public:
    bool Built() const { return !press_.Empty() && !move_.Empty(); }
    void Press(int record, LPARAM at, const RECT* client) const { Call(press_, record, at, client); }
    void Move(int record, LPARAM at, const RECT* client) const { Call(move_, record, at, client); }

private:
    static void Call(const skin::CallbackThunk& thunk, int record, LPARAM at, const RECT* client) {
        using skin::ThunkWord;
        using Stdcall3 = void(__stdcall*)(ThunkWord, ThunkWord, ThunkWord);
        reinterpret_cast<Stdcall3>(thunk.Address())(static_cast<ThunkWord>(record),
                                                    static_cast<ThunkWord>(at),
                                                    reinterpret_cast<ThunkWord>(client));
    }
    skin::CallbackThunk press_ =
        skin::Engine->BuildCallbackThunk(skin::Operation::CaptionMouseDown, 3);
    skin::CallbackThunk move_ =
        skin::Engine->BuildCallbackThunk(skin::Operation::UpdateResizeCursor, 3);
};

}  // namespace

TEST_F(SkinWindowTest, APressOnTheFrameStartsTheMatchingLoop) {
    for (int gestures : {1, 0}) {
        HWND w = Skinned(kThreeButtons, gestures);
        ASSERT_EQ(Rec(w).StripX, 604);
        for (const Press& p : kPresses) {
            const WPARAM expected = gestures ? p.withGestures : p.withoutGestures;
            SCOPED_TRACE(testing::Message() << "gestures " << gestures << " at " << p.x << ","
                                            << p.y);
            Log().clear();
            Rec(w).RenderNeeded = 0;
            Send(w, WM_LBUTTONDOWN, MK_LBUTTON, At(p.x, p.y));
            const std::vector<WPARAM> sizing = SysCommands(w);
            const int drags = CountReceived(w, WM_NCLBUTTONDOWN);
            if (expected == kNothing) {
                EXPECT_TRUE(sizing.empty());
                EXPECT_EQ(drags, 0);
            } else if (expected == kDrag) {
                EXPECT_TRUE(sizing.empty());
                ASSERT_EQ(drags, 1);
                for (const Received& r : Log()) {
                    if (r.message == WM_NCLBUTTONDOWN) {
                        EXPECT_EQ(r.wParam, static_cast<WPARAM>(HTCAPTION));
                    }
                }
            } else {
                EXPECT_EQ(sizing, std::vector<WPARAM>{expected});
                EXPECT_EQ(drags, 0);
            }
            // A sizing loop changes the size: the next paint renders anew.
            EXPECT_EQ(Rec(w).RenderNeeded, expected > kDrag ? 1 : 0);
        }
        DestroyWindow(w);
    }
}

TEST_F(SkinWindowTest, AMaximizedOrMinimizedWindowIsNeitherSizedNorDragged) {
    HWND w = Skinned();
    for (int* flag : {&Rec(w).Maximized, &Rec(w).Minimized}) {
        *flag = 1;
        Log().clear();
        Send(w, WM_LBUTTONDOWN, MK_LBUTTON, At(2, 200));
        Send(w, WM_LBUTTONDOWN, MK_LBUTTON, At(300, 10));
        EXPECT_TRUE(SysCommands(w).empty());
        EXPECT_EQ(CountReceived(w, WM_NCLBUTTONDOWN), 0);
        *flag = 0;
    }
}

TEST_F(SkinWindowTest, MovesOverTheFrameShowSizeCursorsOnlyWithGestures) {
    const HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    struct Move {
        int x, y;
        LPCSTR cursor;  // nullptr: left alone
    };
    const Move moves[] = {
        {2, 200, IDC_SIZEWE},    {697, 200, IDC_SIZEWE},   {300, 0, IDC_SIZENS},
        {300, 500, IDC_SIZENS},  {3, 3, IDC_SIZENWSE},     {695, 2, IDC_SIZENESW},
        {4, 498, IDC_SIZENESW},  {697, 500, IDC_SIZENWSE}, {300, 200, nullptr},
        {650, 10, nullptr},
    };
    for (int gestures : {1, 0}) {
        HWND w = Skinned(kThreeButtons, gestures);
        for (const Move& m : moves) {
            SCOPED_TRACE(testing::Message() << "gestures " << gestures << " at " << m.x << "," << m.y);
            SetCursor(arrow);
            Send(w, WM_MOUSEMOVE, 0, At(m.x, m.y));
            const HCURSOR expected = gestures && m.cursor ? LoadCursorA(nullptr, m.cursor) : arrow;
            EXPECT_EQ(GetCursor(), expected);
        }
        // A maximized window has no frame to size.
        Rec(w).Maximized = 1;
        SetCursor(arrow);
        Send(w, WM_MOUSEMOVE, 0, At(2, 200));
        EXPECT_EQ(GetCursor(), arrow);
        DestroyWindow(w);
    }
}

// Through the method table the record index and the client rectangle are
// anyone's. An index that names no record does nothing (the program goes
// on). Without a rectangle the window's own client area decides: a press
// away from its edges neither sizes nor moves the window.
TEST_F(SkinWindowTest, ThroughTheMethodTableAnyIndexAndRectangleAddressAreSafe) {
    HWND w = Skinned();
    const int record = RecordOf(w);
    const RECT client{0, 0, 698, 501};
    const ThroughTheMethodTable table;
    ASSERT_TRUE(table.Built());
    const HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    struct Case {
        int record;
        const RECT* client;
        POINT at;
        std::vector<WPARAM> sizing;
        LPCSTR cursor;  // nullptr: left alone
    };
    const Case cases[] = {
        {0, &client, {2, 200}, {}, nullptr},
        {-1, &client, {2, 200}, {}, nullptr},
        {record + 1, &client, {2, 200}, {}, nullptr},
        {record, &client, {2, 200}, {0xF001}, IDC_SIZEWE},
        {record, &client, {300, 200}, {}, nullptr},
        {record, nullptr, {300, 200}, {}, nullptr},
        {record, nullptr, {20, 480}, {}, nullptr},
        {record, nullptr, {2, 200}, {0xF001}, IDC_SIZEWE},
        {record, nullptr, {690, 495}, {0xF008}, IDC_SIZENWSE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "record " << c.record << ", "
                                        << (c.client ? "client" : "no rectangle") << " at "
                                        << c.at.x << "," << c.at.y);
        Log().clear();
        SetCursor(arrow);
        table.Move(c.record, At(c.at.x, c.at.y), c.client);
        EXPECT_EQ(GetCursor(), c.cursor ? LoadCursorA(nullptr, c.cursor) : arrow);
        table.Press(c.record, At(c.at.x, c.at.y), c.client);
        EXPECT_EQ(SysCommands(w), c.sizing);
        EXPECT_EQ(CountReceived(w, WM_NCLBUTTONDOWN), 0) << "below the caption: no drag";
    }
    SetCursor(arrow);
}
