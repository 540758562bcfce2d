#include "transfer/core/arbdef.h"

#include "common/block_header.h"
#include "common/numtext.h"
#include "common/saturate.h"
#include "transfer/core/instrument_abi.h"
#include "transfer/core/replies.h"
#include "transfer/core/stepped_worker.h"
#include "workspace/core/resample.h"

#include <algorithm>

namespace plotwell::transfer {

const std::string& TransferWorker::instrumentName() const {
    static const std::string none;
    return none;
}

std::optional<TickOutcome> identityFailure(Link& link, std::string expected, bool skip) {
    IdentityCheck c = checkIdentity(link, expected, skip);
    if (c.failed()) {
        TickOutcome o = TickOutcome::failed(c.io);
        o.identity = std::move(c);
        return o;
    }
    return std::nullopt;
}

uint16_t valueWord(int64_t value, int32_t reference) {
    return uint16_t(std::clamp<int64_t>(value + reference, 0, 2 * int64_t(reference) - 1));
}

std::optional<TickOutcome> readValueWord(Link& link, int32_t reference, std::size_t maxText, uint16_t& word) {
    std::string text;
    for (;;) {
        char c = 0;
        const IoResult io = link.read(&c, 1);
        if (!io.ok() || io.count != 1)
            return TickOutcome::failed(io);
        if (c == ',' || c == '\n')
            break;
        if (text.size() >= maxText)
            return TickOutcome::failed();
        text.push_back(c);
    }
    const auto v = replyInteger(text);
    if (!v)
        return TickOutcome::failed();
    word = valueWord(*v, reference);
    return std::nullopt;
}

std::string arbDefInstrumentName(const std::string& destination, const std::string& fileName) {
    std::string name = destination.empty() ? fileName.substr(0, fileName.find('.')) : destination;
    return name.substr(0, 8);
}

float arbDefScale(uint16_t reference) {
    return 2048.0f / float(workspace::SampleStream::midCodeOf(reference));
}

uint16_t arbDefCode(uint16_t w, float scale) {
    return uint16_t(common::saturateTrunc(float(w) * scale, 0, 4095, 2048));
}

int32_t arbDefValue(uint16_t w, int32_t reference, float scale) {
    return int32_t(common::saturateTrunc(float(int32_t(w) - reference) * scale, -2048, 2047, 0));
}

namespace {

constexpr std::size_t kSerialSlice = 20;
constexpr std::size_t kGpibSlice = 1000;
constexpr std::size_t kBlockBytes = 1048576; // the USB block buffer: 524,288 points
constexpr std::size_t kUploadSlice = 100;
// A value may carry blanks and zeros before its digits; it is bounded like a reply line,
// so that an instrument that never sends a ',' or a line end cannot grow it without end.
constexpr std::size_t kMaxValueText = kMaxReply;

// "CF?": the card's free space in MB, -1 when there is no card. A reply that holds no
// number reads as 0 MB. A download needs `bytesNeeded` free; an upload (nullopt) needs
// only the card.
std::optional<TickOutcome> askCardFree(Link& link, std::optional<int64_t> bytesNeeded) {
    std::string reply;
    IoResult io = link.write("CF?\n");
    if (!io.ok())
        return TickOutcome::failed(io);
    io = link.readReply(reply, 20);
    if (!io.ok())
        return TickOutcome::failed(io);
    const int64_t free = replyInteger(reply).value_or(0);
    if (free == -1)
        return TickOutcome::notice(kNoCardInInstrumentText);
    if (bytesNeeded && *bytesNeeded > free * 1000000)
        return TickOutcome::notice(kCardFullText);
    return std::nullopt;
}

class ArbDefDownload : public SteppedWorker {
public:
    ArbDefDownload(const TransferJob& job, Link& link, TransferStatus& status, DownloadSource source)
        : SteppedWorker(job, link, status), source_(std::move(source)) {}

    const std::string& instrumentName() const override { return name_; }

private:
    TickOutcome start() override {
        const int32_t maxPoints = instrument_.maxPoints;
        if (auto o = checkInstrument())
            return *o;
        name_ = arbDefInstrumentName(job_.target, source_.fileName);
        const workspace::SampleStream& s = source_.samples;
        if (instrument_.asksCardFree)
            if (auto o = askCardFree(link_, int64_t(s.byteLength())))
                return *o;
        status_.showStatus(downloadingText(source_.fileName, name_), link_.kind() != LinkKind::Usb);
        if (s.byteLength() < 4 || source_.selectionStart < 0 ||
            source_.selectionEnd < source_.selectionStart || source_.selectionEnd >= s.count())
            return TickOutcome::failed();
        const int32_t selected = source_.selectionEnd - source_.selectionStart + 1;
        reference_ = s.midCode();
        scale_ = arbDefScale(s.reference());

        IoResult io;
        int64_t n = selected;
        if (job_.stretch()) {
            std::string reply;
            if (!send(common::cformat("ARBLEN? %s\n", name_.c_str()), io))
                return TickOutcome::failed(io);
            io = link_.readReply(reply, 10);
            if (!io.ok())
                return TickOutcome::failed(io);
            const auto len = replyInteger(reply);
            if (!len || *len < 0)
                return TickOutcome::failed();
            n = *len;
            if (n == 0) {
                n = selected;
                link_.setTimeout(kGpibT100s);
            }
        } else if (int64_t(s.byteLength()) > 2 * int64_t(maxPoints) + 2) {
            return TickOutcome::failed();
        }
        // Whatever the stretch, no more than the model holds goes out.
        if (n < 1 || n > maxPoints)
            return TickOutcome::failed();

        points_.clear();
        if (!workspace::ResampleSelection(s.codes(), source_.selectionStart, selected, n, points_))
            return TickOutcome::failed();
        source_.samples.clear(); // the copy has served: the points to send are all that is kept
        left_ = std::size_t(n);

        if (link_.kind() == LinkKind::Serial) {
            if (!send(common::cformat("ARBDEFCSV %s,%d,", name_.c_str(), int(n)), io))
                return TickOutcome::failed(io);
            --left_; // the last value travels with the closing command
        } else {
            const std::string header = common::blockHeader(std::size_t(2 * n));
            if (!send(common::cformat("ARBDEF %s,%d,%s", name_.c_str(), int(n), header.c_str()), io))
                return TickOutcome::failed(io);
            block_.resize(link_.kind() == LinkKind::Usb ? kBlockBytes : 2 * kGpibSlice);
        }
        next_ = 0;
        starting_ = false;
        return {};
    }

    TickOutcome next() override {
        IoResult io;
        if (left_ == 0)
            return close();
        if (cancelSlices(left_))
            return {};
        if (link_.kind() == LinkKind::Serial) {
            for (std::size_t k = 0; k < kSerialSlice && left_ > 0; ++k, --left_)
                if (!send(common::cformat("%d,", int(value(points_[next_++]))), io))
                    return TickOutcome::failed(io);
            return {};
        }
        const std::size_t count = std::min(left_, block_.size() / 2);
        char* p = block_.data();
        for (std::size_t k = 0; k < count; ++k) {
            const uint16_t c = arbDefCode(points_[next_++], scale_);
            *p++ = char(c >> 8);
            *p++ = char(c & 0xFF);
        }
        left_ -= count;
        io = link_.write(block_.data(), 2 * count);
        if (!io.ok())
            return TickOutcome::failed(io);
        return {};
    }

    TickOutcome close() {
        IoResult io;
        if (link_.kind() == LinkKind::Serial) {
            const std::string last = common::cformat("%hd\nLOCAL\n", short(value(points_[next_])));
            if (!send(last, io))
                return TickOutcome::failed(io);
        } else if (!send("\nlocal\n", io)) {
            link_.clear();
            return TickOutcome::failed(io);
        }
        return TickOutcome::finished();
    }

    int32_t value(uint16_t w) const { return arbDefValue(w, reference_, scale_); }

    DownloadSource source_;
    std::string name_;
    int32_t reference_ = 2048;
    float scale_ = 1.0f;
    std::vector<uint16_t> points_; // the selection at the length that is sent
    std::size_t next_ = 0;
    std::size_t left_ = 0;
    std::vector<char> block_; // one slice of big-endian codes
};

class ArbDataUpload : public SteppedUpload {
public:
    using SteppedUpload::SteppedUpload;

private:
    TickOutcome start() override {
        if (auto o = checkInstrument())
            return *o;
        const bool usb = link_.kind() == LinkKind::Usb;
        beginUpload(!usb);
        if (usb && instrument_.asksCardFree)
            if (auto o = askCardFree(link_, std::nullopt))
                return *o;

        IoResult io;
        std::string reply;
        if (!send(common::cformat("arblen? %s\r\n", job_.target.c_str()), io))
            return TickOutcome::failed(io);
        io = link_.readReply(reply, 10);
        if (!io.ok())
            return TickOutcome::failed(io);
        const auto n = replyInteger(reply);
        if (!n || *n < 1 || *n > workspace::kMaxPoints)
            return TickOutcome::failed();
        left_ = std::size_t(*n);

        if (link_.kind() == LinkKind::Serial) {
            if (!send(common::cformat("arbdatacsv? %s\r\n", job_.target.c_str()), io))
                return TickOutcome::failed(io);
        } else {
            if (!send(common::cformat("arbdata? %s\r\n", job_.target.c_str()), io))
                return TickOutcome::failed(io);
            const BlockRead b = readBlockHeader(link_, 2 * std::size_t(workspace::kMaxPoints), 2);
            if (!b.io.ok())
                return TickOutcome::failed(b.io);
            if (!b.header.ok() || b.header.count != 2 * left_)
                return TickOutcome::failed();
            if (usb)
                block_.resize(kBlockBytes);
        }
        starting_ = false;
        return {};
    }

    TickOutcome next() override {
        if (left_ == 0)
            return close();
        switch (link_.kind()) {
        case LinkKind::Serial:
            return csvSlice();
        case LinkKind::Usb:
            return blockSlice();
        default:
            return wordSlice();
        }
    }

    // Up to 100 points, each read by `readOne`; Cancel is looked at after each.
    template <typename ReadOne> TickOutcome pointSlice(ReadOne readOne) {
        for (std::size_t k = 0; k < kUploadSlice && left_ > 0; ++k) {
            uint16_t w = 0;
            if (auto failure = readOne(w))
                return *failure;
            samples_.append(w);
            --left_;
            if (status_.cancelled()) {
                left_ = 0;
                break;
            }
        }
        return {};
    }

    // Decimal values, read a byte at a time up to ',' or a line feed.
    TickOutcome csvSlice() {
        return pointSlice(
            [this](uint16_t& w) { return readValueWord(link_, samples_.reference(), kMaxValueText, w); });
    }

    // Big-endian words, one 2-byte read each.
    TickOutcome wordSlice() {
        return pointSlice([this](uint16_t& w) -> std::optional<TickOutcome> {
            unsigned char b[2];
            const IoResult io = readExact(link_, b, 2);
            if (!io.ok())
                return TickOutcome::failed(io);
            w = uint16_t(b[0] << 8 | b[1]);
            return std::nullopt;
        });
    }

    // One read of up to 1 MiB. A read may end inside a word: its first byte waits for the
    // next read.
    TickOutcome blockSlice() {
        if (status_.cancelled()) {
            left_ = 0;
            return close();
        }
        const std::size_t want = std::min(2 * left_ - (carry_ ? 1 : 0), kBlockBytes);
        const IoResult io = link_.read(block_.data(), want);
        if (!io.ok() || io.count == 0)
            return TickOutcome::failed(io);
        const auto* p = reinterpret_cast<const unsigned char*>(block_.data());
        const unsigned char* end = p + io.count;
        if (carry_) {
            samples_.append(uint16_t(*carry_ << 8 | *p++));
            carry_.reset();
            --left_;
        }
        for (; end - p >= 2; p += 2, --left_)
            samples_.append(uint16_t(p[0] << 8 | p[1]));
        if (p != end)
            carry_ = *p;
        if (left_ > 0)
            return {};
        // The block's line end, then the closing within this tick.
        char lf = 0;
        const IoResult tail = readExact(link_, &lf, 1);
        if (!tail.ok())
            return TickOutcome::failed(tail);
        return close();
    }

    TickOutcome close() {
        IoResult io;
        switch (link_.kind()) {
        case LinkKind::Serial:
            link_.write("local\r\n"); // not checked: the data are in
            break;
        case LinkKind::Usb:
            if (!send("\nlocal\n", io))
                return TickOutcome::failed(io);
            break;
        default:
            if (!send("local\r\n", io))
                return TickOutcome::failed(io);
            break;
        }
        // A cancel before the first value leaves nothing to show.
        if (!samples_.hasPoints())
            return TickOutcome::failed();
        return TickOutcome::finished();
    }

    std::vector<char> block_;
    std::optional<unsigned char> carry_;
};

} // namespace

std::unique_ptr<TransferWorker> makeArbDefDownload(const TransferJob& job, Link& link, TransferStatus& status,
                                                   DownloadSource source) {
    return std::make_unique<ArbDefDownload>(job, link, status, std::move(source));
}

std::unique_ptr<TransferWorker> makeArbDataUpload(const TransferJob& job, Link& link,
                                                  TransferStatus& status) {
    return std::make_unique<ArbDataUpload>(job, link, status);
}

} // namespace plotwell::transfer
