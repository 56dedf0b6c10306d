// The hover tips lie over the list box of the skinned MainWindow (built by
// the runtime with the real handlers, message boxes and Explorer recorded):
// a tip that is shown must stay on the screen through every repaint of the
// list box beneath it.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "app/file_list.h"
#include "app/main_window.h"
#include "tests/support/pixels.h"

namespace {

void IgnoreMessage(const rt::AnsiText&) {}
bool IgnoreRun(const rt::AnsiText&, const rt::AnsiText&, bool) { return true; }
rt::AnsiText NoDialog(HWND, const rt::AnsiText&, const rt::AnsiText&, const rt::AnsiText&, DWORD* error) {
    *error = 0;
    return rt::AnsiText();
}

HWND Unit(const char* name) { return rt::UnitWindow(rt::UnitId(name)); }

// Handles every message and paint that is waiting, so the screen shows
// what the windows have to show.
void Settle() {
    MSG msg;
    int n = 0;
    while (n < 100000 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageA(&msg);
        ++n;
    }
    ASSERT_LT(n, 100000) << "the paints never end";
}

class TipsOverListBox : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        app::CurrentEffects() = {IgnoreMessage, IgnoreRun, NoDialog, rt::RegisterDropTarget};
        window_ = rt::BuildWindow(app::MainWindowDesign());
        // Pixels are read from the screen: no window of another test
        // program may cover ours while they are. Nor may the mouse rest on
        // it: when windows of other programs come and go around the mouse,
        // ours hears of it as a mouse move, and its handlers hide the tips.
        POINT mouse;
        GetCursorPos(&mouse);
        RECT rc;
        HWND window = rt::UnitWindow(window_);
        GetWindowRect(window, &rc);
        const int w = rc.right - rc.left, h = rc.bottom - rc.top;
        const int right = GetSystemMetrics(SM_CXSCREEN) - w, bottom = GetSystemMetrics(SM_CYSCREEN) - h;
        for (const POINT at : {POINT{0, 0}, POINT{right, 0}, POINT{0, bottom}, POINT{right, bottom}}) {
            const RECT there = {at.x, at.y, at.x + w, at.y + h};
            if (PtInRect(&there, mouse)) continue;
            SetWindowPos(window, HWND_TOPMOST, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
            break;
        }
        Settle();
        ASSERT_TRUE(GetWindowRect(window, &rc) && !PtInRect(&rc, mouse));
    }
    static void TearDownTestSuite() { rt::DestroyBuiltWindow(window_); }
    void SetUp() override {
        app::ClearFiles(Unit(app::kListBox));
        app::HideTipsOnWindow(0, 0, 0);
        Settle();
    }

    // The pixels of a label's rectangle as the screen shows them.
    static std::vector<uint32_t> Shows(HWND label) {
        HWND window = rt::UnitWindow(window_);
        RECT rc;
        GetWindowRect(label, &rc);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rc), 2);
        HDC dc = GetDC(window);
        std::vector<uint32_t> px = testsupport::CopyPixels32(dc, rc.left, rc.top, rc.right - rc.left,
                                                              rc.bottom - rc.top);
        ReleaseDC(window, dc);
        for (uint32_t& p : px) p &= 0xFFFFFF;
        return px;
    }
    static int window_;
};
int TipsOverListBox::window_ = 0;

int Differ(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
    int n = 0;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) n += a[i] != b[i];
    return n;
}

void AddAPath() { app::AppendFiles({"C:\\歌曲\\一首很长很长的歌的名字.mp3"}, Unit(app::kListBox)); }
// Enough paths for the list box to scroll, each line a text of its own.
void AddManyPaths() {
    std::vector<rt::AnsiText> paths;
    for (int i = 0; i < 60; ++i)
        paths.push_back("C:\\歌曲\\第" + std::to_string(i) + "首很长很长的歌的名字.mp3");
    app::AppendFiles(paths, Unit(app::kListBox));
}
void ScrollDownALine() {
    SendMessageA(Unit(app::kListBox), WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), 0);
}

TEST_F(TipsOverListBox, AShownTipStaysOnTheScreenWhenTheListBoxRepaints) {
    struct Repaint {
        const char* what;
        void (*ground)();  // what the list box shows once it has repainted
        void (*run)();
    };
    const Repaint repaints[] = {
        {"the list box repainted whole", [] {},
         [] {
             InvalidateRect(Unit(app::kListBox), nullptr, TRUE);
             UpdateWindow(Unit(app::kListBox));
         }},
        // The first item lies under both labels' rectangles.
        {"a path added", AddAPath, AddAPath},
        // Scrolling moves the pixels the list box shows, the tip's among them.
        {"the list box scrolled",
         [] {
             AddManyPaths();
             ScrollDownALine();
         },
         [] {
             AddManyPaths();
             Settle();
             ScrollDownALine();
         }},
    };
    // The hover handlers themselves: a mouse move sent to a skinned button
    // would also start the platform's tracking of the mouse leaving it.
    struct Tip {
        const char* label;
        void (*hover)(int32_t, int32_t, int32_t);
    };
    for (const Tip tip : {Tip{app::kOpenTip, app::ShowOpenTip}, Tip{app::kAboutLabel, app::ShowAboutLabel}}) {
        for (const Repaint& repaint : repaints) {
            SCOPED_TRACE(std::string(tip.label) + ", " + repaint.what);
            HWND label = Unit(tip.label);
            auto hover = [&] {
                tip.hover(0, 0, 0);
                Settle();
            };
            // What the tip over the repainted list box must look like: shown
            // after the list box has its final look.
            SetUp();
            repaint.ground();
            Settle();
            const std::vector<uint32_t> hidden = Shows(label);
            hover();
            const std::vector<uint32_t> expected = Shows(label);
            ASSERT_GT(Differ(expected, hidden), 500);

            // The tip shown first, the list box repainted beneath it.
            SetUp();
            hover();
            repaint.run();
            Settle();
            EXPECT_TRUE(rt::UnitVisible(rt::UnitId(tip.label)));
            EXPECT_EQ(Differ(Shows(label), expected), 0);
        }
    }
}

}  // namespace
