// The table of skinned-window records and the numbering that windows and
// controls read from their properties.
#include "skin/record.h"

namespace skin {

WindowRecordTable SkinWindowTable;

namespace {

// A per-control array as a new record holds it: one all-zero entry.
template <class Entry>
void StartWithEmptyEntry(rt::CountedArray<Entry>& entries) {
    entries.Clear();
    entries.Append(Entry{});
}

// The record's index on every entry of one control family.
template <class Entry>
void NumberEntries(const rt::CountedArray<Entry>& entries, const char* property, int index) {
    for (const Entry& e : entries)
        if (e.Window) WriteProp(e.Window, property, index);
}

}  // namespace

std::unique_ptr<SkinWindowRecord> NewSkinWindowRecord() {
    auto r = std::make_unique<SkinWindowRecord>();
    StartWithEmptyEntry(r->Buttons);
    StartWithEmptyEntry(r->Edits);
    StartWithEmptyEntry(r->ListControls);
    StartWithEmptyEntry(r->Trackbars);
    StartWithEmptyEntry(r->ProgressBars);
    StartWithEmptyEntry(r->ComboBoxes);
    StartWithEmptyEntry(r->UpDowns);
    StartWithEmptyEntry(r->Headers);
    StartWithEmptyEntry(r->PlainControls);
    StartWithEmptyEntry(r->Containers);
    return r;
}

int WindowRecordTable::Append(std::unique_ptr<SkinWindowRecord> record) {
    records_.Append(std::move(record));
    return records_.Count();
}

void WindowRecordTable::RemoveAt(int index) { records_.RemoveAt(index); }

void WindowRecordTable::Clear() { records_.Clear(); }

void RenumberWindowProperties() {
    for (int i = 1; i <= SkinWindowTable.Count(); ++i) {
        const SkinWindowRecord& r = SkinWindowTable[i];
        WriteProp(r.Window, prop::Hw_lbID, i);
        NumberEntries(r.ListControls, prop::Hw_FuID, i);
        NumberEntries(r.Buttons, prop::Hw_FuID, i);
        NumberEntries(r.Edits, prop::Hw_FuID, i);
        NumberEntries(r.ComboBoxes, prop::Hw_FuID, i);
        NumberEntries(r.Headers, prop::Hw_FuID, i);
        NumberEntries(r.UpDowns, prop::Hw_FuID, i);
        NumberEntries(r.Trackbars, prop::Hw_FuID, i);
        NumberEntries(r.ProgressBars, prop::Hw_FuID, i);
        NumberEntries(r.Containers, prop::Hw_FuID, i);
        NumberEntries(r.PlainControls, prop::Kj_FuID, i);
    }
}

}  // namespace skin
