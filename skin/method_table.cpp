// The engine's method table: one invoker per operation, in table order.
// A slot stays empty until the unit that defines its operation adds its line;
// a thunk for an empty slot is empty.
#include "skin/method_table.h"

#include <array>

#include "skin/drag_resize.h"
#include "skin/status_bar.h"
#include "skin/controls/image_button.h"

namespace skin {
namespace {

uint32_t InvokeCopy(SkinEngine* self, const uint32_t*) {
    // The caller owns the new object.
    return thunk_detail::ToResult(self->Copy().release());
}

std::array<OperationInvoker, kOperationCount> MakeTable() {
    std::array<OperationInvoker, kOperationCount> t{};
    auto slot = [&t](Operation op, OperationInvoker f) { t[static_cast<int>(op)] = f; };
    slot(Operation::Destroy, InvokerOf<&SkinEngine::Destroy>());
    slot(Operation::Copy, &InvokeCopy);
    slot(Operation::SetControlOptions, InvokerOf<&SkinEngine::SetControlOptions>());
    // Status bar and docked windows.
    slot(Operation::CreateStatusBar, InvokerOf<&SkinEngine::CreateStatusBar>());
    slot(Operation::LayoutStatusBar, InvokerOf<&SkinEngine::LayoutStatusBar>());
    slot(Operation::PaintStatusPane, InvokerOf<&SkinEngine::PaintStatusPane>());
    slot(Operation::SetPaneText, &InvokeSetPaneText);
    slot(Operation::SetStatusBarStyle, &InvokeSetStatusBarStyle);
    slot(Operation::LayoutDockedPanes, InvokerOf<&SkinEngine::LayoutDockedPanes>());
    // Frame, background and caption strip.
    slot(Operation::RenderWindow, InvokerOf<&SkinEngine::RenderWindow>());
    slot(Operation::BlitWindowCache, InvokerOf<&SkinEngine::BlitWindowCache>());
    slot(Operation::PaintCaptionButton, InvokerOf<&SkinEngine::PaintCaptionButton>());
    slot(Operation::LayoutCaptionButtons, InvokerOf<&SkinEngine::LayoutCaptionButtons>());
    slot(Operation::HitCaptionButton, InvokerOf<&SkinEngine::HitCaptionButton>());
    slot(Operation::FindMaximizeButton, InvokerOf<&SkinEngine::FindMaximizeButton>());
    slot(Operation::SetHelpButtonCallback, InvokerOf<&SkinEngine::SetHelpButtonCallback>());
    slot(Operation::SetMenuButtonCallback, InvokerOf<&SkinEngine::SetMenuButtonCallback>());
    slot(Operation::GetPictureColor, InvokerOf<&SkinEngine::GetPictureColor>());
    slot(Operation::SetSystemButtonImages, InvokerOf<&SkinEngine::SetSystemButtonImages>());
    // Window procedure, caption clicks, attach, caption drag and resizing.
    slot(Operation::SkinWindowProc, InvokerOf<&SkinEngine::SkinWindowProc>());
    slot(Operation::OnCaptionButtonClick, InvokerOf<&SkinEngine::OnCaptionButtonClick>());
    slot(Operation::AttachSkin, InvokerOf<&SkinEngine::AttachSkin>());
    slot(Operation::CaptionMouseDown, &InvokeCaptionMouseDown);
    slot(Operation::UpdateResizeCursor, &InvokeUpdateResizeCursor);
    slot(Operation::SetControlTextColor, InvokerOf<&SkinEngine::SetControlTextColor>());
    // Picture buttons and plain controls.
    slot(Operation::SetButtonImage, &InvokeSetButtonImage);
    slot(Operation::SetButtonImages, &InvokeSetButtonImages);
    slot(Operation::AttachPlainControl, InvokerOf<&SkinEngine::AttachPlainControl>());
    // Containers.
    slot(Operation::AttachContainer, InvokerOf<&SkinEngine::AttachContainer>());
    slot(Operation::SetContainerAlpha, InvokerOf<&SkinEngine::SetContainerAlpha>());
    return t;
}

}  // namespace

OperationInvoker MethodSlot(Operation op) {
    static const std::array<OperationInvoker, kOperationCount> table = MakeTable();
    const int i = static_cast<int>(op);
    return i >= 0 && i < kOperationCount ? table[i] : nullptr;
}

}  // namespace skin
