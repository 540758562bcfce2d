#include "transfer/core/transfer_job.h"

#include "common/numtext.h"

namespace plotwell::transfer {

namespace {
constexpr int kBitPatternType = 13;

bool inRange(int v, int lo, int hi) {
    return v >= lo && v <= hi;
}
} // namespace

namespace {
TransferJob jobOf(const TransferSide& side, Direction direction, bool skipIdentity) {
    TransferJob j;
    j.direction = direction;
    j.makeIndex = side.makeIndex;
    j.modelIndex = side.modelIndex;
    j.typeIndex = side.typeIndex;
    j.make = side.make;
    j.model = side.model;
    j.type = side.type;
    j.target = side.target;
    j.targetIndex = side.targetIndex;
    j.address = side.address;
    j.ipAddress = side.ipAddress;
    j.tcpPort = side.tcpPort;
    j.drive = side.driveLetter;
    if (side.stretchIndex)
        j.stretchIndex = *side.stretchIndex;
    j.skipIdentity = skipIdentity;
    return j;
}
} // namespace

TransferJob downloadJob(const TransferSettings& s, bool skipIdentity, bool interpolate) {
    TransferSettings copy = s;
    TransferJob j = jobOf(downloadSide(copy), Direction::Download, skipIdentity);
    j.interpolate = interpolate;
    j.recordLength = downloadState(j.makeIndex, j.modelIndex).scopeRecordLength;
    return j;
}

TransferJob uploadJob(const TransferSettings& s, bool skipIdentity) {
    TransferSettings copy = s;
    return jobOf(uploadSide(copy), Direction::Upload, skipIdentity);
}

InterfaceKind interfaceKind(int typeIndex) {
    switch (typeIndex) {
    case ifGpib0:
    case ifGpib1:
        return InterfaceKind::Gpib;
    case ifUsb:
        return InterfaceKind::Usb;
    case ifCard:
        return InterfaceKind::Card;
    case ifLan:
        return InterfaceKind::Lan;
    default:
        return InterfaceKind::Serial;
    }
}

std::string downloadingText(const std::string& fileName, const std::string& instrumentName) {
    return common::cformat("Downloading %s as %s", fileName.c_str(), instrumentName.c_str());
}

std::string uploadingText(const TransferJob& job) {
    return common::cformat("Uploading from %s  %s", job.model.c_str(), job.target.c_str());
}

const InstrumentModel& instrumentOf(const TransferJob& job) {
    return instrumentModel(job.makeIndex, job.modelIndex);
}

std::string expectedIdentity(const TransferJob& job, LinkKind kind) {
    return expectedIdentity(instrumentOf(job), job.model, !job.download(), kind);
}

bool cardSupported(const TransferJob& job) {
    const InstrumentModel& m = instrumentOf(job);
    return job.download() ? m.cardDownload : m.cardUpload;
}

namespace {

EntryCheck refuse(EntryCheck::Verdict v, const char* text) {
    return {v, text};
}

// The checks both directions make of the interface: it must suit the instrument.
EntryCheck checkInterface(const TransferJob& job) {
    using V = EntryCheck::Verdict;
    switch (interfaceKind(job.typeIndex)) {
    case InterfaceKind::Usb:
        if (!instrumentOf(job).usb)
            return refuse(V::Error, kNoUsbText);
        break;
    case InterfaceKind::Card:
        if (!cardSupported(job))
            return refuse(V::Error, kNoCardText);
        break;
    case InterfaceKind::Lan:
        if (!instrumentOf(job).lan)
            return refuse(V::Error, kNoLanText);
        break;
    default:
        break;
    }
    return {};
}

} // namespace

EntryCheck checkDownloadEntry(const TransferJob& job, int points, int fileType, bool busy) {
    using V = EntryCheck::Verdict;
    if (points < 1)
        return {V::Silent, {}};
    if (busy)
        return refuse(V::Error, kBusyText);
    const bool bitPattern = fileType == kBitPatternType;
    const InstrumentModel& m = instrumentOf(job);
    if (bitPattern && !m.bitPatterns)
        return refuse(V::Plain, "Bit patterns are not supported on the selected model\n"
                                "Select a supported pulse generator in 'Download setup'");
    // The pattern generator's rows: four arb stores, four pattern stores, the noise store.
    if (m.downloadState == stPatternDownload) {
        const int i = job.targetIndex;
        if (inRange(i, 0, 3) && bitPattern)
            return refuse(V::Plain, "A bit pattern cannot be downloaded to an arb destination.\n"
                                    "Select an arb destination in 'Download setup'");
        if (inRange(i, 4, 7) && !bitPattern)
            return refuse(V::Plain, "An arb cannot be downloaded to a pattern destination.\n"
                                    "Select a pattern destination in 'Download setup'");
        if (i == 8 && bitPattern)
            return refuse(V::Plain, "A bit pattern cannot be downloaded to a noise destination.\n"
                                    "Select a noise destination in 'Download setup'");
    }
    return checkInterface(job);
}

EntryCheck checkUploadEntry(const TransferJob& job, bool busy) {
    if (busy)
        return refuse(EntryCheck::Verdict::Error, kBusyText);
    return checkInterface(job);
}

} // namespace plotwell::transfer
