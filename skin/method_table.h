// The method table's invokers: one generic adapter per operation that turns
// the 32-bit stdcall arguments a thunk receives into the member's own
// parameters, calls it, and gives back its result as 32 bits.
//
// An operation can sit in the table when every parameter is a 32-bit value
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
    static T Get(uint32_t v) {
        if constexpr (std::is_pointer_v<T>) {
            return reinterpret_cast<T>(static_cast<std::uintptr_t>(v));
        } else {
            static_assert(std::is_integral_v<T> || std::is_enum_v<T>,
                          "thunk arguments are 32-bit values");
            return static_cast<T>(v);
        }
    }
};
template <class T>
struct FromArg<std::optional<T>> {
    static std::optional<T> Get(uint32_t v) { return FromArg<T>::Get(v); }
};

template <class R>
uint32_t ToResult(R r) {
    if constexpr (std::is_pointer_v<R>) {
        return static_cast<uint32_t>(reinterpret_cast<std::uintptr_t>(r));
    } else {
        static_assert(std::is_integral_v<R> || std::is_enum_v<R>, "results are 32-bit values");
        return static_cast<uint32_t>(r);
    }
}

template <auto Member>
struct Invoker;

template <class R, class... P, R (SkinEngine::*Member)(P...)>
struct Invoker<Member> {
    static uint32_t Call(SkinEngine* self, const uint32_t* args) {
        return Apply(self, args, std::index_sequence_for<P...>{});
    }
    template <std::size_t... I>
    static uint32_t Apply(SkinEngine* self, const uint32_t* args, std::index_sequence<I...>) {
        if constexpr (std::is_void_v<R>) {
            (self->*Member)(FromArg<std::decay_t<P>>::Get(args[I])...);
            return 0;
        } else {
            return ToResult((self->*Member)(FromArg<std::decay_t<P>>::Get(args[I])...));
        }
    }
};

}  // namespace thunk_detail

// How a thunk's 32-bit arguments carry what is no plain number: a window or
// a rectangle as its handle or address, a text as the address of its
// NUL-terminated bytes, a picture as the address of a ByteString, a graphics
// surface as the address of the GraphicsObject that holds it. An address of
// 0 means not given.
namespace thunk_args {
inline HWND Window(uint32_t v) { return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(v)); }
template <class T>
T* Pointer(uint32_t v) {
    return reinterpret_cast<T*>(static_cast<std::uintptr_t>(v));
}
inline const char* Text(uint32_t v) { return Pointer<const char>(v); }
}  // namespace thunk_args

// The invoker of an engine member.
template <auto Member>
constexpr OperationInvoker InvokerOf() {
    return &thunk_detail::Invoker<Member>::Call;
}

}  // namespace skin
