#include "synthesis/forms/Harmonics.h"

#include "common/numtext.h"
#include "platform/numeric_field.h"
#include "platform/numeric_rules.h"
#include "platform/screen_cursor.h"
#include "platform/ui.h"
#include "synthesis/core/generation.h"
#include "synthesis/forms/generator.h"
#include "workspace/forms/WorldView.h"
#include "workspace/forms/wfmchild.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <iterator>
#include <vector>

using namespace plotwell;

THarmonicsForm* HarmonicsForm = nullptr;

namespace {
// Row k's components are numbered: CheckBox3, ComboBox3, Edit5 and Edit6 for row 3.
std::string numbered(const char* stem, int k) {
    return stem + std::to_string(k);
}
} // namespace

THarmonicsForm::THarmonicsForm(QWidget* parent) : TOperationForm("HarmonicsForm", parent) {
    setWindowTitle("Harmonics Generator");
    // F1 opens the generators' help topic, as in the other generator dialogs.
    setHelpContext(TGeneratorForm::kHelpContext);
    auto* top = new QVBoxLayout(this);
    auto* table = new QGridLayout;
    // Each heading stands centred over its own column, whatever width the layout gives the
    // column. The string grid keeps the headings it was written with, out of sight: its equal
    // cells could not follow the columns' own widths.
    StringGrid1 = platform::named(new QTableWidget(1, 3, this), "StringGrid1");
    StringGrid1->hide();
    const char* const headings[] = {"Harmonic", "Amplitude", "Phase", "Enabled"};
    for (int col = 0; col < int(std::size(headings)); ++col) {
        table->addWidget(new QLabel(headings[col], this), 0, col, Qt::AlignHCenter);
        if (col < StringGrid1->columnCount())
            StringGrid1->setItem(0, col, new QTableWidgetItem(headings[col]));
    }
    QStringList harmonics;
    for (int n = 1; n <= 49; ++n)
        harmonics << QString::number(n);
    for (int k = 1; k <= kRows; ++k) {
        const int i = k - 1;
        ComboBox[i] = new QComboBox(this);
        platform::nameInput(ComboBox[i], numbered("ComboBox", k).c_str());
        ComboBox[i]->addItems(harmonics);
        ComboBox[i]->setCurrentIndex(i);
        AmplitudeEdit[i] = new QLineEdit(k == 1 ? "1.00" : "0.00", this);
        platform::nameInput(AmplitudeEdit[i], numbered("Edit", 2 * k - 1).c_str());
        PhaseEdit[i] = new QLineEdit("0.00", this);
        platform::nameInput(PhaseEdit[i], numbered("Edit", 2 * k).c_str());
        CheckBox[i] = new QCheckBox(this);
        platform::nameInput(CheckBox[i], numbered("CheckBox", k).c_str());
        CheckBox[i]->setChecked(k == 1);
        for (QLineEdit* e : {AmplitudeEdit[i], PhaseEdit[i]}) {
            e->installEventFilter(this);
            platform::selectAllOnClick(e);
        }
        table->addWidget(ComboBox[i], k, 0);
        table->addWidget(AmplitudeEdit[i], k, 1);
        table->addWidget(PhaseEdit[i], k, 2);
        table->addWidget(CheckBox[i], k, 3, Qt::AlignHCenter);
    }
    top->addLayout(table);

    auto* range = new QHBoxLayout;
    Start = new QLineEdit(this);
    platform::nameInput(Start, "Start");
    End = new QLineEdit(this);
    platform::nameInput(End, "End");
    range->addWidget(new QLabel("Start point", this));
    range->addWidget(Start);
    range->addWidget(new QLabel("End point", this));
    range->addWidget(End);
    top->addLayout(range);

    auto* level = new QHBoxLayout;
    level->addWidget(new QLabel("Level Adjuster", this));
    RadioButton1 = new QRadioButton("Auto adjust pk-pk", this);
    platform::nameInput(RadioButton1, "RadioButton1");
    RadioButton2 = new QRadioButton("As calculated", this);
    platform::nameInput(RadioButton2, "RadioButton2");
    RadioButton2->setChecked(true);
    level->addWidget(RadioButton1);
    level->addWidget(RadioButton2);
    top->addLayout(level);

    auto* buttons = new QHBoxLayout;
    auto button = [this, buttons](const char* objectName, const char* text) {
        auto* b = platform::named(new QPushButton(text, this), objectName);
        b->setAutoDefault(false);
        buttons->addWidget(b);
        return b;
    };
    BOk = button("BOk", "Ok");
    BCancel = button("BCancel", "Cancel");
    BPreview = button("BPreview", "Preview");
    top->addLayout(buttons);
    connect(BOk, &QPushButton::clicked, this, [this] { BOkClick(); });
    connect(BCancel, &QPushButton::clicked, this, [this] { BCancelClick(); });
    connect(BPreview, &QPushButton::clicked, this, [this] { BPreviewClick(); });
}

bool THarmonicsForm::FilterKey(std::string_view text, char key, bool& dotFresh) {
    if (key == platform::kBackspace)
        return true;
    if (key == '.') {
        if (dotFresh) {
            dotFresh = false;
            return true;
        }
        return text.find('.') == std::string_view::npos;
    }
    return key >= '0' && key <= '9';
}

bool THarmonicsForm::eventFilter(QObject* watched, QEvent* event) {
    auto* edit = qobject_cast<QLineEdit*>(watched);
    if (!edit)
        return TOperationForm::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress) {
        const std::optional<char> c = platform::typedCharacter(static_cast<QKeyEvent*>(event));
        if (c && !FilterKey(edit->text().toStdString(), *c, DotFresh))
            return true;
    } else if (event->type() == QEvent::FocusOut) {
        // A number too large stays as typed, for Preview to refuse.
        const std::string text = edit->text().toStdString();
        if (platform::numberFits(platform::FieldKind::UnsignedDecimal, text))
            edit->setText(QString::fromStdString(common::cformat("%.2f", platform::fieldDecimal(text))));
        DotFresh = true;
    }
    return TOperationForm::eventFilter(watched, event);
}

void THarmonicsForm::FormActivate() {
    if (!Target)
        return;
    if (Target->Zoomed) {
        AmplitudeCodes = Target->ViewMax - Target->ViewMin;
        MarkerOffsetCodes = Target->ViewMin + (Target->ViewMax - Target->ViewMin) / 2;
    } else {
        AmplitudeCodes = 2 * MidCode - 1;
        // The generation is centred on the mid code: so are the lines.
        MarkerOffsetCodes = 0;
    }
    Changed = 1;
    Previewed = false;
    Start->setFocus();
    Start->setText(QString::number(StartPoint));
    End->setText(QString::number(EndPoint));
    LastPoint = Target->Doc.PointCount() - 1;
    Target->MarkerAmplitude = AmplitudeCodes / 2;
    Target->MarkerOffset = MarkerOffsetCodes;
    Target->update();
}

int32_t THarmonicsForm::levelMode() const {
    return RadioButton1->isChecked() ? synthesis::AutoAdjustPkPk : synthesis::AsCalculated;
}

bool THarmonicsForm::takeRange() {
    const auto start = common::parseInt(Start->text().toStdString());
    const auto end = common::parseInt(End->text().toStdString());
    if (!start || !end) {
        platform::ui().message(common::cformat("The %s point \"%s\" is not a number.",
                                               !start ? "start" : "end",
                                               (!start ? Start : End)->text().toStdString().c_str()),
                               platform::Icon::Error, platform::ButtonOk, true);
        return false;
    }
    // Within the window, as the other generators' fields keep their range.
    StartPoint = platform::startOnExit(*start, LastPoint);
    EndPoint = platform::endOnExit(*end, StartPoint, LastPoint);
    Start->setText(QString::number(StartPoint));
    End->setText(QString::number(EndPoint));
    return true;
}

bool THarmonicsForm::numbersFit() {
    for (int k = 1; k <= kRows; ++k)
        for (auto [edit, column] :
             {std::pair{AmplitudeEdit[k - 1], "Amplitude"}, {PhaseEdit[k - 1], "Phase"}})
            if (!platform::numberFits(platform::FieldKind::UnsignedDecimal, edit->text().toStdString())) {
                RefuseTooLargeNumber(edit, QString("%1 %2").arg(column).arg(k));
                return false;
            }
    return true;
}

void THarmonicsForm::BPreviewClick() {
    if (!numbersFit() || !takeRange()) {
        LastError = -1;
        return; // not previewed: OK tries again once the range is mended
    }
    std::vector<synthesis::HarmonicRow> rows(kRows);
    for (int i = 0; i < kRows; ++i) {
        rows[i].enabled = CheckBox[i]->isChecked();
        rows[i].harmonic = platform::fieldInt(ComboBox[i]->currentText().toStdString());
        rows[i].amplitude = platform::fieldDecimal(AmplitudeEdit[i]->text().toStdString());
        rows[i].phase = platform::fieldDecimal(PhaseEdit[i]->text().toStdString());
    }
    const std::string expression = synthesis::harmonicsExpression(rows);
    LastError = GenerateFromTemplate(Target, expression, Start->text(), End->text(), AmplitudeCodes, 0,
                                     MidCode, levelMode());
    Previewed = true;
    platform::setScreenCursor(platform::ScreenCursor::Default);
    GeneratedExpr = expression;
}

void THarmonicsForm::BOkClick() {
    TWFMform* w = Target;
    if (!w)
        return;
    w->Doc.FileType = workspace::WaveFileType::Internal;
    if (!Previewed)
        BPreviewClick();
    TakeAwayPreviewLines(*w);
    if (LastError != 0)
        return;
    // The range the preview generated, though the fields may have been typed over since; the
    // amplitude and offset it used stand for the fields this dialog has not.
    AppendGeneration(*w, QString::number(StartPoint), QString::number(EndPoint),
                     QString::number(AmplitudeCodes), "0",
                     levelMode() == synthesis::AutoAdjustPkPk ? "2" : "0", GeneratedExpr);
    setModalResult(platform::mrOk);
}

void THarmonicsForm::CancelPath() {
    if (Target)
        Target->MarkerAmplitude = 0;
}

void THarmonicsForm::BCancelClick() {
    CancelPath();
    setModalResult(platform::mrCancel);
}
