#pragma once
// The instruments the transfer dialogs offer and what each can be sent to or read from.
// Rows are those of the dialogs' lists: a make row, a model row within the make, and the
// interface row (TransferInterface).

#include <string>
#include <vector>

namespace plotwell::transfer {

// Make list rows: "Quorvex", "Tektronix", "Fluke", "Wavetek".
const std::vector<std::string>& makeNames();
// Model rows of a make row; empty for a row outside the list.
const std::vector<std::string>& modelNames(int makeIndex);

// How the Destination (Source) combo takes its text.
enum class ComboStyle {
    Unchanged, // no table row matched: the combo keeps its style
    FreeText,  // typed text with the list always shown
    List,      // a choice of the rows only
};

// What the Stretch list offers after a rebuild.
enum class StretchRows {
    Unchanged,
    YesNo,   // "Yes", "No" ("No" put back when it was removed)
    OnlyYes, // "No" removed, "Yes" selected
};

struct DestinationRows {
    ComboStyle style = ComboStyle::Unchanged;
    std::vector<std::string> rows;
    StretchRows stretch = StretchRows::Unchanged;
    bool interpolate = false; // the Interpolate box is shown
};

// The download's Destination list for (make, model, interface) rows.
DestinationRows destinationRows(int makeIndex, int modelIndex, int typeIndex);

struct SourceRows {
    ComboStyle style = ComboStyle::Unchanged;
    std::vector<std::string> rows;
};

// The upload's Source list for (make, model, interface) rows.
SourceRows sourceRows(int makeIndex, int modelIndex, int typeIndex);

// The serial flow control that choosing a make presets: RTS/CTS for the oscilloscopes
// (make 1), Xon/Xoff for the others.
int flowControlPreset(int makeIndex);

} // namespace plotwell::transfer
