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

std::unique_ptr<TransferWorker> makeWorker(int state, const TransferJob& job, Link& link,
                                           TransferStatus& status, DownloadSource source) {
    // Only the maker and pattern generators have LAN workers; they run whole within one tick.
    if (link.kind() == LinkKind::Tcp && !hasLanWorker(state))
        return nullptr;
    switch (state) {
    case stArbDefDownload:
        return makeArbDefDownload(job, link, status, std::move(source));
    case stArbDataUpload:
        return makeArbDataUpload(job, link, status);
    case stMakerDownload:
    case stPatternDownload:
        return makeMakerDownload(job, link, status, std::move(source));
    case stMakerUpload:
        return makeMakerUpload(job, link, status);
    case stStoreDownload:
        return link.kind() == LinkKind::Usb ? nullptr
                                            : makeStoreDownload(job, link, status, std::move(source));
    case stStoreUpload:
        return link.kind() == LinkKind::Usb ? nullptr : makeStoreUpload(job, link, status);
    case stScopeDownload:
        return link.kind() == LinkKind::Usb ? nullptr
                                            : makeScopeDownload(job, link, status, std::move(source));
    case stScopeUpload:
        return link.kind() == LinkKind::Usb ? nullptr : makeScopeUpload(job, link, status);
    default:
        return nullptr;
    }
}

} // namespace plotwell::transfer
