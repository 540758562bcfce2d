#include "transfer/core/session.h"

#include "common/numtext.h"
#include "transfer/core/arbdef.h"
#include "transfer/core/library_links.h"
#include "transfer/core/maker.h"
#include "transfer/core/numbered_store.h"
#include "transfer/core/scope.h"
#include "transfer/core/serial_link.h"
#include "transfer/core/tcp_link.h"

namespace plotwell::transfer {

namespace {
// The decimal value of an address text; -1 (refused by the drivers) when it is none.
int addressValue(const std::string& text) {
    return common::parseInt(text).value_or(-1);
}

LinkError failure(LinkError::Kind kind, std::string text, bool beep = true) {
    LinkError e;
    e.kind = kind;
    e.text = std::move(text);
    e.beep = beep;
    return e;
}
} // namespace

LinkError commFailure(const std::string& port, const std::string& function, int error) {
    LinkError e =
        failure(LinkError::Kind::Port, common::cformat(kCommErrorText, port.c_str(), function.c_str()));
    e.systemText = platform::systemErrorText(error);
    return e;
}

// ---- libraries --------------------------------------------------------------------------

InstrumentLibraries& TransferSession::libs() {
    if (!libraries)
        libraries = std::make_unique<InstrumentLibraries>();
    return *libraries;
}

void TransferSession::forgetLibraries() {
    GpibNeeded = false;
    UsbNeeded = false;
    libraries.reset();
}

LinkError TransferSession::loadGpib(const std::string& file) {
    GpibNeeded = libs().loadGpib(file);
    if (GpibNeeded)
        return {};
    return failure(LinkError::Kind::Library, gpibLoadFailureText(libraries->gpibFile()));
}

LinkError TransferSession::loadUsb(const std::string& file) {
    UsbNeeded = libs().loadUsb(file);
    if (UsbNeeded)
        return {};
    return failure(LinkError::Kind::Library, usbLoadFailureText(libraries->usbFile()));
}

void TransferSession::freeLibraries() {
    // Devices first: their close calls need their drivers.
    end();
    link.reset();
    if (libraries) {
        libraries->freeUsb();
        libraries->freeGpib();
    }
    libraries.reset();
}

// ---- serial sides -----------------------------------------------------------------------

void TransferSession::ApplyDownloadSerial(const TransferSettings& s) {
    applySerialParameters(serial.DownloadDcb, s.dlBaudRate, s.dlByteSize, s.dlParity, s.dlStopBits,
                          s.dlFlowControl);
}

void TransferSession::ApplyUploadSerial(const TransferSettings& s) {
    applySerialParameters(serial.UploadDcb, s.ulBaudRate, s.ulByteSize, s.ulParity, s.ulStopBits,
                          s.ulFlowControl);
}

LinkError TransferSession::probeSerialPort(const TransferSettings& s, bool download) {
    const std::string& port = download ? s.dlType : s.ulType;
    int error = 0;
    LinkError checked;
    switch (readSerialState(port, download ? serial.DownloadDcb : serial.UploadDcb, error)) {
    case SerialOpenResult::NoAccess:
        // Start-up goes on with the line settings unread.
        checked = failure(LinkError::Kind::Port, common::cformat(kStartupAccessText, port.c_str()), false);
        break;
    case SerialOpenResult::GetStateFailed:
        checked = commFailure(port, "GetCommState", error);
        break;
    default:
        break;
    }
    if (download) {
        ApplyDownloadSerial(s);
        serial.DownloadTimeouts = kDownloadTimeouts;
    } else {
        ApplyUploadSerial(s);
        serial.UploadTimeouts = kUploadTimeouts;
    }
    return checked;
}

void TransferSession::restoreInterfaces(const TransferSettings& s, const LinkReport& report) {
    for (const bool download : {true, false}) {
        const int typeIndex = download ? s.dlTypeIndex : s.ulTypeIndex;
        if (typeIndex > ifLan) {
            if (const LinkError e = probeSerialPort(s, download))
                report(e);
            continue;
        }
        if (download)
            ApplyDownloadSerial(s);
        else
            ApplyUploadSerial(s);
        if (typeIndex < ifUsb)
            GpibNeeded = true;
    }
    UsbNeeded = (s.ulTypeIndex == ifUsb && supportsUsb(s.ulMakeIndex, s.ulModelIndex)) ||
                (s.dlTypeIndex == ifUsb && supportsUsb(s.dlMakeIndex, s.dlModelIndex));
}

// ---- the link -----------------------------------------------------------------------------

LinkError TransferSession::openLink(const TransferJob& job, const LibraryFiles& files) {
    switch (interfaceKind(job.typeIndex)) {
    case InterfaceKind::Gpib: {
        if (!(libraries && libraries->gpibLoaded())) {
            if (LinkError e = loadGpib(files.gpib))
                return e;
        }
        closeLink();
        auto opened = GpibLink::open(libraries->gpib(), job.typeIndex, addressValue(job.address),
                                     job.download() ? kGpibT100s : kGpibT10s, deadlines);
        if (!opened)
            return driverFailure(LinkKind::Gpib, {IoStatus::Error, 0, "ibdev", 0});
        GpibDevice = opened->device();
        link = std::move(opened);
        return {};
    }
    case InterfaceKind::Usb: {
        if (!(libraries && libraries->usbLoaded())) {
            if (LinkError e = loadUsb(files.usb))
                return e;
        }
        closeLink();
        int error = 0;
        auto opened = UsbLink::open(*libraries, addressValue(job.address), error, deadlines);
        if (!opened)
            return driverFailure(LinkKind::Usb, {IoStatus::Error, 0, "AWG_Open", error});
        UsbDevice = opened->handle();
        link = std::move(opened);
        return {};
    }
    case InterfaceKind::Serial:
        return openSerialLink(job);
    case InterfaceKind::Lan:
        // The connection lives for the one tick in which the whole transfer runs. Its address
        // is the record's, never the dialog's Address edit, which may show the GPIB address
        // after a cancelled dialog.
        link = TcpLink::connect(job.ipAddress, job.tcpPort, deadlines);
        if (!link)
            return failure(LinkError::Kind::Connect,
                           "Unable to connect to device.\n\nCheck IP Address and TCP Port settings.", false);
        return {};
    case InterfaceKind::Card:
        break;
    }
    return {};
}

LinkError TransferSession::openSerialLink(const TransferJob& job) {
    const bool download = job.download();
    const std::string& port = job.type;
    platform::SerialTimeouts timeouts = download ? serial.DownloadTimeouts : serial.UploadTimeouts;
    if (download) {
        timeouts.writeTotalConstant = instrumentOf(job).serialWriteWait;
        serial.DownloadTimeouts = timeouts;
    }
    closeLink();
    serial.CommHandle.close();
    int error = 0;
    switch (openSerialPort(serial.CommHandle, port, download ? serial.DownloadDcb : serial.UploadDcb,
                           timeouts, error)) {
    case SerialOpenResult::Ok:
        link = std::make_unique<SerialLink>(std::move(serial.CommHandle));
        return {};
    case SerialOpenResult::SetStateFailed:
        return commFailure(port, "SetCommState", error);
    default:
        return failure(LinkError::Kind::Port, common::cformat(kTransferAccessText, port.c_str()));
    }
}

LinkError TransferSession::driverFailure(LinkKind kind, const IoResult& io) {
    if (!io.function)
        return {};
    if (kind == LinkKind::Gpib)
        return failure(LinkError::Kind::Driver,
                       gpibErrorText(io.function, libraries ? libraries->gpibError() : 0));
    if (kind != LinkKind::Usb)
        return {};
    if (libraries)
        libraries->closeUsb(UsbDevice);
    return failure(LinkError::Kind::Driver, usbErrorText(io.function, io.code));
}

// ---- the running transfer -------------------------------------------------------------------

bool TransferSession::start(const TransferJob& job, int state, DownloadSource source, TransferStatus& status,
                            const void* owner) {
    if (!link || !link->isOpen())
        return false;
    auto made = makeWorker(state, job, *link, status, std::move(source));
    if (!made)
        return false;
    job_ = job;
    worker_ = std::move(made);
    owner_ = owner;
    started = false;
    return true;
}

void TransferSession::end() {
    worker_.reset();
    job_.reset();
    owner_ = nullptr;
    closeLink();
}

void TransferSession::closeLink() {
    if (link)
        link->close();
}

namespace {

using WorkerFactory = std::unique_ptr<TransferWorker> (*)(const TransferJob&, Link&, TransferStatus&,
                                                          DownloadSource&&);

template <std::unique_ptr<TransferWorker> (*Make)(const TransferJob&, Link&, TransferStatus&, DownloadSource)>
std::unique_ptr<TransferWorker> download(const TransferJob& job, Link& link, TransferStatus& status,
                                         DownloadSource&& source) {
    return Make(job, link, status, std::move(source));
}

template <std::unique_ptr<TransferWorker> (*Make)(const TransferJob&, Link&, TransferStatus&)>
std::unique_ptr<TransferWorker> upload(const TransferJob& job, Link& link, TransferStatus& status,
                                       DownloadSource&&) {
    return Make(job, link, status);
}

// The worker of each state, and the links it drives beside RS-232 and GPIB. The LAN
// workers run their whole transfer within one tick.
struct Family {
    int state;
    WorkerFactory make;
    bool usb;
    bool lan;
};
constexpr Family kFamilies[] = {
    {stArbDefDownload, download<makeArbDefDownload>, true, false},
    {stArbDataUpload, upload<makeArbDataUpload>, true, false},
    {stStoreDownload, download<makeStoreDownload>, false, false},
    {stStoreUpload, upload<makeStoreUpload>, false, false},
    {stScopeDownload, download<makeScopeDownload>, false, false},
    {stScopeUpload, upload<makeScopeUpload>, false, false},
    {stMakerDownload, download<makeMakerDownload>, false, true},
    {stMakerUpload, upload<makeMakerUpload>, false, true},
    {stPatternDownload, download<makeMakerDownload>, false, true},
};

} // namespace

std::unique_ptr<TransferWorker> makeWorker(int state, const TransferJob& job, Link& link,
                                           TransferStatus& status, DownloadSource source) {
    for (const Family& f : kFamilies) {
        if (f.state != state)
            continue;
        const bool drives = link.kind() == LinkKind::Usb   ? f.usb
                            : link.kind() == LinkKind::Tcp ? f.lan
                                                           : true;
        return drives ? f.make(job, link, status, std::move(source)) : nullptr;
    }
    return nullptr;
}

} // namespace plotwell::transfer
