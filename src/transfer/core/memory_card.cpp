#include "transfer/core/memory_card.h"

#include "common/numtext.h"
#include "common/saturate.h"
#include "platform/posix/atomic_file.h"
#include "workspace/core/wave_files.h"

#include <cctype>

namespace plotwell::transfer {

namespace {
bool inRange(int v, int lo, int hi) {
    return v >= lo && v <= hi;
}

std::string join(const std::string& drive, const char* directory, const std::string& name, const char* ext) {
    std::string d = drive;
    while (!d.empty() && d.back() == '/')
        d.pop_back();
    return d + "/" + directory + "/" + name + ext;
}

// Up to the first '.', in capitals, at most 8 characters.
std::string cardName(std::string name) {
    name = name.substr(0, name.find('.'));
    for (char& c : name)
        c = char(std::toupper((unsigned char)c));
    return name.substr(0, 8);
}
} // namespace

std::string cardInstrumentName(const std::string& destination, const std::string& fileName) {
    if (!destination.empty())
        return cardName(destination);
    const auto end = fileName.find_first_of(" \t\r\n\v\f");
    return cardName(fileName.substr(0, end));
}

bool validCardName(const std::string& name) {
    if (name.empty())
        return false;
    for (char c : name)
        if (!(std::isalnum((unsigned char)c) || c == '_' || c == '-'))
            return false;
    return true;
}

uint16_t cardHeader(int row) {
    if (row == 3)
        return 2048;
    if (inRange(row, 5, 10))
        return 8192;
    if (inRange(row, 11, 15))
        return 32768;
    return 0;
}

std::string cardDownloadPath(const std::string& drive, int row, bool bitPattern, const std::string& name) {
    if (row == 3)
        return join(drive, "WAVES.ARB", name, ".WFM");
    if (inRange(row, 5, 10))
        return join(drive, "ARB/WAVES", name, ".WFM");
    if (row == 11)
        return bitPattern ? join(drive, "QVS51XX/PATTERNS", name, ".PTN")
                          : join(drive, "QVS51XX/WAVES", name, ".WFM");
    if (inRange(row, 12, 13))
        return join(drive, "QVR5XX2/WAVES", name, ".WFM");
    if (inRange(row, 14, 15))
        return join(drive, "QVR6XX2/WAVES", name, ".WFM");
    return {};
}

std::string cardUploadPath(const std::string& drive, int row, const std::string& name) {
    return row == 3 ? join(drive, "WAVES.ARB", name, ".WFM") : join(drive, "ARB/WAVES", name, ".WFM");
}

bool cardFileBytes(const workspace::SampleStream& samples, int32_t start, int32_t end, int row,
                   std::string& out) {
    out.clear();
    const uint16_t header = cardHeader(row);
    const int n = samples.count();
    if (header == 0 || n < 1 || start < 0 || end < start || end >= n)
        return false;
    const float scale = float(header) / float(samples.midCode());
    const uint16_t flip = row >= 11 ? 0x8000 : 0;
    const int64_t top = 2 * int64_t(header) - 1;
    out.resize(2 * std::size_t(end - start + 2));
    char* p = out.data();
    auto put = [&p](uint16_t w) {
        *p++ = char(w & 0xFF);
        *p++ = char(w >> 8);
    };
    put(header);
    const auto codes = samples.codes();
    for (int32_t i = start; i <= end; ++i)
        put(uint16_t(common::saturateTrunc(float(codes[std::size_t(i)]) * scale, 0, top, header)) ^ flip);
    return true;
}

bool readCardFile(std::string_view bytes, workspace::SampleStream& out) {
    return bytes.size() <= 2 * std::size_t(workspace::kMaxPoints + 1) && workspace::ReadInternal(bytes, out);
}

CardOutcome downloadToCard(const TransferJob& job, const DownloadSource& source, bool bitPattern) {
    CardOutcome r;
    r.name = cardInstrumentName(job.target, source.fileName);
    const int points = source.samples.count();
    if (points < 1) {
        r.error = kCardNoPointText;
        return r;
    }
    if (points > workspace::kMaxPoints) {
        r.error = kCardTooLongText;
        return r;
    }
    if (!validCardName(r.name)) {
        r.error = cardBadNameText(r.name);
        return r;
    }
    r.path = cardDownloadPath(job.drive, job.modelIndex, bitPattern, r.name);
    std::string bytes;
    if (r.path.empty() ||
        !cardFileBytes(source.samples, source.selectionStart, source.selectionEnd, job.modelIndex, bytes) ||
        !platform::writeFileAtomically(r.path, bytes)) {
        r.error = kCardWriteFailedText;
        return r;
    }
    r.ok = true;
    return r;
}

CardOutcome uploadFromCard(const TransferJob& job) {
    CardOutcome r;
    // The source as typed, at most 8 characters: no capitals, no cut at a '.' (the card's
    // own file system decides whether case matters).
    r.name = job.target.substr(0, 8);
    if (!validCardName(r.name)) {
        r.error = cardBadNameText(r.name);
        return r;
    }
    r.path = cardUploadPath(job.drive, job.modelIndex, r.name);
    const auto bytes = platform::readFileBytes(r.path, 2 * int64_t(workspace::kMaxPoints + 1));
    if (!bytes || !readCardFile(*bytes, r.samples)) {
        r.samples.clear();
        r.error = cardReadFailedText(r.path);
        return r;
    }
    r.ok = true;
    return r;
}

std::string cardUploadCaption(const std::string& model, const std::string& name) {
    return common::cformat("%s Mem Card %s (Not Stored)", model.c_str(), name.c_str());
}

std::string cardReadFailedText(const std::string& path) {
    return "Unable to read from\n" + path;
}

std::string cardBadNameText(const std::string& name) {
    return "The name \"" + name +
           "\" cannot be used on the memory card.\nUse only letters, digits, '_' and '-'.";
}

} // namespace plotwell::transfer
