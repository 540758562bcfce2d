#include "transfer/forms/TekRef.h"

#include "common/numtext.h"
#include "platform/qstring.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace plotwell;

TSetTekRef* SetTekRef = nullptr;

TSetTekRef::TSetTekRef(QWidget* parent) : Form("SetTekRef", parent) {
    setWindowTitle(QStringLiteral("Set reference location size"));
    // No close box: the dialog ends by its buttons.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    auto* column = new QVBoxLayout(this);
    Label1 = platform::named(new QLabel(QStringLiteral("No. of points"), this), "Label1");
    NoPoints = new QComboBox(this);
    platform::nameInput(NoPoints, "NoPoints");
    for (const char* n : {"500", "1000", "2500", "5000", "15000", "30000", "50000"})
        NoPoints->addItem(QString::fromLatin1(n));
    NoPoints->setCurrentIndex(-1);
    bnOK = platform::named(new QPushButton(QStringLiteral("OK"), this), "bnOK");
    bnCancel = platform::named(new QPushButton(QStringLiteral("Cancel"), this), "bnCancel");
    bnOK->setDefault(true);
    column->addWidget(Label1);
    column->addWidget(NoPoints);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(bnOK);
    buttons->addWidget(bnCancel);
    column->addLayout(buttons);
    connect(bnOK, &QPushButton::clicked, this, [this] { setModalResult(platform::mrOk); });
    connect(bnCancel, &QPushButton::clicked, this, [this] { setModalResult(platform::mrCancel); });
}

bool TSetTekRef::AskRecordLength(const std::string& model, const std::string& destination, int& length) {
    Label1->setText(platform::toQString(common::cformat("%s %s size", model.c_str(), destination.c_str())));
    if (NoPoints->currentIndex() < 0)
        NoPoints->setCurrentIndex(0);
    if (ShowModal() != platform::mrOk)
        return false;
    length = common::parseInt(NoPoints->currentText().toStdString()).value_or(0);
    return true;
}
