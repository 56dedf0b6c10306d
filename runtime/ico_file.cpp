// Reading ICO files held in memory.
#include "runtime/units_internal.h"

namespace rt::detail {

HICON IconFromIcoBytes(const ByteString& ico) {
    auto word = [&](std::size_t at) { return static_cast<unsigned>(ico[at] | (ico[at + 1] << 8)); };
    auto dword = [&](std::size_t at) { return word(at) | (word(at + 2) << 16); };
    if (ico.size() < 6 + 16 || word(0) != 0 || word(2) != 1 || word(4) < 1) return nullptr;
    const std::size_t size = dword(6 + 8), offset = dword(6 + 12);
    if (size == 0 || offset > ico.size() || size > ico.size() - offset) return nullptr;
    const int w = ico[6] ? ico[6] : 256, h = ico[7] ? ico[7] : 256;
    return CreateIconFromResourceEx(const_cast<PBYTE>(ico.data() + offset), static_cast<DWORD>(size), TRUE,
                                    0x00030000, w, h, LR_DEFAULTCOLOR);
}

}  // namespace rt::detail
