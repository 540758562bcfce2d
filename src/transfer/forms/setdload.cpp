#include "transfer/forms/setdload.h"

#include "transfer/forms/transfer_host.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QSignalBlocker>

using namespace plotwell;

TSetDownload* SetDownload = nullptr;

TSetDownload::TSetDownload(QWidget* parent)
    : TSetTransfer("SetDownload", "Download parameters", "Destination", "Destination", "SkipID1", parent) {
    Destination = Target;
    SkipID1 = Skip;
    Stretch = new QComboBox(this);
    platform::nameInput(Stretch, "Stretch");
    Stretch->addItem(QStringLiteral("Yes"));
    Stretch->addItem(QStringLiteral("No"));
    Stretch->setCurrentIndex(1);
    Interpolate = new QCheckBox(QStringLiteral("Interpolate"), this);
    platform::nameInput(Interpolate, "Interpolate");
    Interpolate->hide();
    checks_.push_back(Interpolate);
    grid_->addWidget(platform::named(new QLabel(QStringLiteral(" Adjust to fit"), this), "StretchLabel"), 6,
                     0);
    grid_->addWidget(Stretch, 6, 1);
    grid_->addWidget(Interpolate, 7, 0, 1, 2);
    connect(SkipID1, &QCheckBox::clicked, this, [this] { SkipID1Click(); });
}

transfer::TransferSide TSetDownload::side() {
    return transfer::downloadSide(TransferHost->TransferRecord());
}

void TSetDownload::ShowInfo() {
    TransferHost->ShowDownloadInfo();
}

void TSetDownload::FillDestinations() {
    Interpolate->hide();
    const auto rows =
        transfer::destinationRows(Make->currentIndex(), Model->currentIndex(), Type->currentIndex());
    fillTargetRows(rows.style, rows.rows);
    const QSignalBlocker block(Stretch);
    switch (rows.stretch) {
    case transfer::StretchRows::OnlyYes:
        while (Stretch->count() > 1)
            Stretch->removeItem(Stretch->count() - 1);
        Stretch->setCurrentIndex(0);
        break;
    case transfer::StretchRows::YesNo:
        if (Stretch->count() < 2)
            Stretch->addItem(QStringLiteral("No"));
        break;
    case transfer::StretchRows::Unchanged:
        break;
    }
    Interpolate->setVisible(rows.interpolate);
}

void TSetDownload::activateExtra() {
    selectRow(Stretch, TransferHost->TransferRecord().dlStretchIndex);
}

void TSetDownload::commitExtra() {
    TransferHost->TransferRecord().dlStretchIndex = Stretch->currentIndex();
}

void TSetDownload::restoreExtra() {
    selectRow(Stretch, TransferHost->TransferRecord().dlStretchIndex);
}
