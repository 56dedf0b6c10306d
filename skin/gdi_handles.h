// Small owning types for the GDI handles the engine makes, so that every path
// of a painting routine gives back what it took, and live counters for each
// kind so that tests can prove it (GetGuiResources tells nothing under Wine).
//
//   WindowDc       GetDC / ReleaseDC
//   PaintDc        BeginPaint / EndPaint
//   MemoryDc       CreateCompatibleDC / DeleteDC
//   GdiObject<H>   any HBITMAP, HBRUSH, HPEN, HRGN, HFONT ... / DeleteObject
//   SelectedObject SelectObject, and the displaced object selected back
//
// A handle that must outlive its scope (a registered capture DC, a brush kept
// in a window property) is taken out with Release(); whoever deletes it later
// calls DeleteCountedDc / DeleteCountedObject so that the counters stay true.
#pragma once

#include <windows.h>

#include <utility>

namespace skin {

enum class GdiKind { WindowDc, MemoryDc, Object, Count };

// Objects of that kind made through these types (or counted in with
// CountMade) and not yet given back.
int LiveGdiCount(GdiKind kind);
void CountMade(GdiKind kind);
void CountFreed(GdiKind kind);

// Delete a handle that was made counted and later released from its owner.
// A null handle is left alone and does not count.
inline BOOL DeleteCountedObject(HGDIOBJ object) {
    if (!object) return FALSE;
    CountFreed(GdiKind::Object);
    return DeleteObject(object);
}
inline BOOL DeleteCountedDc(HDC dc) {
    if (!dc) return FALSE;
    CountFreed(GdiKind::MemoryDc);
    return DeleteDC(dc);
}

// Shared shape of the move-only owners: one handle, given back once.
template <class Handle>
class UniqueGdiHandle {
public:
    UniqueGdiHandle(const UniqueGdiHandle&) = delete;
    UniqueGdiHandle& operator=(const UniqueGdiHandle&) = delete;

    Handle Get() const { return handle_; }
    operator Handle() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }

    // Gives up ownership; the counter keeps counting the handle as live.
    Handle Release() { return std::exchange(handle_, nullptr); }

protected:
    UniqueGdiHandle() = default;
    explicit UniqueGdiHandle(Handle h) : handle_(h) {}
    UniqueGdiHandle(UniqueGdiHandle&& other) noexcept : handle_(other.Release()) {}
    ~UniqueGdiHandle() = default;
    Handle handle_ = nullptr;
};

// Which DC of a window WindowDc takes: the client area (GetDC) or the whole
// window with its frame (GetWindowDC).
enum class DcArea { Client, Window };

// A scoped GetDC(window) or GetWindowDC(window) released with ReleaseDC on
// every path.
class WindowDc : public UniqueGdiHandle<HDC> {
public:
    explicit WindowDc(HWND window, DcArea area = DcArea::Client)
        : UniqueGdiHandle(area == DcArea::Window ? GetWindowDC(window) : GetDC(window)),
          window_(window) {
        if (handle_) CountMade(GdiKind::WindowDc);
    }
    WindowDc(WindowDc&& other) noexcept : UniqueGdiHandle(std::move(other)), window_(other.window_) {}
    ~WindowDc() {
        if (handle_) {
            ReleaseDC(window_, handle_);
            CountFreed(GdiKind::WindowDc);
        }
    }

private:
    HWND window_;
};

// BeginPaint closed by EndPaint on every path.
class PaintDc {
public:
    explicit PaintDc(HWND window) : window_(window) {
        dc_ = BeginPaint(window, &paint_);
        if (dc_) CountMade(GdiKind::WindowDc);
    }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;
    ~PaintDc() {
        EndPaint(window_, &paint_);
        if (dc_) CountFreed(GdiKind::WindowDc);
    }
    HDC Get() const { return dc_; }
    operator HDC() const { return dc_; }
    const PAINTSTRUCT& Info() const { return paint_; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_ = nullptr;
};

// CreateCompatibleDC(like) deleted with DeleteDC.
class MemoryDc : public UniqueGdiHandle<HDC> {
public:
    explicit MemoryDc(HDC like) : UniqueGdiHandle(CreateCompatibleDC(like)) {
        if (handle_) CountMade(GdiKind::MemoryDc);
    }
    MemoryDc(MemoryDc&& other) noexcept = default;
    ~MemoryDc() { DeleteCountedDc(handle_); }
};

// Any GDI object (bitmap, brush, pen, region, font) deleted with DeleteObject.
// Adopt() takes a handle from a creating call; a null handle owns nothing.
template <class H>
class GdiObject : public UniqueGdiHandle<H> {
    using Base = UniqueGdiHandle<H>;

public:
    GdiObject() = default;
    static GdiObject Adopt(H h) { return GdiObject(h); }
    GdiObject(GdiObject&& other) noexcept = default;
    GdiObject& operator=(GdiObject&& other) noexcept {
        if (this != &other) {
            DeleteCountedObject(this->handle_);
            this->handle_ = other.Release();
        }
        return *this;
    }
    ~GdiObject() { DeleteCountedObject(this->handle_); }

private:
    explicit GdiObject(H h) : Base(h) {
        if (h) CountMade(GdiKind::Object);
    }
};

using BitmapHandle = GdiObject<HBITMAP>;
using BrushHandle = GdiObject<HBRUSH>;
using PenHandle = GdiObject<HPEN>;
using RegionHandle = GdiObject<HRGN>;
using FontHandle = GdiObject<HFONT>;

// A 32-bpp top-down DIB section of w x h, all pixels 0; bits (when given)
// receives the address of its first pixel. Empty for an empty size.
BitmapHandle MakeDibSection32(int w, int h, void** bits = nullptr);

// SelectObject that selects the displaced object back when it leaves scope.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object)
        : dc_(dc), previous_(dc && object ? SelectObject(dc, object) : nullptr) {}
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;
    ~SelectedObject() {
        if (previous_) SelectObject(dc_, previous_);
    }
    HGDIOBJ Previous() const { return previous_; }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

}  // namespace skin
