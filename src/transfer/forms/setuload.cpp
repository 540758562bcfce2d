#include "transfer/forms/setuload.h"

#include "app/Plotdesk.h"

#include <QComboBox>

using namespace plotwell;

TSetUpload* SetUpload = nullptr;

TSetUpload::TSetUpload(QWidget* parent)
    : TSetTransfer("SetUpload", "Upload parameters", "Source", "Source", "SkipID", parent) {
    Source = Target;
    SkipID = Skip;
}

transfer::TransferSide TSetUpload::side() {
    return transfer::uploadSide(PWForm1->TransferSettings);
}

void TSetUpload::ShowInfo() {
    PWForm1->ShowUploadInfo();
}

void TSetUpload::FillSources() {
    const auto rows = transfer::sourceRows(Make->currentIndex(), Model->currentIndex(), Type->currentIndex());
    fillTargetRows(rows.style, rows.rows);
}
