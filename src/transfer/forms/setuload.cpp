#include "transfer/forms/setuload.h"

#include "transfer/forms/transfer_host.h"

#include <QComboBox>

using namespace plotwell;

TSetUpload* SetUpload = nullptr;

TSetUpload::TSetUpload(QWidget* parent)
    : TSetTransfer("SetUpload", "Upload parameters", "Source", "Source", "SkipID", parent) {
    Source = Target;
    SkipID = Skip;
}

transfer::TransferSide TSetUpload::side() {
    return transfer::uploadSide(TransferHost->TransferRecord());
}

void TSetUpload::ShowInfo() {
    TransferHost->ShowUploadInfo();
}

void TSetUpload::FillSources() {
    const auto rows = transfer::sourceRows(Make->currentIndex(), Model->currentIndex(), Type->currentIndex());
    fillTargetRows(rows.style, rows.rows);
}
