#pragma once
// The program's instrument connection: the loaded driver libraries, the serial port with
// each side's line settings, the open link, and the one transfer that may run at a time
// with its job and worker. The frame holds one; the transfer forms drive it.

#include "transfer/core/instrument_libraries.h"
#include "transfer/core/link.h"
#include "transfer/core/serial_settings.h"
#include "transfer/core/transfer_job.h"
#include "transfer/core/transfer_worker.h"

#include <memory>
#include <optional>

namespace plotwell::transfer {

class TransferSession {
public:
    TransferSession() = default;
    TransferSession(const TransferSession&) = delete;
    TransferSession& operator=(const TransferSession&) = delete;
    ~TransferSession() { end(); }

    // Loaded on first use and kept until the program ends.
    std::unique_ptr<InstrumentLibraries> libraries;
    SerialLinkState serial;
    // The waits every link is opened with; tests shorten them.
    LinkDeadlines deadlines;
    // The open link of the running transfer. After the transfer the closed link object
    // stays until the next one is opened: a failure routine may still name it.
    std::unique_ptr<Link> link;

    // The running transfer: its settings, its worker, and the window it belongs to.
    bool busy() const { return job_.has_value(); }
    const TransferJob* job() const { return job_ ? &*job_ : nullptr; }
    TransferWorker* worker() const { return worker_.get(); }
    const void* owner() const { return owner_; }
    void start(TransferJob job, std::unique_ptr<TransferWorker> worker, const void* owner);
    // Ends the running transfer: the worker and its buffers go, the link is closed.
    void end();
    void closeLink();

    // Set while a tick runs, and kept set while its boxes are up: a timer event that
    // comes in between finds it and does nothing.
    bool ticking = false;
    // The running worker has had its first tick: it may have sent something.
    bool started = false;

private:
    std::optional<TransferJob> job_;
    std::unique_ptr<TransferWorker> worker_;
    const void* owner_ = nullptr;
};

// Makes the worker of a timer-driven family, or null when `state` has none on this link.
std::unique_ptr<TransferWorker> makeWorker(int state, const TransferJob& job, Link& link,
                                           TransferStatus& status, DownloadSource source);

} // namespace plotwell::transfer
