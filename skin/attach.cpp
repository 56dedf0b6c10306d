// Skinning and unskinning a top-level window.
#include "skin/attach.h"

#include <algorithm>
#include <utility>

#include "resources/carried.h"
#include "skin/background.h"
#include "skin/caption_buttons.h"
#include "skin/controls/check_radio.h"
#include "skin/controls/edit.h"
#include "skin/handed_out.h"
#include "skin/controls/header.h"
#include "skin/controls/list_control.h"
#include "skin/controls/progress_bar.h"
#include "skin/controls/push_button.h"
#include "skin/controls/trackbar.h"
#include "skin/controls/up_down.h"
#include "skin/engine.h"
#include "skin/gdi_handles.h"
#include "skin/helpers.h"
#include "skin/record.h"
#include "skin/status_bar.h"

namespace skin {
namespace {

constexpr int kMinCaptionHeight = 25;
constexpr int kFrameBorderWidth = 3;
constexpr int kMinTrackWidth = 200;
constexpr int kMinTrackHeight = 150;

// The layout the application's skin picture is drawn in.
constexpr int kModeStretched = 3;

CaptionButton MakeCaptionButton(int kind, int width, const rt::ByteString& image,
                                const char* tip) {
    CaptionButton b;
    b.Width = width;
    b.Height = 18;
    b.Image = image;
    b.Kind = kind;
    b.TipText = tip;
    return b;
}

// The caption buttons the record asks for, left to right.
void AddCaptionButtons(SkinWindowRecord& r) {
    if (r.HelpButtonOn) r.CaptionButtons.Append(MakeCaptionButton(4, 26, res::HelpButtonImage(), "帮助"));
    if (r.MenuButtonOn) r.CaptionButtons.Append(MakeCaptionButton(3, 26, res::MenuButtonImage(), "主菜单"));
    if (r.MinimizeButtonOn)
        r.CaptionButtons.Append(MakeCaptionButton(2, 26, res::MinimizeButtonImage(), "最小化"));
    if (r.MaximizeButtonOn) {
        CaptionButton b = MakeCaptionButton(1, 26, res::MaximizeButtonImage(), "最大化");
        b.SecondImage = res::RestoreButtonImage();
        r.CaptionButtons.Append(std::move(b));
    }
    if (r.CloseButtonOn) r.CaptionButtons.Append(MakeCaptionButton(0, 38, res::CloseButtonImage(), "关闭"));
}

// Gives a cache DC its first bitmap back, then deletes the DC and the
// engine's bitmap that it held; each exactly once.
void FreeCacheDc(HDC dc, HGDIOBJ firstBitmap, HGDIOBJ engineBitmap) {
    if (!dc) return;
    if (firstBitmap) SelectObject(dc, firstBitmap);
    DeleteCountedDc(dc);
    DeleteCountedObject(engineBitmap);
}

}  // namespace

void ApplySkin(int windowId, int windowUnit, const rt::ByteString& picture, int alpha) {
    if (!Engine) return;
    Engine->SetSkinTheme({}, &picture, {}, {}, kModeStretched);
    Engine->SetControlOptions(1, alpha);
    const HWND window = rt::UnitWindow(windowUnit);
    const rt::CountedArray<StatusPane> noPanes;
    Engine->AttachSkin(window, {}, 1, 0, 0, 0, 1, 0, {}, &noPanes, nullptr, {});

    // The design's group boxes and tab controls become containers, its
    // labels, picture boxes, drawing boards and shape boxes plain controls.
    struct Family {
        rt::UnitKind kind;
        bool container;
    };
    const Family families[] = {
        {rt::UnitKind::GroupBox, true},     {rt::UnitKind::Label, false},
        {rt::UnitKind::PictureBox, false},  {rt::UnitKind::DrawingBoard, false},
        {rt::UnitKind::TabControl, true},   {rt::UnitKind::ShapeBox, false},
    };
    const HWND units = rt::UnitWindow(windowId);
    for (const Family& f : families) {
        for (int unit : rt::UnitsOfType(units, rt::KindTypeName(f.kind))) {
            rt::RequireUnitKind(unit, f.kind);
            const HWND control = rt::UnitWindow(unit);
            if (f.container)
                Engine->AttachContainer(control, 1, 0, alpha);
            else
                Engine->AttachPlainControl(control, {}, 0, alpha);
        }
    }
}

void SkinEngine::AttachSkin(HWND window, std::optional<int> captionHeight,
                            std::optional<int> captionOn, std::optional<int> frameGestures,
                            std::optional<int> helpButtonOn, std::optional<int> menuButtonOn,
                            std::optional<int> drawTitle, std::optional<int> captionGloss,
                            std::optional<int> statusHeight,
                            const rt::CountedArray<StatusPane>* panes,
                            const rt::ByteString* picture, std::optional<int> pictureMode) {
    // Without a live window there is nothing to subclass: a record would only
    // stay behind, with a tooltip window that nobody destroys.
    if (!IsWindow(window) || FindWindowRecord(window) > 0) return;
    const LONG style = GetWindowLongA(window, GWL_STYLE);
    RECT client{};
    GetClientRect(window, &client);
    FrameBorderWidth = kFrameBorderWidth;

    std::unique_ptr<SkinWindowRecord> record = NewSkinWindowRecord();
    SkinWindowRecord& r = *record;
    r.Window = window;
    r.CaptionHeight = std::max(captionHeight.value_or(kMinCaptionHeight), kMinCaptionHeight);
    r.HelpButtonOn = helpButtonOn.value_or(0);
    r.MenuButtonOn = menuButtonOn.value_or(0);
    r.MinimizeButtonOn = (style & WS_MINIMIZEBOX) ? 1 : 0;
    r.MaximizeButtonOn = (style & WS_MAXIMIZEBOX) ? 1 : 0;
    r.CaptionOn = captionOn.value_or(1);
    r.CloseButtonOn = 1;
    r.FrameGestures = frameGestures.value_or(1);
    r.DrawTitle = drawTitle.value_or(1);
    r.CaptionGloss = captionGloss.value_or(0);
    r.PictureMode = pictureMode.value_or(GlobalPictureMode);
    r.MinTrackWidth = kMinTrackWidth;
    r.MinTrackHeight = kMinTrackHeight;
    r.MaxTrackWidth = rt::ScreenWidth();
    r.MaxTrackHeight = rt::ScreenHeight();
    if (picture && !picture->empty()) {
        r.PictureColor = AverageImageColor(*picture, kColorSamples);
        r.Picture = PictureForMode(r.PictureMode, *picture, r.PictureColor);
    }

    r.TitleColor = 0xFFFFFF;
    r.TitleHaloColor = 0x808080;
    r.TitleFontName = "宋体";
    r.TitleFontSize = 12;
    r.TitleBold = 1;

    AddCaptionButtons(r);
    int widths = 0;
    for (const CaptionButton& b : r.CaptionButtons) widths += b.Width;
    r.StripWidth = widths + (r.CaptionButtons.Count() - 1) + 3;
    r.StripHeight = kCaptionStripHeight;
    r.StripX = client.right - FrameBorderWidth - r.StripWidth - 2;
    r.StripY = 0;

    SetWindowLongA(window, GWL_STYLE, style | WS_SYSMENU);
    const int index = SkinWindowTable.Append(std::move(record));

    // Nothing below removes a record, but each call may send messages; the
    // record is taken from the table anew after each.
    SkinWindowTable[index].CaptionTooltip.Create(window);
    for (int i = 1; i <= SkinWindowTable[index].CaptionButtons.Count(); ++i) {
        SkinWindowRecord& s = SkinWindowTable[index];
        const drw::RectF& f = s.CaptionButtons[i].Rect;
        const RECT tool{static_cast<LONG>(f.x), static_cast<LONG>(f.y),
                        static_cast<LONG>(f.x + f.width), static_cast<LONG>(f.y + f.height)};
        s.CaptionTooltip.AddTool(tool, s.CaptionButtons[i].TipText, static_cast<UINT_PTR>(i));
    }
    LayoutCaptionButtons(index);
    if (statusHeight && *statusHeight > 0) {
        const rt::CountedArray<StatusPane> none;
        CreateStatusBar(index, *statusHeight, panes ? panes : &none);
        SkinWindowRecord& s = SkinWindowTable[index];
        s.StatusGlowTextColor = 0;
        s.StatusGlowColor = 0xFFFFFF;
        s.StatusFontName = "宋体";
        s.StatusFontSize = 12;
    }
    LayoutStatusBar(index);
    // The window's direct child controls, family by family in this order:
    // push buttons, check boxes and radio buttons, edits and combo boxes,
    // trackbars, progress bars, list-type controls, up-down controls, headers.
    AttachPushButtons(index, window);
    AttachCheckAndRadioButtons(index, window);
    AttachEditsAndComboBoxes(index, window);
    AttachTrackbars(index, window);
    AttachProgressBars(index, window);
    AttachListControls(index, window);
    AttachUpDowns(index, window);
    AttachHeaders(index, window);
    SkinWindowTable[index].RenderNeeded = 1;

    // The properties go on before the procedure is swapped, so the first
    // message that reaches the engine's procedure already finds them.
    const LONG_PTR previous = GetWindowLongPtrA(window, GWLP_WNDPROC);
    WriteProp(window, prop::Hw_hProc, previous);
    WriteProp(window, prop::Hw_lbID, index);
    SkinWindowTable[index].PreviousProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, static_cast<LONG_PTR>(WindowProcThunk.Address())));
}

void FreeWindowCaches(int index) {
    if (!SkinWindowTable.Contains(index)) return;
    SkinWindowRecord& r = SkinWindowTable[index];
    FreeCacheDc(r.WindowCacheDc, GetPropA(r.Window, prop::Ck_Ycjdx),
                GetPropA(r.Window, prop::Ck_wtjbdx));
    FreeCacheDc(r.CaptionCacheDc, r.CaptionCacheOldBitmap, r.CaptionCacheBitmap);
    FreeCacheDc(r.StatusCacheDc, r.StatusCacheOldBitmap, r.StatusCacheBitmap);
    r.WindowCacheDc = r.CaptionCacheDc = r.StatusCacheDc = nullptr;
    r.CaptionCacheBitmap = r.StatusCacheBitmap = nullptr;
    r.CaptionCacheOldBitmap = r.StatusCacheOldBitmap = nullptr;
}

void DetachSkinWindow(HWND window) {
    const int index = FindWindowRecord(window);
    if (index > 0) {
        for (const SkinnedEdit& e : SkinWindowTable[index].Edits)
            if (e.Window) DeleteHandedOutBackground(e.Window);
        FreeWindowCaches(index);
        // The tooltip window has no parent (it makes itself a topmost popup),
        // so nothing takes it away with the skinned window: it goes here,
        // after the record, in case its end sends anything.
        const HWND tips = SkinWindowTable[index].CaptionTooltip.GetHwnd();
        SkinWindowTable.RemoveAt(index);
        if (tips) DestroyWindow(tips);
    }
    RenumberWindowProperties();
}

}  // namespace skin
