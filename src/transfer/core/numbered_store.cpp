#include "transfer/core/numbered_store.h"

#include "common/numtext.h"
#include "common/saturate.h"
#include "transfer/core/arbdef.h"
#include "transfer/core/instrument_abi.h"
#include "transfer/core/replies.h"
#include "transfer/core/stepped_worker.h"
#include "workspace/core/resample.h"

#include <algorithm>

namespace plotwell::transfer {

int32_t storeValue(uint16_t w, uint16_t reference) {
    const int32_t r = workspace::SampleStream::midCodeOf(reference);
    const float scale = 512.0f / float(r);
    return int32_t(common::saturateTrunc(float(int32_t(w) - r) * scale, -512, 511, 0));
}

uint16_t storeWord(int64_t value) {
    return valueWord(value, 512);
}

namespace {

constexpr std::size_t kSerialSlice = 20;
constexpr std::size_t kGpibSlice = 1000;
constexpr std::size_t kUploadSlice = 10;
constexpr std::size_t kMaxValueText = 8; // "-512" and room for leading zeros or blanks

// The decimal value of a destination or source text; 0 when it is none.
int storeNumber(const std::string& text) {
    return replyInteger(text).value_or(0);
}

class StoreDownload : public SteppedWorker {
public:
    StoreDownload(const TransferJob& job, Link& link, TransferStatus& status, DownloadSource source)
        : SteppedWorker(job, link, status), source_(std::move(source)) {}
    const std::string& instrumentName() const override { return name_; }

private:
    TickOutcome start() override {
        if (auto o = checkInstrument())
            return *o;
        store_ = storeNumber(job_.target);
        if (store_ < 1 || store_ > instrument_.downloadStores)
            return TickOutcome::failed();
        name_ = arbDefInstrumentName("", source_.fileName);
        // Either would end the save command early and name another waveform.
        if (name_.find_first_of(",;") != std::string::npos)
            return TickOutcome::notice(common::cformat(kStoreNameText, name_.c_str()));
        status_.showStatus(
            common::cformat("Downloading %s as %d:%s", source_.fileName.c_str(), store_, name_.c_str()),
            true);
        const workspace::SampleStream& s = source_.samples;
        if (!s.hasPoints() || source_.selectionStart < 0 || source_.selectionEnd < source_.selectionStart ||
            source_.selectionEnd >= s.count())
            return TickOutcome::failed();
        reference_ = s.reference();
        const int32_t selected = source_.selectionEnd - source_.selectionStart + 1;
        if (!workspace::ResampleSelection(s.codes(), source_.selectionStart, selected, kStorePoints, points_))
            return TickOutcome::failed();
        source_.samples.clear();

        IoResult io;
        if (!send("SETARB ", io))
            return TickOutcome::failed(io);
        next_ = 0;
        left_ = kStorePoints - 1; // the last value travels with the save command
        starting_ = false;
        return {};
    }

    TickOutcome next() override {
        if (left_ == 0)
            return close();
        if (cancelSlices(left_))
            return {};
        const std::size_t slice = link_.kind() == LinkKind::Serial ? kSerialSlice : kGpibSlice;
        IoResult io;
        for (std::size_t k = 0; k < slice && left_ > 0; ++k, --left_)
            if (!send(common::cformat("%d,", int(storeValue(points_[next_++], reference_))), io))
                return TickOutcome::failed(io);
        return {};
    }

    TickOutcome close() {
        IoResult io;
        const short last = short(storeValue(points_[next_], reference_));
        if (!send(common::cformat("%hd\nARBSAV %d,%s\n", last, store_, name_.c_str()), io))
            return TickOutcome::failed(io);
        return TickOutcome::finished();
    }

    DownloadSource source_;
    int store_ = 0;
    std::string name_;
    uint16_t reference_ = 2048;
    std::vector<uint16_t> points_; // the selection at 1024 points
    std::size_t next_ = 0;
    std::size_t left_ = 0;
};

class StoreUpload : public SteppedUpload {
public:
    using SteppedUpload::SteppedUpload;

private:
    TickOutcome start() override {
        if (auto o = checkInstrument())
            return *o;
        const int32_t armedPoints = beginUpload();
        const int store = storeNumber(job_.target);
        if (store < 1 || store > instrument_.uploadStores) {
            TickOutcome o = TickOutcome::failed();
            o.followUps.push_back(common::cformat(kStoreNumberText, store));
            return o;
        }
        IoResult io;
        if (!send(common::cformat("arbrcl %d;arb?\r\n", store), io))
            return TickOutcome::failed(io);
        // The reply's head: seven bytes that carry no value.
        char head[7];
        io = readExact(link_, head, sizeof head);
        if (!io.ok())
            return TickOutcome::failed(io);
        left_ = std::size_t(armedPoints);
        starting_ = false;
        return {};
    }

    TickOutcome next() override {
        for (std::size_t k = 0; k < kUploadSlice && left_ > 0; ++k) {
            uint16_t w = 0;
            if (auto failure = readValueWord(link_, samples_.reference(), kMaxValueText, w))
                return *failure;
            samples_.append(w);
            --left_;
            if (status_.cancelled())
                left_ = 0;
        }
        if (left_ > 0)
            return {};
        // A cancel before the first value leaves nothing to show.
        return samples_.hasPoints() ? TickOutcome::finished() : TickOutcome::failed();
    }
};

} // namespace

std::unique_ptr<TransferWorker> makeStoreDownload(const TransferJob& job, Link& link, TransferStatus& status,
                                                  DownloadSource source) {
    return std::make_unique<StoreDownload>(job, link, status, std::move(source));
}

std::unique_ptr<TransferWorker> makeStoreUpload(const TransferJob& job, Link& link, TransferStatus& status) {
    return std::make_unique<StoreUpload>(job, link, status);
}

} // namespace plotwell::transfer
