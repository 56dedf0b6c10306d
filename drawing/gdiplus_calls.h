// The templates through which every operation of the layer calls GDI+, so
// that each operation reads as the one GDI+ call it makes: Keep (the last
// status), Act, Get and Is (actions and getters), Make, Kill, Adopt and Hand
// (creating, deleting, handing a new native object to another object),
// CloneCopy, the casts between our records and GDI+'s, and the array
// helpers. Only the layer's own sources include this.
#pragma once

#include <cstring>
#include <type_traits>

#include "drawing/native_object.h"

namespace drw {
namespace calls {

namespace gp = Gdiplus::DllExports;
using Gdiplus::GpStatus;

// Remembers a status as the layer's last one and turns it into 1 / 0.
inline int Keep(GpStatus s) {
    LastStatus = s;
    return s == Gdiplus::Ok ? 1 : 0;
}

// Lets one of our values stand for whatever a GDI+ parameter wants: ints
// become GDI+ enumerations, void* handles the typed handle, our records
// GDI+'s records of the same layout.
template <class T>
struct Loose {
    T v;
    template <class U>
    operator U() const {
        if constexpr (std::is_pointer_v<U> && std::is_pointer_v<T> &&
                      !std::is_convertible_v<T, U> && !std::is_same_v<T, void*> &&
                      !std::is_same_v<T, const void*>)
            return reinterpret_cast<U>(v);
        else if constexpr (std::is_class_v<U> && !std::is_convertible_v<T, U>) {
            static_assert(std::is_class_v<T> && sizeof(T) == sizeof(U), "record of another layout");
            U u;
            std::memcpy(static_cast<void*>(&u), &v, sizeof(U));
            return u;
        }
        else
            return static_cast<U>(v);
    }
};
template <class T>
Loose<T> L(const T& v) { return Loose<T>{v}; }

// Our record types as GDI+'s (same layout).
inline const Gdiplus::RectF* Gp(const RectF* r) { return reinterpret_cast<const Gdiplus::RectF*>(r); }
inline const Gdiplus::PointF* Gp(const PointF* p) { return reinterpret_cast<const Gdiplus::PointF*>(p); }
inline const Gdiplus::Rect* Gp(const Rect* r) { return reinterpret_cast<const Gdiplus::Rect*>(r); }
inline const Gdiplus::Point* Gp(const Point* p) { return reinterpret_cast<const Gdiplus::Point*>(p); }
inline Gdiplus::RectF* Gp(RectF* r) { return reinterpret_cast<Gdiplus::RectF*>(r); }
inline Gdiplus::PointF* Gp(PointF* p) { return reinterpret_cast<Gdiplus::PointF*>(p); }
inline Gdiplus::Rect* Gp(Rect* r) { return reinterpret_cast<Gdiplus::Rect*>(r); }
inline Gdiplus::Point* Gp(Point* p) { return reinterpret_cast<Gdiplus::Point*>(p); }

// First element of an array (nullptr when empty) and its count.
template <class T>
T* First(CountedArray<T>& a) { return a.Empty() ? nullptr : &a[1]; }
template <class T>
const T* First(const CountedArray<T>& a) { return a.Empty() ? nullptr : &a[1]; }
template <class T>
auto GpFirst(const CountedArray<T>& a) { return Gp(First(a)); }
template <class T>
auto GpFirst(CountedArray<T>& a) { return Gp(First(a)); }

// Action: call, keep the status, 1 on Ok.
template <class F, class... A>
int Act(F fn, const A&... a) { return Keep(fn(L(a)...)); }

// Getter: GDI+ writes one value of type V into a zeroed local, returned as R.
template <class V, class R = V, class F, class... A>
R Get(F fn, const A&... a) {
    V v{};
    Keep(fn(L(a)..., L(&v)));
    return static_cast<R>(v);
}

// Truth getter: 1 when GDI+ answers TRUE.
template <class F, class... A>
int Is(F fn, const A&... a) { return Get<BOOL>(fn, a...) ? 1 : 0; }

// Live-object bookkeeping (native_object.cpp).
void Born(const void* h);
void Gone(const void* h);
void NotedOverwrite();

// Creation: GDI+ writes the new handle into the class's own copy `own`;
// the object then holds it (or nothing on failure).
template <class H, class F, class... A>
int Make(NativeObject& self, H*& own, F fn, const A&... a) {
    if (own) NotedOverwrite();
    GpStatus s = fn(L(a)..., &own);
    if (s != Gdiplus::Ok) own = nullptr;
    else if (own) Born(own);
    self.SetNative(own);
    return Keep(s);
}

// Deletion: nothing when empty; else delete, forget, empty every copy.
template <class H, class F>
int Kill(NativeObject& self, H* own, F fn) {
    if (!own) return 0;
    GpStatus s = fn(own);
    Gone(own);
    self.SetNative(nullptr);
    return Keep(s);
}

// A new native object `h` that GDI+ made with status `s` goes to `target`.
inline int Adopt(NativeObject& target, GpStatus s, void* h) {
    if (target.GetNative()) NotedOverwrite();
    if (s != Gdiplus::Ok) h = nullptr;
    else if (h) Born(h);
    target.SetNative(h);
    return Keep(s);
}

// A new native object handed to another object (clones, GetFamily, ...).
template <class H, class F, class... A>
int Hand(NativeObject& target, F fn, const A&... a) {
    H* h = nullptr;
    GpStatus s = fn(L(a)..., &h);
    return Adopt(target, s, h);
}

// Deep copy through a clone operation of the class.
template <class C>
std::unique_ptr<C> CloneCopy(const C& self) {
    auto copy = std::make_unique<C>();
    if (self.GetNative()) self.Clone(*copy);
    return copy;
}

}  // namespace calls
}  // namespace drw

namespace drw {
namespace calls {

// The handle of an object argument (NULL for nullptr or an empty object).
inline void* N(const NativeObject& o) { return o.GetNative(); }
inline void* N(const NativeObject* o) { return o ? o->GetNative() : nullptr; }

// Refuses a call whose arrays do not hold what GDI+ would read: keeps
// InvalidParameter as the last status and lets the operation return 0.
inline bool Enough(int have, int need) {
    if (have >= need) return true;
    LastStatus = Gdiplus::InvalidParameter;
    return false;
}

// UTF-16 bytes from a caller, made safe to hand GDI+ as a zero-terminated
// string: a copy with a zero unit added when the bytes hold none.
ByteString Terminated(const ByteString& wide);
// Units before the first zero unit, never beyond the bytes.
int WideLength(const ByteString& wide);

// Scale or rotate about a centre: translate there, apply, translate back,
// in the order that keeps the centre fixed for prepend (0) and append (1).
template <class Translate, class Apply>
int AboutCentre(const PointF& c, int order, Translate translate, Apply apply) {
    float sign = order == 0 ? 1.0f : -1.0f;
    int ok = translate(sign * c.x, sign * c.y);
    ok &= apply();
    ok &= translate(-sign * c.x, -sign * c.y);
    return ok;
}

}  // namespace calls
}  // namespace drw

namespace drw {
namespace calls {

// Sizes an array to `count` elements and lets GDI+ fill it: fn(handle, data, count).
template <class T, class F, class H>
int FillArray(CountedArray<T>& a, int count, F fn, H handle) {
    a.Resize(count);
    return Act(fn, handle, First(a), a.Count());
}

// Sizes two parallel arrays and lets GDI+ fill both: fn(handle, a, b, count).
template <class T, class U, class F, class H>
int FillArrays(CountedArray<T>& a, CountedArray<U>& b, int count, F fn, H handle) {
    a.Resize(count);
    b.Resize(count);
    return Act(fn, handle, First(a), First(b), a.Count());
}

// Hands GDI+ two parallel arrays with the first one's count, once the
// second holds at least as many elements.
template <class T, class U, class F, class H>
int GiveArrays(const CountedArray<T>& a, const CountedArray<U>& b, F fn, H handle) {
    if (!Enough(b.Count(), a.Count())) return 0;
    return Act(fn, handle, First(a), First(b), a.Count());
}

}  // namespace calls
}  // namespace drw
