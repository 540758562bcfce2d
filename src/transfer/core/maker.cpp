#include "transfer/core/maker.h"

#include "common/block_header.h"
#include "common/numtext.h"
#include "common/saturate.h"
#include "platform/posix/sleeper.h"
#include "transfer/core/instrument_abi.h"
#include "transfer/core/replies.h"
#include "transfer/core/stepped_worker.h"
#include "workspace/core/resample.h"

#include <algorithm>
#include <array>

namespace plotwell::transfer {

namespace {

bool isPlainStore(const std::string& s, bool patternStores) {
    static const std::array<const char*, 9> names = {"arb1",     "arb2",     "arb3",     "arb4", "pattern1",
                                                     "pattern2", "pattern3", "pattern4", "noise"};
    const std::size_t n = patternStores ? names.size() : 4;
    return std::find(names.begin(), names.begin() + n, s) != names.begin() + n;
}

} // namespace

std::string makerInstrumentName(const std::string& destination, const std::string& fileName,
                                bool patternStores) {
    const std::string name =
        isPlainStore(destination, patternStores) ? fileName.substr(0, fileName.find('.')) : destination;
    return name.substr(0, 8);
}

std::string makerDownloadName(const TransferJob& job, const std::string& fileName) {
    // The pattern generator also names its pattern and noise stores after the file.
    return makerInstrumentName(job.target, fileName, instrumentOf(job).downloadState == stPatternDownload);
}

std::string makerDownloadStatus(const TransferJob& job, const std::string& fileName) {
    return downloadingText(fileName, makerDownloadName(job, fileName));
}

std::string safeInstrumentName(std::string name) {
    for (char& c : name)
        if (c == '/' || c == '\\' || c == ':')
            c = '_';
    return name;
}

bool fitsCommand(const std::string& text) {
    return std::none_of(text.begin(), text.end(),
                        [](char c) { return c == ',' || c == ';' || (unsigned char)c < 0x20 || c == 0x7F; });
}

float makerScale(uint16_t reference, float full) {
    return full / float(workspace::SampleStream::midCodeOf(reference));
}

uint16_t makerCode(uint16_t w, float scale, bool invert) {
    const auto v = uint16_t(common::saturateTrunc(float(w) * scale, 0, 65535, 0));
    return invert ? uint16_t(v ^ 0x8000) : v;
}

namespace {

constexpr std::size_t kSerialDownloadSlice = 4000;
constexpr std::size_t kGpibDownloadSlice = 1000;
constexpr std::size_t kSerialUploadSlice = 1000;
constexpr std::size_t kGpibUploadSlice = 100;
constexpr std::size_t kDefReplyDownload = 25;
constexpr std::size_t kDefReplyUpload = 20;
// The LAN downloads pace the instrument with fixed pauses instead of slices per tick.
constexpr std::size_t kLanChunk = 64000;
constexpr long kLanCommandPause = 10;
constexpr long kLanBeforeData = 1000;
constexpr long kLanAfterData = 500;
constexpr long kLanPatternCommandPause = 100;
constexpr long kLanPatternBeforeData = 3000;
constexpr long kLanPatternBeforeLocal = 100;
constexpr std::size_t kLanReadBlock = 65536;
constexpr int64_t kNoisePoints = 2048;

void pause(long ms) {
    platform::clock().sleep(std::chrono::milliseconds(ms));
}

std::optional<TickOutcome> badName(const std::string& text) {
    if (fitsCommand(text))
        return std::nullopt;
    return TickOutcome::notice(common::cformat(kBadNameText, text.c_str()));
}

class MakerDownload : public SteppedWorker {
public:
    MakerDownload(const TransferJob& job, Link& link, TransferStatus& status, DownloadSource source)
        : SteppedWorker(job, link, status), source_(std::move(source)),
          patternGenerator_(instrument_.downloadState == stPatternDownload) {}

    const std::string& instrumentName() const override { return name_; }

private:
    bool gpib() const { return link_.kind() == LinkKind::Gpib; }

    // What the pattern generator (QVS51xx) is sent: a bit pattern to a pattern store, the
    // noise store, or an arb store.
    enum class Kind { Arb, Pattern, Noise };

    TickOutcome start() override {
        const std::string& store = job_.target;
        const int32_t maxPoints = storeMaxPoints(instrument_, store);
        if (auto o = checkInstrument())
            return *o;
        name_ = makerDownloadName(job_, source_.fileName);
        if (auto o = badName(store))
            return *o;
        if (auto o = badName(name_))
            return *o;
        const Kind kind = !patternGenerator_   ? Kind::Arb
                          : source_.bitPattern ? Kind::Pattern
                          : store == "noise"   ? Kind::Noise
                                               : Kind::Arb;
        const char* onOff = job_.interpolate ? "ON" : "OFF";
        std::string definition;
        int pattern = 0;
        if (kind == Kind::Pattern) {
            // The pattern number comes from the destination text itself.
            if (!store.starts_with("pattern") || store.size() != 8 || store[7] < '1' || store[7] > '4')
                return TickOutcome::failed();
            pattern = store[7] - '0';
            definition = common::cformat("PTTNDEF %s,%s\n", store.c_str(), name_.c_str());
        } else if (kind == Kind::Noise) {
            definition = common::cformat("NSEARBDEF %s,%s\n", name_.c_str(), onOff);
        } else {
            definition = common::cformat("arbdef %s,%s,%s\n", store.c_str(), name_.c_str(), onOff);
        }
        const std::string status = makerDownloadStatus(job_, source_.fileName);
        // The LAN transfer holds the window until it ends: no Cancel to offer. The maker's
        // generators take the definition over GPIB before offering one.
        const bool definitionFirst = gpib() && !patternGenerator_;
        status_.showStatus(status, !definitionFirst && !lan());

        IoResult io;
        // Over GPIB the arb generators take the definition before the length query.
        if (definitionFirst) {
            if (io = link_.write(definition); !io.ok())
                return TickOutcome::failed(io);
            status_.showStatus(status, true);
        }
        const workspace::SampleStream& s = source_.samples;
        if (!s.hasPoints() || source_.selectionStart < 0 || source_.selectionEnd < source_.selectionStart ||
            source_.selectionEnd >= s.count())
            return TickOutcome::failed();
        const int32_t selected = source_.selectionEnd - source_.selectionStart + 1;
        scale_ = makerScale(s.reference(), float(instrument_.codeRange));

        int64_t n = selected;
        // A bit pattern goes whole; so does noise over GPIB, which the instrument sizes itself.
        const bool sized = kind != Kind::Pattern && !(kind == Kind::Noise && gpib());
        if (sized && job_.stretch()) {
            std::string reply;
            if (io = link_.write(common::cformat("%sDEF?\n", store.c_str())); !io.ok())
                return TickOutcome::failed(io);
            if (io = link_.readReply(reply, kDefReplyDownload); !io.ok())
                return TickOutcome::failed(io);
            const auto len = replyIntegerField(reply, 2);
            if (!len || *len == 0) {
                link_.setTimeout(kGpibT100s); // an empty store: the selection keeps its length
            } else if (!patternGenerator_) {
                // The pattern generator keeps the selection's length whatever the store
                // holds, so only the others' answer must make sense.
                if (*len < 0)
                    return TickOutcome::failed();
                n = *len;
            }
        } else if (sized && int64_t(s.byteLength()) > 2 * int64_t(maxPoints) + 2) {
            return TickOutcome::failed();
        }
        if (kind == Kind::Noise && n > kNoisePoints)
            n = kNoisePoints;
        // Whatever the stretch, no more than the store holds goes out; patterns go whole.
        if (n < 1 || (kind != Kind::Pattern && n > maxPoints))
            return TickOutcome::failed();

        points_.clear();
        if (!workspace::ResampleSelection(s.codes(), source_.selectionStart, selected, n, points_))
            return TickOutcome::failed();
        source_.samples.clear();
        left_ = std::size_t(n);

        if (!definitionFirst) {
            if (io = link_.write(definition); !io.ok())
                return TickOutcome::failed(io);
            lanPause(commandPause());
        }
        const std::string block = common::blockHeader(std::size_t(2 * n));
        const std::string header = kind == Kind::Pattern
                                       ? common::cformat("PTTN%d %s", pattern, block.c_str())
                                   : kind == Kind::Noise ? "NSEARB " + block
                                                         : store + " " + block;
        if (io = link_.write(header); !io.ok())
            return TickOutcome::failed(io);
        lanPause(commandPause());
        block_.resize(2 * (lan() ? kLanChunk : gpib() ? kGpibDownloadSlice : kSerialDownloadSlice));
        starting_ = false;
        return lan() ? wholeOverLan() : TickOutcome{};
    }

    long commandPause() const { return patternGenerator_ ? kLanPatternCommandPause : kLanCommandPause; }

    bool lan() const { return link_.kind() == LinkKind::Tcp; }
    void lanPause(long ms) const {
        if (lan())
            pause(ms);
    }

    // Over the LAN the whole transfer runs within the first tick, paced by fixed pauses.
    TickOutcome wholeOverLan() {
        while (left_ > 0) {
            pause(patternGenerator_ ? kLanPatternBeforeData : kLanBeforeData);
            if (TickOutcome o = next(); o.kind != TickOutcome::Kind::Running)
                return o;
            pause(kLanAfterData);
        }
        return close();
    }

    TickOutcome next() override {
        if (left_ == 0)
            return close();
        if (!lan() && cancelSlices(left_))
            return {};
        const bool invert = instrument_.signedCodes;
        const std::size_t count = std::min(left_, block_.size() / 2);
        char* p = block_.data();
        for (std::size_t k = 0; k < count; ++k) {
            const uint16_t c = makerCode(points_[next_++], scale_, invert);
            *p++ = char(c >> 8);
            *p++ = char(c & 0xFF);
        }
        left_ -= count;
        const IoResult io = link_.write(block_.data(), 2 * count);
        if (!io.ok())
            return TickOutcome::failed(io);
        return {};
    }

    TickOutcome close() {
        // GPIB ends by taking the device offline when the link closes: no "local" there.
        if (!gpib()) {
            if (patternGenerator_)
                lanPause(kLanPatternBeforeLocal);
            // An instrument that went away after the data (it closed or reset the
            // connection, or the line hung up), or that does not take the closing command,
            // may not have taken the waveform.
            IoResult io = link_.checkConnected();
            if (io.ok())
                io = link_.write("local\n");
            if (!io.ok())
                return TickOutcome::failed(io);
        }
        return TickOutcome::finished();
    }

    DownloadSource source_;
    const bool patternGenerator_;
    std::string name_;
    float scale_ = 1.0f;
    std::vector<uint16_t> points_;
    std::size_t next_ = 0;
    std::size_t left_ = 0;
    std::vector<char> block_;
};

class MakerUpload : public SteppedUpload {
public:
    using SteppedUpload::SteppedUpload;
    const std::string& instrumentName() const override { return name_; }

private:
    bool gpib() const { return link_.kind() == LinkKind::Gpib; }

    TickOutcome start() override {
        const std::string& store = job_.target;
        if (auto o = checkInstrument())
            return *o;
        if (auto o = badName(store))
            return *o;
        beginUpload(link_.kind() != LinkKind::Tcp);

        IoResult io;
        std::string reply;
        if (io = link_.write(common::cformat("%sDEF?\n", store.c_str())); !io.ok())
            return TickOutcome::failed(io);
        if (io = link_.readReply(reply, kDefReplyUpload); !io.ok())
            return TickOutcome::failed(io);
        name_ = safeInstrumentName(replyFirstField(reply));
        if (io = link_.write(common::cformat("%s?\n", store.c_str())); !io.ok())
            return TickOutcome::failed(io);
        // The model's figure bounds downloads only: an upload takes any waveform the
        // program can hold.
        const BlockRead b = readBlockHeader(link_, 2 * std::size_t(workspace::kMaxPoints), 2);
        if (!b.io.ok())
            return TickOutcome::failed(b.io);
        if (!b.header.ok() || b.header.count < 2)
            return TickOutcome::failed();
        left_ = b.header.count / 2;
        starting_ = false;
        return link_.kind() == LinkKind::Tcp ? wholeOverLan() : TickOutcome{};
    }

    void append(uint16_t w) {
        samples_.append(instrument_.signedCodes ? uint16_t(w ^ 0x8000) : w);
        --left_;
    }

    // The data as they come, each read waiting up to the link's data deadline: a peer that
    // goes silent or drops the connection ends in the upload failure.
    TickOutcome wholeOverLan() {
        std::vector<unsigned char> buf(kLanReadBlock);
        std::optional<unsigned char> carry;
        while (left_ > 0) {
            const std::size_t want = std::min(2 * left_ - (carry ? 1 : 0), buf.size());
            const IoResult io = link_.read(buf.data(), want);
            if (!io.ok() || io.count == 0)
                return TickOutcome::failed(io);
            const unsigned char* p = buf.data();
            const unsigned char* end = p + io.count;
            if (carry) {
                append(uint16_t(*carry << 8 | *p++));
                carry.reset();
            }
            for (; end - p >= 2; p += 2)
                append(uint16_t(p[0] << 8 | p[1]));
            if (p != end)
                carry = *p;
        }
        return close();
    }

    TickOutcome next() override {
        const std::size_t slice = gpib() ? kGpibUploadSlice : kSerialUploadSlice;
        for (std::size_t k = 0; k < slice && left_ > 0; ++k) {
            unsigned char b[2];
            const IoResult io = gpib() ? link_.read(b, 2) : readExact(link_, b, 2);
            if (!io.ok() || io.count != 2)
                return TickOutcome::failed(io);
            append(uint16_t(b[0] << 8 | b[1]));
            if (status_.cancelled())
                left_ = 0;
        }
        if (left_ > 0)
            return {};
        return close();
    }

    TickOutcome close() {
        if (gpib())
            if (const IoResult io = link_.write("local\r\n"); !io.ok())
                return TickOutcome::failed(io);
        return TickOutcome::finished();
    }

    std::string name_;
};

} // namespace

std::unique_ptr<TransferWorker> makeMakerDownload(const TransferJob& job, Link& link, TransferStatus& status,
                                                  DownloadSource source) {
    return std::make_unique<MakerDownload>(job, link, status, std::move(source));
}

std::unique_ptr<TransferWorker> makeMakerUpload(const TransferJob& job, Link& link, TransferStatus& status) {
    return std::make_unique<MakerUpload>(job, link, status);
}

} // namespace plotwell::transfer
