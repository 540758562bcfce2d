#pragma once
// The shape most timer-driven workers share: the first tick checks the instrument and sets
// the transfer up, each later tick moves one slice. Uploads collect their samples here.

#include "common/numtext.h"
#include "transfer/core/transfer_worker.h"

namespace plotwell::transfer {

class SteppedWorker : public TransferWorker {
public:
    SteppedWorker(const TransferJob& job, Link& link, TransferStatus& status)
        : job_(job), instrument_(instrumentOf(job_)), link_(link), status_(status) {}
    TickOutcome tick() override { return starting_ ? start() : next(); }

protected:
    virtual TickOutcome start() = 0;
    virtual TickOutcome next() = 0;
    // Sends a command; a write that does not take it whole fails.
    bool send(const std::string& text, IoResult& io) {
        io = link_.write(text);
        return io.ok();
    }
    // The identity check that opens the first tick: nullopt to go on.
    std::optional<TickOutcome> checkInstrument() {
        return identityFailure(link_, expectedIdentity(job_, link_.kind()), job_.skipIdentity);
    }
    // A download's Cancel, looked at before each slice: nothing more of the waveform is
    // sent, the device is cleared, and the next tick sends the closing command as at the
    // end. True when the user cancelled.
    bool cancelSlices(std::size_t& left) {
        if (!status_.cancelled())
            return false;
        left = 0;
        link_.clear();
        return true;
    }

    const TransferJob job_;
    const InstrumentModel& instrument_;
    Link& link_;
    TransferStatus& status_;
    bool starting_ = true;
};

class SteppedUpload : public SteppedWorker {
public:
    using SteppedWorker::SteppedWorker;
    const workspace::SampleStream* uploaded() const override { return &samples_; }

protected:
    // The first steps after the identity check: the status, and a new sample store with
    // the reference word the instrument's upload is armed with. The point count it is
    // armed with, or kPointsFromInstrument.
    int32_t beginUpload(bool withCancel = true) {
        status_.showStatus(uploadingText(job_), withCancel);
        samples_ = workspace::SampleStream(instrument_.uploadReference, 0);
        return instrument_.uploadPoints;
    }

    workspace::SampleStream samples_;
    std::size_t left_ = 0;
};

} // namespace plotwell::transfer
