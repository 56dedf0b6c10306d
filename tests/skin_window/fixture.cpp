#include "fixture.h"

#include "skin/window_proc.h"

namespace wndtest {
namespace {

std::vector<Received> received;
bool passSystemCommands = false;

LRESULT CALLBACK RecordingProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    received.push_back({w, m, wp, lp});
    switch (m) {
    case WM_SYSCOMMAND:
    case WM_NCLBUTTONDOWN:
        if (!passSystemCommands) return 0;
        break;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSCROLLBAR:
        return reinterpret_cast<LRESULT>(ForwardedBrush());
    default:
        break;
    }
    return DefWindowProcA(w, m, wp, lp);
}

const char* RecordingClass() {
    static const char* name = [] {
        WNDCLASSA c{};
        c.style = CS_DBLCLKS;
        c.lpfnWndProc = &RecordingProc;
        c.hInstance = GetModuleHandleA(nullptr);
        c.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        c.lpszClassName = "SkinWindowTestRecorder";
        RegisterClassA(&c);
        return c.lpszClassName;
    }();
    return name;
}

// The engine keeps GDI+ running for the whole program, as the application's
// start-up does.
class EngineEnvironment : public testing::Environment {
public:
    void SetUp() override {
        ASSERT_EQ(skin::SkinModuleStart(), 0);
        // Test windows come and go, and the program loses activation on
        // its own now and then: without "windir" those deactivations trim
        // nothing. The trimming tests set their own.
        SetEnvironmentVariableA("windir", nullptr);
    }
    void TearDown() override { skin::ShutdownGdiplus(skin::GdiplusToken); }
};
testing::Environment* const engineEnvironment =
    testing::AddGlobalTestEnvironment(new EngineEnvironment);

}  // namespace

HBRUSH ForwardedBrush() { return static_cast<HBRUSH>(GetStockObject(DKGRAY_BRUSH)); }

void SkinWindowTest::SetUp() {
    ASSERT_NE(skin::Engine, nullptr);
    received.clear();
    passSystemCommands = false;
    skin::FirstSizePending = 0;
    skin::SkinControlsFlag = 1;
    skin::TransparentControlsFlag = 1;
    skin::Engine->PointerCaptionButton = 0;
}

void SkinWindowTest::TearDown() {
    for (auto it = windows_.rbegin(); it != windows_.rend(); ++it)
        if (IsWindow(*it)) DestroyWindow(*it);
    windows_.clear();
    // Every window's record went with the window.
    EXPECT_EQ(skin::SkinWindowTable.Count(), 0);
    skin::SkinWindowTable.Clear();
}

HWND SkinWindowTest::Make(DWORD style, int w, int h) {
    HWND hwnd = CreateWindowExA(0, RecordingClass(), "", style, 40, 40, w, h, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    windows_.push_back(hwnd);
    return hwnd;
}

HWND SkinWindowTest::Child(HWND parent, const char* cls, DWORD style, int x, int y, int w,
                           int h) {
    HWND hwnd = CreateWindowExA(0, cls, "", WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
    windows_.push_back(hwnd);
    return hwnd;
}

HWND SkinWindowTest::Skinned(DWORD style, int frameGestures, std::optional<int> captionHeight) {
    HWND hwnd = Make(style);
    skin::Engine->AttachSkin(hwnd, captionHeight, 1, frameGestures);
    ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    UpdateWindow(hwnd);
    return hwnd;
}

int SkinWindowTest::RecordOf(HWND window) { return skin::WindowRecordOf(window); }

skin::SkinWindowRecord& SkinWindowTest::Rec(HWND window) {
    return skin::SkinWindowTable[RecordOf(window)];
}

std::vector<Received>& SkinWindowTest::Log() { return received; }

int SkinWindowTest::CountReceived(HWND window, UINT message) {
    int n = 0;
    for (const Received& r : received)
        if (r.window == window && r.message == message) ++n;
    return n;
}

std::vector<WPARAM> SkinWindowTest::SysCommands(HWND window) {
    std::vector<WPARAM> codes;
    for (const Received& r : received)
        if (r.window == window && r.message == WM_SYSCOMMAND) codes.push_back(r.wParam);
    return codes;
}

void SkinWindowTest::PassSystemCommands(bool pass) { passSystemCommands = pass; }

COLORREF CachePixel(HWND window, int x, int y) {
    const int record = skin::WindowRecordOf(window);
    return GetPixel(skin::SkinWindowTable[record].WindowCacheDc, x, y);
}

std::vector<COLORREF> CachePixels(HWND window, const RECT& r) {
    std::vector<COLORREF> pixels;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) pixels.push_back(CachePixel(window, x, y));
    return pixels;
}

}  // namespace wndtest
