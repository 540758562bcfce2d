#include "transfer/forms/setcoms.h"

#include "common/numtext.h"
#include "platform/qstring.h"
#include "platform/ui.h"
#include "transfer/core/serial_settings.h"
#include "transfer/core/session.h"
#include "transfer/forms/settransfer.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

using namespace plotwell;

TSetRS232* SetRS232 = nullptr;

namespace {
QComboBox* list(QWidget* parent, const char* name, std::initializer_list<const char*> rows) {
    auto* c = new QComboBox(parent);
    platform::nameInput(c, name);
    for (const char* r : rows)
        c->addItem(QString::fromLatin1(r));
    return c;
}
} // namespace

TSetRS232::TSetRS232(QWidget* parent) : Form("SetRS232", parent) {
    setWindowTitle(QStringLiteral("RS232 parameter setup"));
    auto* form = new QFormLayout(this);
    Device = list(this, "Device", {});
    Device->setMinimumWidth(220);
    baud =
        list(this, "baud", {"110", "300", "600", "1200", "2400", "4800", "9600", "14400", "19200", "38400"});
    bits = new QLineEdit(QStringLiteral("8"), this);
    platform::nameInput(bits, "bits");
    stopbits = list(this, "stopbits", {"1", "1.5", "2"});
    parity = list(this, "parity", {"None", "Odd", "Even"});
    flowcontrol = list(this, "flowcontrol", {"None", "Xon/Xoff", "RTS/CTS"});
    bnOK = platform::named(new QPushButton(QStringLiteral("OK"), this), "bnOK");
    bnCancel = platform::named(new QPushButton(QStringLiteral("Cancel"), this), "bnCancel");
    bnOK->setDefault(true);
    form->addRow(QStringLiteral("Device"), Device);
    form->addRow(QStringLiteral("Baud Rate"), baud);
    form->addRow(QStringLiteral("Data Bits"), bits);
    form->addRow(QStringLiteral("Stop Bits"), stopbits);
    form->addRow(QStringLiteral("Parity"), parity);
    form->addRow(QStringLiteral("Flow Control"), flowcontrol);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(bnOK);
    buttons->addWidget(bnCancel);
    form->addRow(buttons);

    connect(Device, &QComboBox::activated, this, [this] { DeviceChange(); });
    connect(bnOK, &QPushButton::clicked, this, [this] { setModalResult(platform::mrOk); });
    connect(bnCancel, &QPushButton::clicked, this, [this] { setModalResult(platform::mrCancel); });
}

void TSetRS232::FormActivate() {
    deviceRowAtShow_ = Device->currentIndex();
}

void TSetRS232::DeviceChange() {
    if (Device->currentIndex() != deviceRowAtShow_)
        setModalResult(mrDeviceChanged);
}

bool TSetRS232::ListDevices(const transfer::TransferSettings& s) {
    const int remembered = Device->currentIndex();
    Device->clear();
    if (s.dlTypeIndex > transfer::ifLan)
        Device->addItem(platform::toQString(transfer::deviceRowText(s.dlType, true)));
    if (s.ulTypeIndex > transfer::ifLan)
        Device->addItem(platform::toQString(transfer::deviceRowText(s.ulType, false)));
    if (Device->count() == 0)
        return false;
    TSetTransfer::selectRow(Device, remembered >= 0 && remembered < Device->count() ? remembered : 0);
    return true;
}

void TSetRS232::EditParameters(transfer::TransferSettings& s, transfer::TransferSession& session) {
    for (;;) {
        if (Device->currentIndex() < 0)
            return;
        const bool download = Device->currentText().endsWith(QLatin1String(" for download"));
        const transfer::TransferSide side = download ? transfer::downloadSide(s) : transfer::uploadSide(s);
        TSetTransfer::selectRow(baud, side.baudRate);
        bits->setText(platform::toQString(common::cformat("%d", side.byteSize)));
        TSetTransfer::selectRow(stopbits, side.stopBits);
        TSetTransfer::selectRow(parity, side.parity);
        TSetTransfer::selectRow(flowcontrol, side.flowControl);
        const int result = ShowModal();
        if (result == mrDeviceChanged)
            continue;
        if (result != platform::mrOk)
            return;
        // The whole set is checked before any of it is taken.
        const std::string bitsText = bits->text().toStdString();
        const auto byteSize = common::parseInt(bitsText);
        if (!byteSize) {
            platform::errorBox(common::cformat("'%s' is not a valid integer value", bitsText.c_str()));
            return;
        }
        // The rows above 38400 come only from a project; a dialog that cannot show the
        // stored row keeps it.
        if (baud->currentIndex() >= 0)
            side.baudRate = baud->currentIndex();
        side.byteSize = *byteSize;
        side.stopBits = stopbits->currentIndex();
        side.parity = parity->currentIndex();
        side.flowControl = flowcontrol->currentIndex();
        if (download)
            session.ApplyDownloadSerial(s);
        else
            session.ApplyUploadSerial(s);
        return;
    }
}
