// The method table's invokers: one generic adapter per operation that turns
// the arguments a thunk receives (one ThunkWord each) into the member's own
// parameters, calls it, and gives back its result as a ThunkWord.
//
// An operation can sit in the table when every parameter fits in one word
// (an integer, a handle, a pointer, an enumeration) or a std::optional of one
// (a thunk's argument is always given). Add a line to method_table.cpp in the
// unit that defines the member:   Slot<&SkinEngine::X>(Operation::X)
#pragma once

#include <cstdint>
#include <optional>
#include <type_traits>

#include "skin/engine.h"

namespace skin {
namespace thunk_detail {

template <class T>
struct FromArg {
    static T Get(ThunkWord v) {
        if constexpr (std::is_pointer_v<T>) {
            return reinterpret_cast<T>(static_cast<std::uintptr_t>(v));
        } else {
            static_assert((std::is_integral_v<T> || std::is_enum_v<T>) &&
                              sizeof(T) <= sizeof(ThunkWord),
                          "a thunk argument is one word");
            return static_cast<T>(v);
        }
    }
};
template <class T>
struct FromArg<std::optional<T>> {
    static std::optional<T> Get(ThunkWord v) { return FromArg<T>::Get(v); }
};

template <class R>
ThunkWord ToResult(R r) {
    if constexpr (std::is_pointer_v<R>) {
        return reinterpret_cast<ThunkWord>(r);
    } else {
        static_assert((std::is_integral_v<R> || std::is_enum_v<R>) &&
                          sizeof(R) <= sizeof(ThunkWord),
                      "a result is one word");
        return static_cast<ThunkWord>(r);
    }
}

template <auto Member>
struct Invoker;

template <class R, class... P, R (SkinEngine::*Member)(P...)>
struct Invoker<Member> {
    static ThunkWord Call(SkinEngine* self, const ThunkWord* args) {
        return Apply(self, args, std::index_sequence_for<P...>{});
    }
    template <std::size_t... I>
    static ThunkWord Apply(SkinEngine* self, const ThunkWord* args, std::index_sequence<I...>) {
        if constexpr (std::is_void_v<R>) {
            (self->*Member)(FromArg<std::decay_t<P>>::Get(args[I])...);
            return 0;
        } else {
            return ToResult((self->*Member)(FromArg<std::decay_t<P>>::Get(args[I])...));
        }
    }
};

}  // namespace thunk_detail

// How a thunk's one-word arguments carry what is no plain number: a window or
// a rectangle as its handle or address, a text as the address of its
// NUL-terminated bytes, a picture as the address of a ByteString, a graphics
// surface as the address of the GraphicsObject that holds it. An address of
// 0 means not given.
namespace thunk_args {
inline HWND Window(ThunkWord v) { return reinterpret_cast<HWND>(v); }
template <class T>
T* Pointer(ThunkWord v) {
    return reinterpret_cast<T*>(static_cast<std::uintptr_t>(v));
}
inline const char* Text(ThunkWord v) { return Pointer<const char>(v); }
}  // namespace thunk_args

// The invoker of an engine member.
template <auto Member>
constexpr OperationInvoker InvokerOf() {
    return &thunk_detail::Invoker<Member>::Call;
}

}  // namespace skin
