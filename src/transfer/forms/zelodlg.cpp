#include "transfer/forms/zelodlg.h"

#include <QComboBox>
#include <QFormLayout>
#include <QPushButton>

using namespace plotwell;

TZELOSaveDialog* ZELOSaveDialog = nullptr;

TZELOSaveDialog::TZELOSaveDialog(QWidget* parent) : Form("ZELOSaveDialog", parent) {
    setWindowTitle(QStringLiteral("ZELO filr position"));
    // Stays on top, without a close box.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint);
    auto* form = new QFormLayout(this);
    Position = new QComboBox(this);
    platform::nameInput(Position, "Position");
    Length = new QComboBox(this);
    platform::nameInput(Length, "Length");
    Length->setEditable(true);
    Length->setEditText(QStringLiteral("0"));
    bnOK = platform::named(new QPushButton(QStringLiteral("OK"), this), "bnOK");
    bnOK->setDefault(true);
    form->addRow(QStringLiteral("Position"), Position);
    form->addRow(QStringLiteral("Length"), Length);
    form->addRow(bnOK);
    connect(bnOK, &QPushButton::clicked, this, [this] { setModalResult(platform::mrOk); });
}
