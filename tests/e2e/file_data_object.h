// A data object offering a list of files as CF_HDROP in UTF-16, as Explorer
// offers a drag. Used by the drop-target tests and by the end-to-end driver.
#pragma once

#include <ole2.h>
#include <shlobj.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

namespace testdrop {

// An HGLOBAL holding DROPFILES with paths of that character type: UTF-16,
// as Explorer offers them, or ANSI, as older sources do.
template <class Char>
HGLOBAL MakeHdrop(const std::vector<std::basic_string<Char>>& paths) {
    std::size_t bytes = sizeof(DROPFILES) + 2 * sizeof(Char);  // the list ends in an empty path
    for (const auto& p : paths) bytes += (p.size() + 1) * sizeof(Char);
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
    auto* df = static_cast<DROPFILES*>(GlobalLock(mem));
    df->pFiles = sizeof(DROPFILES);
    df->fWide = sizeof(Char) == sizeof(wchar_t);
    auto* at = reinterpret_cast<Char*>(reinterpret_cast<char*>(df) + sizeof(DROPFILES));
    for (const auto& p : paths) {
        std::memcpy(at, p.c_str(), (p.size() + 1) * sizeof(Char));
        at += p.size() + 1;
    }
    GlobalUnlock(mem);
    return mem;
}

inline std::wstring WidePath(const std::string& ansi) {
    std::wstring wide(ansi.size(), L'\0');
    wide.resize(MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), &wide[0],
                                    static_cast<int>(wide.size())));
    return wide;
}

// IUnknown for a single-interface object created with one reference.
template <class Interface, const IID* kIid>
class Unknown : public Interface {
public:
    virtual ~Unknown() = default;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, *kIid)) {
            *out = static_cast<Interface*>(this);
            this->AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&refs_); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&refs_);
        if (!left) delete this;
        return static_cast<ULONG>(left);
    }

private:
    LONG refs_ = 1;
};

class FileDataObject final : public Unknown<IDataObject, &IID_IDataObject> {
public:
    explicit FileDataObject(std::vector<std::wstring> paths) : paths_(std::move(paths)) {}
    explicit FileDataObject(const std::vector<std::string>& paths) {
        for (const std::string& p : paths) paths_.push_back(WidePath(p));
    }

    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* fmt, STGMEDIUM* medium) override {
        if (QueryGetData(fmt) != S_OK) return DV_E_FORMATETC;
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = MakeHdrop(paths_);
        medium->pUnkForRelease = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* fmt) override {
        return fmt && fmt->cfFormat == CF_HDROP && (fmt->tymed & TYMED_HGLOBAL) ? S_OK : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
        out->ptd = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD dir, IEnumFORMATETC** out) override {
        if (dir != DATADIR_GET) return E_NOTIMPL;
        FORMATETC fmt = {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        return SHCreateStdEnumFmtEtc(1, &fmt, out);
    }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    std::vector<std::wstring> paths_;
};

}  // namespace testdrop
