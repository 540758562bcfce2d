#include "synthesis/forms/select.h"

#include "common/numtext.h"
#include "platform/numeric_field.h"
#include "platform/qstring.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include <functional>

using namespace plotwell;

TSelectDialog* SelectDialog = nullptr;

namespace {
QLabel* panel(QWidget* parent, const char* name, const char* text) {
    auto* l = platform::named(new QLabel(QString::fromLatin1(text), parent), name);
    l->setFrameShape(QFrame::Panel);
    l->setFrameShadow(QFrame::Sunken);
    l->setMinimumWidth(70);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return l;
}

QWidget* upDown(QWidget* parent, const char* name, const std::function<void(bool)>& click) {
    auto* w = platform::named(new QWidget(parent), name);
    auto* col = new QVBoxLayout(w);
    col->setContentsMargins(0, 0, 0, 0);
    col->setSpacing(0);
    for (bool up : {true, false}) {
        auto* b = platform::named(new QToolButton(w), up ? "Up" : "Down");
        b->setArrowType(up ? Qt::UpArrow : Qt::DownArrow);
        b->setFixedSize(16, 11);
        b->setFocusPolicy(Qt::NoFocus);
        QObject::connect(b, &QToolButton::clicked, w, [click, up] { click(up); });
        col->addWidget(b);
    }
    return w;
}
} // namespace

TSelectDialog::TSelectDialog(QWidget* parent) : Form("SelectDialog", parent) {
    setCancelResult(AnswerCancel);
    auto* grid = new QGridLayout(this);
    auto edit = [this](const char* name) {
        auto* e = new QLineEdit("0", this);
        platform::nameInput(e, name);
        e->setMaxLength(7);
        e->setMaximumWidth(80);
        return e;
    };
    xStart = edit("xStart");
    xEnd = edit("xEnd");
    // The limits let every key through (a letter is simply not read) and keep their text
    // on a click.
    const platform::FieldRules rules{.filtersKeys = false, .selectsAllOnClick = false};
    startField_ = new platform::NumericField(xStart, rules);
    endField_ = new platform::NumericField(xEnd, rules);
    // The caller frees the samples once the dialog is hidden; a focus change after that
    // must not show values.
    startField_->onRelease = [this](bool numberKey) {
        if (isVisible())
            xStartKeyUp(numberKey);
    };
    endField_->onRelease = [this](bool numberKey) {
        if (isVisible())
            xEndKeyUp(numberKey);
    };
    startField_->onExit = [this] {
        if (isVisible())
            xStartExit();
    };
    endField_->onExit = [this] {
        if (isVisible())
            xEndExit();
    };
    UpDownStart = upDown(this, "UpDownStart", [this](bool up) { UpDownStartClick(up); });
    UpDownEnd = upDown(this, "UpDownEnd", [this](bool up) { UpDownEndClick(up); });
    yStartData = panel(this, "yStartData", "+00000");
    yEndData = panel(this, "yEndData", "+00000");
    Length = panel(this, "Length", "00000");

    grid->addWidget(new QLabel("Start point", this), 0, 0);
    grid->addWidget(xStart, 0, 1);
    grid->addWidget(UpDownStart, 0, 2);
    grid->addWidget(new QLabel("Start value", this), 0, 3);
    grid->addWidget(yStartData, 0, 4);
    grid->addWidget(new QLabel("End point", this), 1, 0);
    grid->addWidget(xEnd, 1, 1);
    grid->addWidget(UpDownEnd, 1, 2);
    grid->addWidget(new QLabel("End value", this), 1, 3);
    grid->addWidget(yEndData, 1, 4);
    grid->addWidget(new QLabel("New length", this), 2, 3);
    grid->addWidget(Length, 2, 4);

    auto* buttons = new QHBoxLayout;
    bnApply = platform::named(new QPushButton("&Apply", this), "bnApply");
    bnOK = platform::named(new QPushButton("OK", this), "bnOK");
    bnCancel = platform::named(new QPushButton("Cancel", this), "bnCancel");
    bnApply->setEnabled(false);
    bnOK->setEnabled(false);
    bnOK->setDefault(true);
    bnApply->setAutoDefault(false);
    bnCancel->setAutoDefault(false);
    buttons->addStretch(1);
    buttons->addWidget(bnApply);
    buttons->addWidget(bnOK);
    buttons->addWidget(bnCancel);
    grid->addLayout(buttons, 3, 0, 1, 5);
    connect(bnApply, &QPushButton::clicked, this, &TSelectDialog::bnApplyClick);
    connect(bnOK, &QPushButton::clicked, this, &TSelectDialog::bnOKClick);
    connect(bnCancel, &QPushButton::clicked, this, &TSelectDialog::bnCancelClick);
}

void TSelectDialog::FormActivate() {
    StartEditedLast = false;
}

void TSelectDialog::ClampLimits() {
    StartPoint = platform::pointWithin(StartPoint, lastPoint());
    EndPoint = platform::pointWithin(EndPoint, lastPoint());
    // The limit the user did not touch last gives way.
    if (StartEditedLast) {
        if (EndPoint < StartPoint)
            EndPoint = StartPoint;
    } else if (StartPoint > EndPoint) {
        StartPoint = EndPoint;
    }
}

std::string TSelectDialog::valueText(int point) const {
    if (!SavedSamples || point < 0 || point >= SavedSamples->count())
        return {};
    const uint16_t r = SavedSamples->reference();
    const uint16_t word = SavedSamples->code(std::size_t(point));
    if (r == 1)
        return common::cformat("%+7.5f", (int(word) - 32768) * 3.0517578e-5);
    const int shown = UnsignedDisplay ? int(word) : int(word) - int(r);
    return common::cformat("%+5hd", short(int16_t(shown)));
}

void TSelectDialog::UpdateLimits() {
    startField_->show(StartPoint);
    endField_->show(EndPoint);
    yStartData->setText(platform::toQString(valueText(StartPoint)));
    yEndData->setText(platform::toQString(valueText(EndPoint)));
    const int length = EndPoint - StartPoint + 1;
    Length->setText(platform::toQString(length >= 1 ? common::cformat("%07d", length) : "-------"));
}

void TSelectDialog::enableButtons() {
    bnApply->setEnabled(true);
    bnOK->setEnabled(true);
    bnCancel->setEnabled(true);
}

void TSelectDialog::bnOKClick() {
    ClampLimits();
    done(AnswerOk);
}

void TSelectDialog::bnApplyClick() {
    ClampLimits();
    done(AnswerApply);
}

void TSelectDialog::bnCancelClick() {
    done(AnswerCancel);
}

void TSelectDialog::xStartKeyUp(bool numberKey) {
    if (!numberKey)
        return;
    enableButtons();
    StartEditedLast = true;
    StartPoint = platform::pointWithin(startField_->intValue(), lastPoint());
    UpdateLimits();
}

void TSelectDialog::xEndKeyUp(bool numberKey) {
    if (!numberKey)
        return;
    enableButtons();
    StartEditedLast = false;
    EndPoint = platform::pointWithin(endField_->intValue(), lastPoint());
    UpdateLimits();
}

// Leaving an edit brings the other limit along; the edits show the limits as they now are,
// so what OK returns is what the dialog shows.
void TSelectDialog::xStartExit() {
    ClampLimits();
    UpdateLimits();
}

void TSelectDialog::xEndExit() {
    ClampLimits();
    UpdateLimits();
}

void TSelectDialog::UpDownStartClick(bool up) {
    enableButtons();
    StartPoint += up ? 1 : -1;
    StartEditedLast = true;
    ClampLimits();
    UpdateLimits();
}

void TSelectDialog::UpDownEndClick(bool up) {
    enableButtons();
    EndPoint += up ? 1 : -1;
    StartEditedLast = false;
    ClampLimits();
    UpdateLimits();
}
