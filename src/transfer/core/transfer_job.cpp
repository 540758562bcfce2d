#include "transfer/core/transfer_job.h"

#include "common/numtext.h"

namespace plotwell::transfer {

namespace {
constexpr int kBitPatternType = 13;
constexpr int kQvs51xx = 11;

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

StateChoice downloadState(int make, int model) {
    StateChoice c;
    switch (make) {
    case makeQuorvex:
        if (model == 0 || inRange(model, 2, 4))
            c.state = stArbDefDownload;
        else if (model == 1)
            c.state = stStoreDownload;
        else if (inRange(model, 5, 10) || inRange(model, 12, 15))
            c.state = stMakerDownload;
        else if (model == kQvs51xx)
            c.state = stPatternDownload;
        break;
    case makeTektronix:
        if (inRange(model, 0, 1))
            c = {stScopeDownload, 2500};
        else if (inRange(model, 2, 7))
            c = {stScopeDownload, 1000};
        else if (inRange(model, 8, 11))
            c = {stScopeDownload, 0, true};
        break;
    case makeFluke:
        if (model == 0)
            c.state = stStoreDownload;
        else if (inRange(model, 1, 2))
            c.state = stArbDefDownload;
        break;
    case makeWavetek:
        if (model == 1)
            c.state = stStoreDownload;
        else if (model == 0 || inRange(model, 2, 3))
            c.state = stArbDefDownload;
        break;
    }
    return c;
}

StateChoice uploadState(int make, int model) {
    auto arm = [](int state, uint16_t reference, int32_t points) {
        StateChoice c;
        c.state = state;
        c.reference = reference;
        c.points = points;
        return c;
    };
    switch (make) {
    case makeQuorvex:
        if (model == 0 || inRange(model, 2, 4))
            return arm(stArbDataUpload, 2048, -1);
        if (model == 1)
            return arm(stStoreUpload, 512, 1024);
        if (inRange(model, 5, 10))
            return arm(stMakerUpload, 8192, -1);
        if (inRange(model, 11, 15))
            return arm(stMakerUpload, 32768, -1);
        break;
    case makeTektronix:
        if (inRange(model, 0, 1))
            return arm(stScopeUpload, 128, 2500);
        if (inRange(model, 2, 7))
            return arm(stScopeUpload, 128, 1000);
        if (inRange(model, 8, 11))
            return arm(stScopeUpload, 128, 0); // the scope's own record
        break;
    case makeFluke:
        if (model == 0)
            return arm(stStoreUpload, 512, 1024);
        if (inRange(model, 1, 2))
            return arm(stArbDataUpload, 2048, -1);
        break;
    case makeWavetek:
        if (model == 1)
            return arm(stStoreUpload, 512, 1024);
        if (model == 0 || inRange(model, 2, 3))
            return arm(stArbDataUpload, 2048, -1);
        break;
    }
    return {};
}

std::string downloadingText(const std::string& fileName, const std::string& instrumentName) {
    return common::cformat("Downloading %s as %s", fileName.c_str(), instrumentName.c_str());
}

std::string uploadingText(const TransferJob& job) {
    return common::cformat("Uploading from %s  %s", job.model.c_str(), job.target.c_str());
}

bool hasLanWorker(int state) {
    return state == stMakerDownload || state == stMakerUpload || state == stPatternDownload;
}

bool cardSupported(const TransferJob& job) {
    if (job.makeIndex != makeQuorvex)
        return false;
    const int last = job.download() ? 15 : 10;
    return job.modelIndex == 3 || inRange(job.modelIndex, 5, last);
}

namespace {

EntryCheck refuse(EntryCheck::Verdict v, const char* text) {
    return {v, text};
}

// The checks both directions make of the interface: it must suit the instrument.
EntryCheck checkInterface(const TransferJob& job, int state) {
    using V = EntryCheck::Verdict;
    switch (interfaceKind(job.typeIndex)) {
    case InterfaceKind::Usb:
        if (!supportsUsb(job.makeIndex, job.modelIndex))
            return refuse(V::Error, kNoUsbText);
        break;
    case InterfaceKind::Card:
        if (!cardSupported(job))
            return refuse(V::Error, kNoCardText);
        break;
    case InterfaceKind::Lan:
        // A family without a LAN worker would tick for ever on a link never opened.
        if (!hasLanWorker(state))
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
    if (bitPattern && job.modelIndex != kQvs51xx)
        return refuse(V::Plain, "Bit patterns are not supported on the selected model\n"
                                "Select a supported pulse generator in 'Download setup'");
    if (job.makeIndex == makeQuorvex && job.modelIndex == kQvs51xx) {
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
    return checkInterface(job, downloadState(job.makeIndex, job.modelIndex).state);
}

EntryCheck checkUploadEntry(const TransferJob& job, bool busy) {
    if (busy)
        return refuse(EntryCheck::Verdict::Error, kBusyText);
    return checkInterface(job, uploadState(job.makeIndex, job.modelIndex).state);
}

} // namespace plotwell::transfer
