#pragma once
// A transfer as it was asked for: every setting it uses is copied when it starts, so that
// the set-up dialogs can be used while it runs without changing it. Also the checks at
// the start of a transfer, with their refusals.

#include "transfer/core/instrument_models.h"
#include "transfer/core/link.h"
#include "transfer/core/transfer_settings.h"

#include <cstdint>
#include <string>

namespace plotwell::transfer {

enum class Direction { Download, Upload };

struct TransferJob {
    Direction direction = Direction::Download;
    int makeIndex = 0, modelIndex = 0, typeIndex = 0;
    std::string make, model, type;
    std::string target;  // dlDestination or ulSource
    int targetIndex = 0; // the Destination (Source) row; -1 when typed
    std::string address, ipAddress, tcpPort;
    std::string drive;    // the memory card's mount point
    int stretchIndex = 1; // 0 "Yes" (adjust to the instrument's length), 1 "No"
    bool interpolate = false;
    bool skipIdentity = false;
    int recordLength = 0; // a scope reference's record length (the size dialog's choice on the larger models)

    bool download() const { return direction == Direction::Download; }
    bool stretch() const { return stretchIndex == 0; }
};

TransferJob downloadJob(const TransferSettings& s, bool skipIdentity, bool interpolate);
TransferJob uploadJob(const TransferSettings& s, bool skipIdentity);

// The status of a running transfer: "Downloading <file> as <name on the instrument>",
// "Uploading from <model>  <source>".
std::string downloadingText(const std::string& fileName, const std::string& instrumentName);
std::string uploadingText(const TransferJob& job);

// The link an interface row opens; Card has none.
enum class InterfaceKind { Gpib, Usb, Card, Lan, Serial };
InterfaceKind interfaceKind(int typeIndex);

// The row of the job's instrument (a row that can do nothing when its make and model are
// outside the lists).
const InstrumentModel& instrumentOf(const TransferJob& job);
// The identity the job's instrument must report over a link of `kind`.
std::string expectedIdentity(const TransferJob& job, LinkKind kind);

// What an entry check decided. A silent refusal ends the request without a word.
struct EntryCheck {
    enum class Verdict { Go, Silent, Plain, Error };
    Verdict verdict = Verdict::Go;
    std::string text;
    bool go() const { return verdict == Verdict::Go; }
};

// Execute Download: `points` of the window, its file type (13 a bit pattern), and whether
// a transfer runs already.
EntryCheck checkDownloadEntry(const TransferJob& job, int points, int fileType, bool busy);
EntryCheck checkUploadEntry(const TransferJob& job, bool busy);

// Whether a memory card can take the download or give the upload.
bool cardSupported(const TransferJob& job);

inline constexpr const char* kBusyText = "A transfer is already running.\nWait for it to end, or cancel it.";
inline constexpr const char* kNoUsbText = "Error: The selected instrument does not support USB.";
inline constexpr const char* kNoCardText = "Error: The selected instrument does not support a memory card.";
inline constexpr const char* kNoLanText =
    "Error: The selected instrument cannot be reached over the LAN.\nSelect GPIB, USB or a serial port in "
    "'Download setup' or 'Upload setup'.";

} // namespace plotwell::transfer
