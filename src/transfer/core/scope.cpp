#include "transfer/core/scope.h"

#include "common/block_header.h"
#include "common/numtext.h"
#include "common/saturate.h"
#include "transfer/core/instrument_abi.h"
#include "transfer/core/stepped_worker.h"
#include "workspace/core/resample.h"

#include <algorithm>

namespace plotwell::transfer {

uint8_t scopeByte(uint16_t w, uint16_t reference, const InstrumentModel& model) {
    const float r = float(workspace::SampleStream::midCodeOf(reference));
    const float scale = model.scopeScale / r;
    const float v = float(w) * scale + model.scopeOffset;
    return uint8_t(common::saturateTrunc(v, 0, 255, 128));
}

namespace {

constexpr std::size_t kSerialSlice = 20;
constexpr std::size_t kGpibSlice = 1000;
constexpr std::size_t kUploadSlice = 100;

class ScopeDownload : public SteppedWorker {
public:
    ScopeDownload(const TransferJob& job, Link& link, TransferStatus& status, DownloadSource source)
        : SteppedWorker(job, link, status), source_(std::move(source)) {}

private:
    TickOutcome start() override {
        if (auto o = checkInstrument())
            return *o;
        status_.showStatus(
            common::cformat("Downloading %s to %s", source_.fileName.c_str(), job_.target.c_str()), true);
        const workspace::SampleStream& s = source_.samples;
        if (s.byteLength() < 4 || source_.selectionStart < 0 ||
            source_.selectionEnd < source_.selectionStart || source_.selectionEnd >= s.count())
            return TickOutcome::failed();
        const int32_t selected = source_.selectionEnd - source_.selectionStart + 1;
        const int32_t recordLength = job_.recordLength;
        const int64_t n = job_.stretch() ? recordLength : selected;
        if (n < 1 || n > workspace::kMaxPoints)
            return TickOutcome::failed();
        std::vector<uint16_t> points;
        if (!workspace::ResampleSelection(s.codes(), source_.selectionStart, selected, n, points))
            return TickOutcome::failed();
        bytes_.resize(points.size());
        std::transform(points.begin(), points.end(), bytes_.begin(),
                       [&](uint16_t w) { return char(scopeByte(w, s.reference(), instrument_)); });
        source_.samples.clear();

        IoResult io;
        const bool serial = link_.kind() == LinkKind::Serial;
        // A reference of the length chosen for it is allocated first.
        if (instrument_.recordLength == kChosenRecordLength &&
            !send(common::cformat("allocate:waveform:%s %d\r\n", job_.target.c_str(), int(recordLength)), io))
            return TickOutcome::failed(io);
        const char* dest = serial ? "header off;data:dest %s;encdg srp;width 1;start 1\r\n"
                                  : "data:dest %s;encdg srp;width 1;start 1\r\n";
        if (!send(common::cformat(dest, job_.target.c_str()), io))
            return TickOutcome::failed(io);
        if (!send("curve " + common::blockHeader(bytes_.size()), io))
            return TickOutcome::failed(io);
        next_ = 0;
        left_ = bytes_.size();
        starting_ = false;
        return {};
    }

    TickOutcome next() override {
        IoResult io;
        if (left_ == 0) {
            if (send("\r\n", io))
                return TickOutcome::finished();
            link_.clear();
            return TickOutcome::failed(io);
        }
        if (cancelSlices(left_))
            return {};
        if (link_.kind() == LinkKind::Serial) {
            // One byte a write: a code 0 is a byte like any other.
            for (std::size_t k = 0; k < kSerialSlice && left_ > 0; ++k, ++next_, --left_)
                if (io = link_.write(&bytes_[next_], 1); !io.ok())
                    return TickOutcome::failed(io);
            return {};
        }
        const std::size_t count = std::min(kGpibSlice, left_);
        io = link_.write(&bytes_[next_], count);
        if (!io.ok())
            return TickOutcome::failed(io);
        next_ += count;
        left_ -= count;
        return {};
    }

    DownloadSource source_;
    std::vector<char> bytes_; // the coded points
    std::size_t next_ = 0;
    std::size_t left_ = 0;
};

class ScopeUpload : public SteppedUpload {
public:
    using SteppedUpload::SteppedUpload;

private:
    TickOutcome start() override {
        if (auto o = checkInstrument())
            return *o;
        const int32_t armedPoints = beginUpload();
        const std::string source =
            armedPoints > 0
                ? common::cformat("header off;data:source %s;encdg srp;width 1;start 1;stop %d\r\n",
                                  job_.target.c_str(), int(armedPoints))
                : common::cformat("header off;data:source %s;encdg srp;width 1;data snap\r\n",
                                  job_.target.c_str());
        IoResult io;
        if (!send(source, io) || !send("curve?\r\n", io))
            return TickOutcome::failed(io);
        const BlockRead b = readBlockHeader(link_, std::size_t(workspace::kMaxPoints), 1);
        if (!b.io.ok())
            return TickOutcome::failed(b.io);
        // A trace of no points would leave an empty window.
        if (!b.header.ok() || b.header.count == 0)
            return TickOutcome::failed();
        left_ = b.header.count;
        starting_ = false;
        return {};
    }

    TickOutcome next() override {
        for (std::size_t k = 0; k < kUploadSlice && left_ > 0; ++k) {
            unsigned char b = 0;
            const IoResult io = readExact(link_, &b, 1);
            if (!io.ok())
                return TickOutcome::failed(io);
            samples_.append(b);
            --left_;
            if (status_.cancelled())
                return samples_.hasPoints() ? TickOutcome::finished() : TickOutcome::failed();
        }
        if (left_ > 0)
            return {};
        // The block ends with a line feed; left unread, it would be the next transfer's
        // identity reply.
        char lf = 0;
        link_.read(&lf, 1);
        return TickOutcome::finished();
    }
};

} // namespace

std::unique_ptr<TransferWorker> makeScopeDownload(const TransferJob& job, Link& link, TransferStatus& status,
                                                  DownloadSource source) {
    return std::make_unique<ScopeDownload>(job, link, status, std::move(source));
}

std::unique_ptr<TransferWorker> makeScopeUpload(const TransferJob& job, Link& link, TransferStatus& status) {
    return std::make_unique<ScopeUpload>(job, link, status);
}

} // namespace plotwell::transfer
