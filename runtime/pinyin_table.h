// The generated pinyin table: one cell per GBK double-byte code, holding an
// index into kReadings (0: the character has no reading).
#pragma once

namespace rt::pinyin_table {

extern const int kLeadFirst, kLeadLast, kTrailFirst, kTrailLast;
extern const int kCharactersWithReading;
extern const char* const kReadings[];
extern const int kReadingCount;
extern const unsigned short kCells[];

}  // namespace rt::pinyin_table
