#pragma once
// The program's instrument connection: the loaded driver libraries, the serial port with
// each side's line settings, the open link, and the one transfer that may run at a time
// with its job and worker. The frame holds one for the program's life; the transfer forms
// drive it and show what it reports.

#include "transfer/core/instrument_libraries.h"
#include "transfer/core/link.h"
#include "transfer/core/serial_settings.h"
#include "transfer/core/transfer_job.h"
#include "transfer/core/transfer_settings.h"
#include "transfer/core/transfer_worker.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace plotwell::transfer {

// The library files to load. The forms take them from the environment, at each load, so
// that a changed variable is seen.
struct LibraryFiles {
    std::string gpib = kGpibLibraryDefault;
    std::string usb = kUsbLibraryDefault;
};

// A library, a port or a link that failed, as the forms report it: one error box, and for
// a failed call of a serial port the system's text in a box of its own after it.
struct LinkError {
    enum class Kind {
        None,
        Library, // a driver library that could not be loaded
        Driver,  // a GPIB or USB call: the cursor goes back to normal before the box
        Port,    // a serial port that could not be had, or one of its calls
        Connect, // a LAN connection: the status window goes before the box
    };
    Kind kind = Kind::None;
    std::string text;
    std::string systemText;
    bool beep = true;
    explicit operator bool() const { return kind != Kind::None; }
};
using LinkReport = std::function<void(const LinkError&)>;

// "A comminications error" on `port` in `function`, with the system's text of `error`.
LinkError commFailure(const std::string& port, const std::string& function, int error);

class TransferSession {
public:
    TransferSession() = default;
    TransferSession(const TransferSession&) = delete;
    TransferSession& operator=(const TransferSession&) = delete;
    ~TransferSession() { end(); }

    // Loaded on first use and kept until the program ends.
    std::unique_ptr<InstrumentLibraries> libraries;
    // Each library is wanted or loaded: start-up sets them from the stored interfaces, a
    // load keeps its flag true and a failed one clears it.
    bool GpibNeeded = false;
    bool UsbNeeded = false;
    // The devices the last GPIB and USB links opened.
    int GpibDevice = 0;
    int UsbDevice = 0;
    SerialLinkState serial;
    // The waits every link is opened with; tests shorten them.
    LinkDeadlines deadlines;
    // The open link of the running transfer. After the transfer the closed link object
    // stays until the next one is opened: a failure routine may still name it.
    std::unique_ptr<Link> link;

    // ---- libraries
    // Start-up: nothing is needed or loaded yet.
    void forgetLibraries();
    // Loads a library unless it is loaded; the error names the file tried.
    LinkError loadGpib(const std::string& file);
    LinkError loadUsb(const std::string& file);
    // The program's end: a transfer still running ends, and its device with it, before
    // the drivers go.
    void freeLibraries();

    // ---- serial sides
    // The stored parameters of a side into its line settings (in memory only).
    void ApplyDownloadSerial(const TransferSettings& s);
    void ApplyUploadSerial(const TransferSettings& s);
    // Start-up, once the stored interfaces have been looked up: a serial side's port is
    // checked, a GPIB side wants the GPIB library, a USB side whose instrument has USB the
    // USB library. Every side gets its line settings, for a port chosen later. `report`
    // hears of each failed check, the download side's first.
    void restoreInterfaces(const TransferSettings& s, const LinkReport& report);

    // ---- the link
    // Opens the link of `job` in place of the one before, loading its library when it is
    // not loaded; the card has none. A LAN link that cannot connect leaves no link.
    LinkError openLink(const TransferJob& job, const LibraryFiles& files);
    // The report of a failed GPIB or USB call: the driver's error word, or the code with
    // its text. A USB report closes the device first. None for the other links, or for a
    // result that names no call.
    LinkError driverFailure(LinkKind kind, const IoResult& io);

    // ---- the running transfer: its settings, its worker, and the window it belongs to
    bool busy() const { return job_.has_value(); }
    const TransferJob* job() const { return job_ ? &*job_ : nullptr; }
    TransferWorker* worker() const { return worker_.get(); }
    const void* owner() const { return owner_; }
    // Starts the worker of `state` on the open link for `owner`; false, with nothing
    // started, when no link is open or the family has no worker there.
    bool start(const TransferJob& job, int state, DownloadSource source, TransferStatus& status,
               const void* owner);
    // Ends the running transfer: the worker and its buffers go, the link is closed.
    void end();
    void closeLink();

    // Set while a tick runs, and kept set while its boxes are up: a timer event that
    // comes in between finds it and does nothing.
    bool ticking = false;
    // The running worker has had its first tick: it may have sent something.
    bool started = false;

private:
    InstrumentLibraries& libs();
    LinkError openSerialLink(const TransferJob& job);
    // Start-up check of a side's port; its line settings and time-outs are prepared either way.
    LinkError probeSerialPort(const TransferSettings& s, bool download);

    std::optional<TransferJob> job_;
    std::unique_ptr<TransferWorker> worker_;
    const void* owner_ = nullptr;
};

// Makes the worker of a timer-driven family, or null when `state` has none on this link.
std::unique_ptr<TransferWorker> makeWorker(int state, const TransferJob& job, Link& link,
                                           TransferStatus& status, DownloadSource source);

} // namespace plotwell::transfer
