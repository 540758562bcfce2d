#include "transfer/core/memory_card.h"

#include "common/numtext.h"
#include "common/saturate.h"
#include "platform/posix/atomic_file.h"
#include "workspace/core/wave_files.h"

#include <cctype>

namespace plotwell::transfer {

namespace {
std::string join(const std::string& drive, const std::string& directory, const std::string& name,
                 const char* ext) {
    if (directory.empty())
        return {};
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

std::string cardDownloadPath(const std::string& drive, const InstrumentModel& model, bool bitPattern,
                             const std::string& name) {
    if (bitPattern && !model.cardPatternDirectory.empty())
        return join(drive, model.cardPatternDirectory, name, ".PTN");
    return join(drive, model.cardDirectory, name, ".WFM");
}

std::string cardUploadPath(const std::string& drive, const InstrumentModel& model, const std::string& name) {
    return join(drive, model.cardDirectory, name, ".WFM");
}

bool cardFileBytes(const workspace::SampleStream& samples, int32_t start, int32_t end,
                   const InstrumentModel& model, std::string& out) {
    out.clear();
    const uint16_t header = model.codeRange;
    const int n = samples.count();
    if (model.cardDirectory.empty() || header == 0 || n < 1 || start < 0 || end < start || end >= n)
        return false;
    const float scale = float(header) / float(samples.midCode());
    const uint16_t flip = model.signedCodes ? 0x8000 : 0;
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
    const InstrumentModel& model = instrumentOf(job);
    r.path = cardDownloadPath(job.drive, model, bitPattern, r.name);
    std::string bytes;
    if (r.path.empty() ||
        !cardFileBytes(source.samples, source.selectionStart, source.selectionEnd, model, bytes) ||
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
    r.path = cardUploadPath(job.drive, instrumentOf(job), r.name);
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
