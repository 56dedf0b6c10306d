#include "drawing/gdiplus_calls.h"

#include <set>

namespace drw {

int LastStatus = 0;

namespace {
std::set<const void*>& LiveHandles() {
    static std::set<const void*> live;
    return live;
}
int overwrites = 0;
}  // namespace

namespace calls {
void Born(const void* h) { LiveHandles().insert(h); }
void Gone(const void* h) { LiveHandles().erase(h); }
void NotedOverwrite() { ++overwrites; }
}  // namespace calls

int LiveObjectCount() { return static_cast<int>(LiveHandles().size()); }
int CreatedIntoHoldingCount() { return overwrites; }

void NativeObject::SetNative(void* h) {
    native_ = h;
    OnSetNative(h);
}

void* NativeObject::AllocGdipMemory(size_t bytes) { return Gdiplus::DllExports::GdipAlloc(bytes); }
void NativeObject::FreeGdipMemory(void* p) { Gdiplus::DllExports::GdipFree(p); }

ByteString ToWideText(const AnsiText& text) {
    int units = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    if (units < 1) units = 1;
    ByteString wide(static_cast<size_t>(units) * 2, 0);
    if (!text.empty())
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                            reinterpret_cast<wchar_t*>(wide.data()), units - 1);
    // The last unit stays zero: the terminator.
    return wide;
}

AnsiText WideToText(const wchar_t* wide) {
    if (!wide) return AnsiText();
    int bytes = WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (bytes < 1) return AnsiText();
    std::string text(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide, -1, &text[0], bytes, nullptr, nullptr);
    text.resize(text.find('\0'));
    return text;
}

}  // namespace drw

namespace drw {
namespace calls {

int WideLength(const ByteString& wide) {
    const size_t units = wide.size() / 2;
    const wchar_t* p = WidePtr(wide);
    size_t n = 0;
    while (n < units && p[n] != 0) ++n;
    return static_cast<int>(n);
}

ByteString Terminated(const ByteString& wide) {
    ByteString copy(wide.begin(), wide.begin() + static_cast<long>(WideLength(wide)) * 2);
    copy.push_back(0);
    copy.push_back(0);
    return copy;
}

}  // namespace calls
}  // namespace drw
