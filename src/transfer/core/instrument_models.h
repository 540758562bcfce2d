#pragma once
// Every instrument the transfers know, one row per make and model, with all that the
// program does differently for it: the worker each direction runs, the interfaces it has,
// the Destination and Source lists of the set-up dialogs, the identity it reports, its
// limits and the coding of its samples. The dialogs list the rows; the entries, the
// workers and the card files look them up. A model's index is its place among the rows
// of its make: the project files store it, so a new model goes after the last row of
// its make.

#include "transfer/core/link.h"
#include "transfer/core/transfer_settings.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace plotwell::transfer {

// Row of the Make list.
enum InstrumentMake : int { makeQuorvex = 0, makeTektronix = 1, makeFluke = 2, makeWavetek = 3 };

// The worker a transfer runs (TransferState). Any other value means idle.
enum TransferStateValue : int {
    stArbDefDownload = 0,
    stArbDataUpload = 1,
    stStoreDownload = 2,
    stStoreUpload = 3,
    stScopeDownload = 4,
    stScopeUpload = 5,
    stMakerDownload = 6,
    stMakerUpload = 7,
    stPatternDownload = 8,
    stIdle = 9,
};

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

struct SourceRows {
    ComboStyle style = ComboStyle::Unchanged;
    std::vector<std::string> rows;
};

// An upload whose instrument says how many points it sends.
inline constexpr int32_t kPointsFromInstrument = -1;
// A scope reference whose record length the user chooses before the download; the
// reference is then allocated to that length.
inline constexpr int32_t kChosenRecordLength = -1;

struct InstrumentModel {
    InstrumentMake make = makeQuorvex;
    std::string name{}; // as the Model list shows it

    // The worker each direction arms.
    TransferStateValue downloadState = stIdle;
    TransferStateValue uploadState = stIdle;
    // Scope reference downloads: the record length, or kChosenRecordLength.
    int32_t recordLength = 0;
    // Uploads: the reference word of the new samples, and the points asked for
    // (kPointsFromInstrument, or 0 for the scope's own record).
    uint16_t uploadReference = 0;
    int32_t uploadPoints = kPointsFromInstrument;

    // The interfaces it has beside GPIB and RS-232.
    bool usb = false;
    bool lan = false;
    bool cardDownload = false;
    bool cardUpload = false;
    // The download entry lets a bit pattern through: only an instrument with pattern
    // stores can take one.
    bool bitPatterns = false;

    // The download dialog's Destination list with its Stretch and Interpolate; over the
    // card interface the card's, where it differs; the upload dialog's Source list,
    // where it differs from the destinations.
    DestinationRows destinations{};
    std::optional<DestinationRows> cardDestinations{};
    std::optional<SourceRows> sources{};

    // The identity it reports: "%s" stands for the model text of the transfer from its
    // `identitySkip`-th character on. Uploads over any link but RS-232 expect
    // `busUploadIdentity` where that is set.
    std::string identity{};
    std::size_t identitySkip = 0;
    std::string busUploadIdentity{};

    // The largest waveform a download may send; the large stores "arb1" and "arb3" hold
    // `largeStorePoints` where that is set.
    int32_t maxPoints = 0;
    int32_t largeStorePoints = 0;
    // Generator and card codes: trunc(w x codeRange / R), bit 15 inverted for signed
    // codes. The code range is also the card file's header word.
    uint16_t codeRange = 0;
    bool signedCodes = false;
    // Scope bytes: trunc(w x scopeScale / R + scopeOffset), at most 255.
    float scopeScale = 0.0f;
    float scopeOffset = 0.0f;
    // Numbered stores: a download writes one of 1..downloadStores (the Destination list
    // offers them), an upload reads one of 1..uploadStores.
    int downloadStores = 0;
    int uploadStores = 0;
    // Saving as WaveCAD .wav or .asc while it is the download instrument writes the 10-bit
    // form of 1024 points, the waveform its stores hold; else the 12-bit form.
    bool tenBitWaveCad = false;
    // The download asks "CF?" whether the memory card has room.
    bool asksCardFree = false;
    // How long an RS-232 download waits for each write, in ms: the slow generators take a
    // long time to store a long waveform.
    int32_t serialWriteWait = 5000;
    // The card's directories under its mount point: waveforms, and bit patterns.
    std::string cardDirectory{};
    std::string cardPatternDirectory{};
};

// Make list rows: "Quorvex", "Tektronix", "Fluke", "Wavetek".
const std::vector<std::string>& makeNames();
// Model rows of a make row; empty for a row outside the list.
const std::vector<std::string>& modelNames(int makeIndex);

// The row of (make, model); null outside the lists.
const InstrumentModel* findInstrumentModel(int makeIndex, int modelIndex);
// The same, or a row that can do nothing.
const InstrumentModel& instrumentModel(int makeIndex, int modelIndex);

// The serial flow control that choosing a make presets: RTS/CTS for the oscilloscopes
// (make 1), Xon/Xoff for the others.
int flowControlPreset(int makeIndex);
// The style the target combo takes when the make changes, before its rows are filled.
ComboStyle makeTargetStyle(int makeIndex);

// The download's Destination list for (make, model, interface) rows.
DestinationRows destinationRows(int makeIndex, int modelIndex, int typeIndex);
// The upload's Source list for (make, model, interface) rows.
SourceRows sourceRows(int makeIndex, int modelIndex, int typeIndex);

// The state a direction arms, with what it is armed with.
struct StateChoice {
    int state = stIdle;
    // Scope reference downloads: the record length, or ask the reference-size dialog.
    int scopeRecordLength = 0;
    bool asksRecordLength = false;
    // Uploads: the reference word the new samples get, and the point count when the
    // family does not ask the instrument for it (-1: the instrument tells).
    uint16_t reference = 0;
    int32_t points = kPointsFromInstrument;
};
StateChoice downloadState(int makeIndex, int modelIndex);
StateChoice uploadState(int makeIndex, int modelIndex);

// Make and model rows that can use the USB interface.
bool supportsUsb(int makeIndex, int modelIndex);

// The identity the instrument must report, with `modelText` the transfer's model text.
std::string expectedIdentity(const InstrumentModel& m, const std::string& modelText, bool upload,
                             LinkKind kind);
// The largest waveform a download may send to `store`.
int32_t storeMaxPoints(const InstrumentModel& m, const std::string& store);

} // namespace plotwell::transfer
