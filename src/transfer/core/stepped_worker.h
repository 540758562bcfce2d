#pragma once
// The shape most timer-driven workers share: the first tick sets the transfer up, each
// later tick moves one slice. Uploads collect their samples here.

#include "common/numtext.h"
#include "transfer/core/transfer_worker.h"

namespace plotwell::transfer {

class SteppedWorker : public TransferWorker {
public:
    SteppedWorker(const TransferJob& job, Link& link, TransferStatus& status)
        : job_(job), link_(link), status_(status) {}
    TickOutcome tick() override { return starting_ ? start() : next(); }

protected:
    virtual TickOutcome start() = 0;
    virtual TickOutcome next() = 0;
    // Sends a command; a write that does not take it whole fails.
    bool send(const std::string& text, IoResult& io) {
        io = link_.write(text);
        return io.ok();
    }

    const TransferJob job_;
    Link& link_;
    TransferStatus& status_;
    bool starting_ = true;
};

class SteppedUpload : public SteppedWorker {
public:
    using SteppedWorker::SteppedWorker;
    const workspace::SampleStream* uploaded() const override { return &samples_; }

protected:
    // The first steps after the identity check: the status with Cancel, and a new sample
    // store with the reference word the family's upload is armed with. The point count it
    // is armed with, or -1.
    int32_t beginUpload() {
        status_.showStatus(uploadingText(job_), true);
        const StateChoice armed = uploadState(job_.makeIndex, job_.modelIndex);
        samples_ = workspace::SampleStream(armed.reference, 0);
        return armed.points;
    }

    workspace::SampleStream samples_;
    std::size_t left_ = 0;
};

} // namespace plotwell::transfer
