#include "synthesis/core/paste.h"

#include "workspace/core/resample.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace plotwell::synthesis {

PasteOutcome applyPaste(workspace::SampleStream& target, std::span<const uint16_t> buffer,
                        const PasteRequest& rq) {
    using Status = PasteOutcome::Status;
    PasteOutcome out;
    out.start = rq.start;
    out.end = rq.end;
    const int64_t points = std::max(0, target.count());
    const bool overwrite = rq.mode == PasteMode::Overwrite;
    if (overwrite && (points < 1 || rq.start < 0 || rq.start > rq.end || rq.end >= points)) {
        out.status = Status::NoPoints;
        return out;
    }
    const int64_t n = overwrite ? int64_t(rq.end) - rq.start + 1 : rq.expandCount;
    if (n < 1 || buffer.empty()) {
        out.status = Status::NoPoints;
        return out;
    }
    if ((overwrite ? points : points + n) > workspace::kMaxPoints) {
        out.status = Status::TooLong;
        return out;
    }
    std::vector<uint16_t> codes;
    codes.reserve(std::size_t(n));
    workspace::StretchResample(buffer, n, codes);
    // Full amplitude (2R' - 1) maps the buffer's 1..65535 onto about the whole code range.
    const double k = rq.amplitude * (1.0 / 65535);
    const int32_t top = 2 * rq.midCode - 1;
    for (uint16_t& c : codes) {
        const double v = std::trunc((double(c) - 32767) * k + rq.midCode - 1.0 + rq.offset);
        if (v > top) {
            c = uint16_t(top);
            out.clipped = true;
        } else if (v < 0) {
            c = 0;
            out.clipped = true;
        } else {
            c = uint16_t(v);
        }
    }
    if (overwrite) {
        std::copy(codes.begin(), codes.end(), target.codes().begin() + rq.start);
        return out;
    }
    int64_t p = 0;
    switch (rq.mode) {
    case PasteMode::AtStartPoint:
        p = std::clamp<int64_t>(rq.start, 0, points);
        break;
    case PasteMode::AtEndPoint:
        p = std::clamp<int64_t>(int64_t(rq.end) + 1, 0, points);
        break;
    case PasteMode::AtWaveformStart:
        p = 0;
        break;
    default:
        p = points;
        break;
    }
    const auto old = target.codes();
    std::vector<uint16_t> rebuilt;
    rebuilt.reserve(std::size_t(points + n));
    rebuilt.insert(rebuilt.end(), old.begin(), old.begin() + p);
    rebuilt.insert(rebuilt.end(), codes.begin(), codes.end());
    rebuilt.insert(rebuilt.end(), old.begin() + p, old.end());
    target.assign(target.reference(), rebuilt);
    out.start = 0;
    out.end = int32_t(rebuilt.size()) - 1;
    return out;
}

} // namespace plotwell::synthesis
