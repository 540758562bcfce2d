#include "transfer/core/session.h"

#include "transfer/core/arbdef.h"
#include "transfer/core/maker.h"
#include "transfer/core/numbered_store.h"
#include "transfer/core/scope.h"

namespace plotwell::transfer {

void TransferSession::start(TransferJob job, std::unique_ptr<TransferWorker> worker, const void* owner) {
    job_ = std::move(job);
    worker_ = std::move(worker);
    owner_ = owner;
    started = false;
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
