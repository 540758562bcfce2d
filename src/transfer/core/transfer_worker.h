#pragma once
// The workers of the timer-driven transfers. The window's 10 ms timer calls tick(); the
// first tick checks the instrument and sends the definition or the queries, each later
// tick moves one slice, the last one sends the closing command. A worker never shows a
// window: it says what happened, and the session shows the boxes in the right order,
// runs the failure routine, and closes the link.

#include "transfer/core/identity.h"
#include "transfer/core/link.h"
#include "transfer/core/transfer_job.h"
#include "workspace/core/limits.h"
#include "workspace/core/sample_stream.h"

#include <optional>
#include <string>
#include <vector>

namespace plotwell::transfer {

// The status window as the workers see it.
class TransferStatus {
public:
    virtual ~TransferStatus() = default;
    // Shows `text` until it is hidden, with or without a Cancel button.
    virtual void showStatus(const std::string& text, bool withCancel) = 0;
    virtual bool cancelled() const = 0;
};

struct TickOutcome {
    enum class Kind { Running, Finished, Failed };
    Kind kind = Kind::Running;
    // Failed: messages that come before the direction's failure box (each with a beep).
    std::vector<std::string> notices;
    // Failed: the driver call that failed; a GPIB or USB library report comes before the
    // failure box.
    IoResult io;
    // Failed: messages that come after the direction's failure box (each with a beep).
    std::vector<std::string> followUps;
    // Failed in the identity check: the failure box comes first, then the mismatch or the
    // library report.
    std::optional<IdentityCheck> identity;

    static TickOutcome finished() { return of(Kind::Finished); }
    static TickOutcome failed() { return of(Kind::Failed); }
    static TickOutcome failed(const IoResult& io) {
        TickOutcome o = of(Kind::Failed);
        o.io = io;
        return o;
    }
    static TickOutcome notice(std::string text) {
        TickOutcome o = of(Kind::Failed);
        o.notices.push_back(std::move(text));
        return o;
    }

private:
    static TickOutcome of(Kind k) {
        TickOutcome o;
        o.kind = k;
        return o;
    }
};

// The window a download sends: a copy of its samples, its selection and its file name
// (WaveName without the directory).
struct DownloadSource {
    workspace::SampleStream samples;
    int32_t selectionStart = 0;
    int32_t selectionEnd = -1;
    std::string fileName;
    bool bitPattern = false; // the window holds a bit pattern
};

class TransferWorker {
public:
    virtual ~TransferWorker() = default;
    virtual TickOutcome tick() = 0;
    // An upload's samples once it has finished (reference word first).
    virtual const workspace::SampleStream* uploaded() const { return nullptr; }
    // The name the download gave the waveform on the instrument.
    virtual const std::string& instrumentName() const;
};

// The identity check that opens every worker's first tick: nullopt to go on.
std::optional<TickOutcome> identityFailure(Link& link, std::string expected, bool skip);

// The sample word of an uploaded text value: value + reference, clamped to the codes
// 0..2 x reference - 1 of the new waveform.
uint16_t valueWord(int64_t value, int32_t reference);

// One decimal value of a text reply, read a byte at a time up to its ',' or line feed,
// as the sample word of its integer value (blanks, sign and digits at its start; what
// follows them is ignored). A value that holds no number, or runs past `maxText`
// characters, fails.
std::optional<TickOutcome> readValueWord(Link& link, int32_t reference, std::size_t maxText, uint16_t& word);

} // namespace plotwell::transfer
