#include "synthesis/forms/Askname.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace plotwell;

TAskNameForm* AskNameForm = nullptr;

TAskNameForm::TAskNameForm(QWidget* parent) : Form("AskNameForm", parent) {
    setWindowTitle(QStringLiteral("Enter expression name"));
    ExpName = platform::named(new QLineEdit(this), "ExpName");
    platform::nameInput(ExpName, "ExpName");
    ExpName->setMaxLength(12);
    BOK = platform::named(new QPushButton(QStringLiteral("OK"), this), "BOK");
    BCancel = platform::named(new QPushButton(QStringLiteral("Cancel"), this), "BCancel");
    BOK->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(BOK);
    buttons->addWidget(BCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ExpName);
    layout->addLayout(buttons);
    connect(BOK, &QPushButton::clicked, this, [this] { done(platform::mrOk); });
    connect(BCancel, &QPushButton::clicked, this, [this] { done(platform::mrCancel); });
}

void TAskNameForm::FormActivate() {
    ExpName->setFocus();
}
