// Files dropped on a window, through OLE drag and drop. An IDropTarget that
// reads CF_HDROP receives drops from Explorer and from other processes'
// DoDragDrop; WM_DROPFILES does not carry its HDROP across processes under
// Wine, so it is not used.
#include "runtime/drop_target.h"

#include "runtime/units_internal.h"

namespace rt {
namespace {

FORMATETC HdropFormat() { return {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}; }

class FileDropTarget final : public IDropTarget {
public:
    explicit FileDropTarget(int dropUnit) : dropUnit_(dropUnit) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (!out) return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDropTarget)) {
            *out = static_cast<IDropTarget*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&refs_); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&refs_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
        FORMATETC fmt = HdropFormat();
        hasFiles_ = data && data->QueryGetData(&fmt) == S_OK;
        return Answer(effect);
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD* effect) override { return Answer(effect); }
    HRESULT STDMETHODCALLTYPE DragLeave() override {
        hasFiles_ = false;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
        hasFiles_ = false;
        if (!effect) return E_INVALIDARG;
        *effect = DROPEFFECT_NONE;
        detail::Unit* unit = detail::FindUnit(dropUnit_);
        if (!data || !unit || unit->acceptDrops != 1) return S_OK;
        FORMATETC fmt = HdropFormat();
        STGMEDIUM medium = {};
        if (data->GetData(&fmt, &medium) != S_OK) return S_OK;
        AnsiText text;
        if (medium.tymed == TYMED_HGLOBAL && medium.hGlobal) {
            // DragQueryFile reads the DROPFILES header itself; lock so the
            // block stays put while it does.
            HDROP drop = static_cast<HDROP>(GlobalLock(medium.hGlobal));
            if (drop) text = HdropToText(static_cast<HDROP>(medium.hGlobal));
            GlobalUnlock(medium.hGlobal);
        }
        ReleaseStgMedium(&medium);
        *effect = DROPEFFECT_COPY;
        auto handler = unit->events.filesDropped;  // the handler may rebuild units
        if (handler) handler(text);
        return S_OK;
    }

private:
    HRESULT Answer(DWORD* effect) {
        if (!effect) return E_INVALIDARG;
        detail::Unit* unit = detail::FindUnit(dropUnit_);
        const bool accept = hasFiles_ && unit && unit->acceptDrops == 1;
        // Copy, never move: the files stay where the source keeps them.
        *effect = accept && (*effect & DROPEFFECT_COPY) ? DROPEFFECT_COPY : DROPEFFECT_NONE;
        return S_OK;
    }

    LONG refs_ = 1;
    int dropUnit_;
    bool hasFiles_ = false;
};

}  // namespace

AnsiText HdropToText(HDROP drop) {
    // Read as UTF-16 whatever form the source offered (Explorer offers
    // UTF-16), so that the conversion to GBK is ours, without best fit.
    AnsiText text;
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        const UINT len = DragQueryFileW(drop, i, nullptr, 0);
        std::vector<wchar_t> path(len + 1);
        const UINT got = DragQueryFileW(drop, i, path.data(), len + 1);
        if (i) text += "\r\n";
        text += AnsiOfUtf16(path.data(), got);
    }
    return text;
}

IDropTarget* NewFileDropTarget(int dropUnit) { return new FileDropTarget(dropUnit); }

bool RegisterDropTarget(int dropUnit, HWND window) {
    RequireUnitKind(dropUnit, UnitKind::DropTarget);
    static thread_local bool oleStarted = false;
    if (!oleStarted) oleStarted = SUCCEEDED(OleInitialize(nullptr));
    IDropTarget* target = NewFileDropTarget(dropUnit);
    RevokeDragDrop(window);  // a second registration replaces the first
    const HRESULT registered = RegisterDragDrop(window, target);
    target->Release();  // the registration holds its own reference
    return SUCCEEDED(registered);
}

}  // namespace rt
