// Texts as GBK bytes: characters, searching, splitting and pinyin. A lead
// byte 0x81..0xFE takes the byte after it along, so no search ever matches
// the trail byte of a double-byte character (which may be 0x5C, "\").
// Also the conversion of file names between GBK and UTF-16 that the drop
// and the dialog share: what GBK lacks becomes "?", never a look-alike that
// names another file. Environment values (the system's own folders) are
// converted apart, in system.cpp, with the platform's best fit.
#include "runtime/pinyin_table.h"
#include "runtime/runtime.h"

namespace rt {
namespace {

// Length in bytes of the character that starts at byte offset i.
std::size_t CharLengthAt(const AnsiText& text, std::size_t i) {
    if (IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) return 2;
    return 1;
}

}  // namespace

std::wstring Utf16Of(const AnsiText& text) {
    const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0) MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &wide[0], n);
    return wide;
}

AnsiText AnsiOfUtf16(const wchar_t* wide, std::size_t length) {
    const int len = static_cast<int>(length);
    const int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, len, nullptr, 0, "?", nullptr);
    AnsiText text(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
    if (n > 0) WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, len, &text[0], n, "?", nullptr);
    return text;
}

int CharCount(const AnsiText& text) {
    int count = 0;
    for (std::size_t i = 0; i < text.size(); i += CharLengthAt(text, i)) ++count;
    return count;
}

AnsiText CharAt(const AnsiText& text, int index) {
    if (index < 1) return AnsiText();
    int n = 0;
    for (std::size_t i = 0; i < text.size(); i += CharLengthAt(text, i))
        if (++n == index) return text.substr(i, CharLengthAt(text, i));
    return AnsiText();
}

std::size_t FindLastByte(const AnsiText& text, char c) {
    std::size_t found = AnsiText::npos;
    for (std::size_t i = 0; i < text.size(); i += CharLengthAt(text, i))
        if (text[i] == c) found = i;
    return found;
}

std::vector<AnsiText> SplitText(const AnsiText& text, const AnsiText& sep) {
    std::vector<AnsiText> pieces;
    if (text.empty()) return pieces;
    if (sep.empty()) return {text};
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text.compare(i, sep.size(), sep) == 0) {
            pieces.push_back(text.substr(start, i - start));
            i += sep.size();
            start = i;
        } else {
            i += CharLengthAt(text, i);
        }
    }
    pieces.push_back(text.substr(start));
    return pieces;
}

AnsiText PinyinOf(const AnsiText& ch) {
    using namespace pinyin_table;
    if (ch.size() != 2) return AnsiText();
    const int lead = static_cast<unsigned char>(ch[0]);
    const int trail = static_cast<unsigned char>(ch[1]);
    if (lead < kLeadFirst || lead > kLeadLast || trail < kTrailFirst || trail > kTrailLast)
        return AnsiText();
    const int cell = kCells[(lead - kLeadFirst) * (kTrailLast - kTrailFirst + 1) + (trail - kTrailFirst)];
    return kReadings[cell];
}

}  // namespace rt
