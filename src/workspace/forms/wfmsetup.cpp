#include "workspace/forms/wfmsetup.h"

#include "common/numtext.h"
#include "platform/numeric_field.h"
#include "platform/qstring.h"
#include "platform/ui.h"
#include "workspace/core/limits.h"
#include "workspace/forms/frame_host.h"
#include "workspace/forms/wfmchild.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

using namespace plotwell;
using workspace::WaveFileType;

TWaveSetup* WaveSetup = nullptr;

namespace {
constexpr int kMaxAmplitude = 65536;
// Fewer points give nothing to draw or compute between two cursors.
constexpr int kMinLength = 2;
} // namespace

TWaveSetup::TWaveSetup(QWidget* parent) : Form("WaveSetup", parent) {
    setWindowTitle("New Waveform Setup");
    auto* grid = new QGridLayout(this);
    StaticText1 = platform::named(new QLabel("Title", this), "StaticText1");
    StaticText2 = platform::named(new QLabel("Amplitude", this), "StaticText2");
    StaticText3 = platform::named(new QLabel("Length", this), "StaticText3");
    WfmTitle = new QLineEdit(this);
    WfmAmpl = new QLineEdit("4096", this);
    WfmLen = new QLineEdit("4096", this);
    platform::nameInput(WfmTitle, "WfmTitle");
    platform::nameInput(WfmAmpl, "WfmAmpl");
    platform::nameInput(WfmLen, "WfmLen");
    WfmTitle->setMaxLength(24);
    WfmAmpl->setMaxLength(6);
    WfmLen->setMaxLength(8);
    grid->addWidget(StaticText1, 0, 0);
    grid->addWidget(WfmTitle, 0, 1);
    grid->addWidget(StaticText2, 1, 0);
    grid->addWidget(WfmAmpl, 1, 1);
    grid->addWidget(StaticText3, 2, 0);
    grid->addWidget(WfmLen, 2, 1);
    BOk = platform::named(new QPushButton("Ok", this), "BOk");
    BCancel = platform::named(new QPushButton("Cancel", this), "BCancel");
    BOk->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BOk);
    buttons->addWidget(BCancel);
    grid->addLayout(buttons, 3, 0, 1, 2);
    platform::selectAllOnClick(WfmTitle);
    // Every key reaches the number fields; their key release puts a wrong text right.
    const platform::FieldRules rules{.filtersKeys = false};
    amplField_ = new platform::NumericField(WfmAmpl, rules);
    lenField_ = new platform::NumericField(WfmLen, rules);
    amplField_->onRelease = [this](bool numberKey) { WfmAmplKeyUp(numberKey); };
    lenField_->onRelease = [this](bool numberKey) { WfmLenKeyUp(numberKey); };
    connect(BOk, &QPushButton::clicked, this, &TWaveSetup::BOkClick);
    connect(BCancel, &QPushButton::clicked, this, &TWaveSetup::BCancelClick);
}

bool TWaveSetup::patternRequested() const {
    return CurrentWaveWindow && CurrentWaveWindow->Doc.PatternRequest == 1;
}

void TWaveSetup::FormActivate() {
    const bool pattern = patternRequested();
    StaticText2->setVisible(!pattern);
    WfmAmpl->setVisible(!pattern);
    setWindowTitle(pattern ? "New Bit Patterm Setup" : "New Waveform Setup");
    WfmTitle->clear();
    Amplitude = amplField_->intValue();
    Length = lenField_->intValue();
    WfmTitle->setFocus();
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

TWaveSetup::KeyUpResult TWaveSetup::KeyUpRule(const std::string& text, bool digitOrBackspace, int stored) {
    if (digitOrBackspace) {
        const int n = platform::fieldInt(text);
        if (n == 0)
            return {stored, text};
        stored = n;
    }
    return {stored, platform::intText(stored)};
}

// Both number fields keep their last non-zero number (see KeyUpRule).
static void keyUp(QLineEdit* edit, bool numberKey, int& stored) {
    const std::string text = edit->text().toStdString();
    const auto r = TWaveSetup::KeyUpRule(text, numberKey, stored);
    stored = r.stored;
    if (text != r.text)
        edit->setText(platform::toQString(r.text));
}

void TWaveSetup::WfmAmplKeyUp(bool numberKey) {
    keyUp(WfmAmpl, numberKey, Amplitude);
}

void TWaveSetup::WfmLenKeyUp(bool numberKey) {
    keyUp(WfmLen, numberKey, Length);
}

void TWaveSetup::BOkClick() {
    const bool pattern = patternRequested();
    // What the fields show now is what the new waveform gets, also a cleared field or a 0.
    Length = lenField_->intValue();
    Amplitude = pattern ? 1 : amplField_->intValue();
    if (WfmTitle->text().isEmpty()) {
        platform::errorBox("Title error\na title must be specified", false);
        return;
    }
    if (!pattern && Length > workspace::kMaxPoints) {
        platform::errorBox(common::cformat("Length error\nMaximum is %d points", workspace::kMaxPoints),
                           false);
        return;
    }
    if (pattern && Length > workspace::kMaxPatternBits) {
        platform::errorBox(common::cformat("Length error\nMaximum is %d points", workspace::kMaxPatternBits),
                           false);
        return;
    }
    if (Length < kMinLength) {
        platform::errorBox("Length error\nMinimum is 2 points", false);
        return;
    }
    if (Amplitude > kMaxAmplitude) {
        platform::errorBox("Amplitude error\nMaximum is 65536", false);
        return;
    }
    Reference = Amplitude >= 4 ? Amplitude / 2 : 32768;
    setModalResult(platform::mrOk);
}

void TWaveSetup::BCancelClick() {
    CancelPath();
    setModalResult(platform::mrCancel);
}

void TWaveSetup::CancelPath() {
    // The set-up for a new pattern was abandoned; a window that already holds a pattern
    // stays one.
    if (CurrentWaveWindow && CurrentWaveWindow->Doc.FileType != WaveFileType::BitPattern)
        CurrentWaveWindow->Doc.IsBitPattern = 0;
}
