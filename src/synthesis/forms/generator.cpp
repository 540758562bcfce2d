#include "synthesis/forms/generator.h"

#include "common/numtext.h"
#include "platform/qstring.h"
#include "platform/screen_cursor.h"
#include "platform/ui.h"
#include "synthesis/forms/expression.h"
#include "synthesis/forms/range_exits.h"
#include "workspace/forms/wfmchild.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace plotwell;
using platform::FieldKind;
using platform::NumericField;

int32_t GenerateFromTemplate(TWFMform* target, const std::string& expression, const QString& start,
                             const QString& end, int32_t amplitudeCodes, int32_t offsetCodes, int32_t midCode,
                             int32_t levelMode) {
    TExpressionForm& x = *ExpressionForm;
    if (expression.size() > synthesis::kMaxGeneratedExpression) {
        // Typed or pasted numbers too long for the expression: nothing is cut behind the
        // user's back, and nothing is generated.
        platform::ui().message(common::cformat("The numbers entered make an expression of %zu characters.\n"
                                               "An expression holds at most %zu characters.",
                                               expression.size(), synthesis::kMaxGeneratedExpression),
                               platform::Icon::Error, platform::ButtonOk, true);
        x.ErrorCode = -1;
        return x.ErrorCode;
    }
    x.Expr->setEditText(QString::fromLatin1(expression.data(), qsizetype(expression.size())));
    x.Gain = 1.0;
    x.Shift = 0.0;
    x.AmplitudeCodes = amplitudeCodes;
    x.OffsetCodes = offsetCodes;
    x.Start->setText(start);
    x.End->setText(end);
    x.MidCode = midCode;
    x.LevelMode = levelMode;
    (levelMode == synthesis::AutoAdjustPkPk ? x.AutoAdjPP : x.AsCalculated)->setChecked(true);
    x.GenerateWaveform(target);
    return x.ErrorCode;
}

void AppendGeneration(TWFMform& w, const QString& start, const QString& end, const QString& amplitude,
                      const QString& offset, const char* levelMode, const std::string& expression) {
    w.Doc.GenerationHistory.push_back({start.toStdString(), end.toStdString(), amplitude.toStdString(),
                                       offset.toStdString(), levelMode, expression});
}

void TakeAwayPreviewLines(TWFMform& w) {
    w.MarkerAmplitude = 0;
    w.ShowChangedSamples();
}

void RefuseTooLargeNumber(QLineEdit* edit, const QString& fieldName) {
    platform::ui().message(
        common::cformat("The number in \"%s\" is too large.", fieldName.toLatin1().constData()),
        platform::Icon::Error, platform::ButtonOk, true);
    edit->setFocus();
}

// ---- building ---------------------------------------------------------------------------

TGeneratorForm::TGeneratorForm(const char* instanceName, const char* caption, Style style, QWidget* parent)
    : TOperationForm(instanceName, parent), style_(style) {
    setHelpContext(kHelpContext);
    buildCommon(caption);
}

void TGeneratorForm::buildCommon(const char* caption) {
    setWindowTitle(QString::fromLatin1(caption));
    setSwallowEscape(!style_.escapeCancels);

    auto* top = new QVBoxLayout(this);
    auto* columns = new QHBoxLayout;
    auto* common = new QGridLayout;
    fields_ = new QGridLayout;
    // Each column keeps its fields at the top, however long the other one is.
    for (QGridLayout* grid : {common, fields_}) {
        auto* column = new QVBoxLayout;
        column->addLayout(grid);
        column->addStretch(1);
        if (grid != common)
            columns->addSpacing(16);
        columns->addLayout(column);
    }
    top->addLayout(columns);
    top->addStretch(1);

    // The common fields go in the left column; the dialog's own in the right one.
    QGridLayout* own = fields_;
    fields_ = common;
    StartField = addField("Start", "Start point", FieldKind::UnsignedInteger);
    EndField = addField("End", "End point", FieldKind::UnsignedInteger);
    AmplitudeField = addField("Amplitude", "Amplitude", FieldKind::UnsignedInteger);
    OffsetField = addField("Offset", "Offset", FieldKind::SignedInteger);
    fields_ = own;
    Start = StartField->edit();
    End = EndField->edit();
    Amplitude = AmplitudeField->edit();
    Offset = OffsetField->edit();

    StartField->onRelease = [this](bool) {
        // A start beyond the end is pulled down to the end at once; the field stays edited.
        if (synthesis::ReleaseStart(*this, *StartField))
            StartField->setModified(true);
    };
    EndField->onRelease = [this](bool) { EndPoint = EndField->intValue(); };
    AmplitudeField->onRelease = [this](bool) { AmplitudeCodes = AmplitudeField->intValue(); };
    StartField->onExit = [this] { StartExit(); };
    EndField->onExit = [this] { EndExit(); };
    AmplitudeField->onExit = [this] { AmplitudeExit(); };
    OffsetField->onExit = [this] { OffsetExit(); };

    auto button = [this](const char* name, const char* text) {
        auto* b = platform::named(new QPushButton(text, this), name);
        // Enter never presses a button behind the fields' backs.
        b->setAutoDefault(false);
        return b;
    };
    BOk = button("BOk", "Ok");
    BCancel = button("BCancel", "Cancel");
    BPreview = button("BPreview", "Preview");
    BDefault = button("BDefault", "Default");
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {BOk, BCancel, BPreview, BDefault})
        buttons->addWidget(b);
    top->addLayout(buttons);
    connect(BOk, &QPushButton::clicked, this, [this] { BOkClick(); });
    connect(BCancel, &QPushButton::clicked, this, [this] { BCancelClick(); });
    connect(BPreview, &QPushButton::clicked, this, [this] { BPreviewClick(); });
    connect(BDefault, &QPushButton::clicked, this, [this] { BDefaultClick(); });
}

NumericField* TGeneratorForm::addField(const char* name, const char* label, FieldKind kind) {
    auto* edit = new QLineEdit(this);
    platform::nameInput(edit, name);
    const int row = fields_->rowCount();
    auto* caption = new QLabel(QString::fromLatin1(label), this);
    caption->setBuddy(edit);
    fields_->addWidget(caption, row, 0);
    fields_->addWidget(edit, row, 1);
    auto* field = new NumericField(edit, {.kind = kind, .typedLimit = style_.typedLimit});
    field->onChange = [this, field] {
        if (field->isModified())
            fieldChanged();
    };
    return field;
}

NumericField* TGeneratorForm::addDecimal(const char* name, const char* label, bool isSigned, double* value) {
    NumericField* field =
        addField(name, label, isSigned ? FieldKind::SignedDecimal : FieldKind::UnsignedDecimal);
    field->onExit = [this, field, value] {
        // A number too large stays as typed, for Preview and OK to refuse.
        if (!Target || closing_ || !field->fits())
            return;
        *value = field->decimalValue();
        field->show(*value);
    };
    return field;
}

NumericField* TGeneratorForm::addCount(const char* name, const char* label, int32_t* value,
                                       int32_t zeroBecomes) {
    NumericField* field = addField(name, label, FieldKind::UnsignedInteger);
    field->onRelease = [field, value, zeroBecomes](bool) {
        *value = field->intValue();
        if (zeroBecomes != 0) {
            if (*value == 0)
                *value = zeroBecomes;
            if (field->edit()->text() != QString::number(*value) && field->fits())
                field->show(*value);
        }
    };
    field->onExit = [this, field, value] {
        if (Target && !closing_ && field->fits())
            field->show(*value);
    };
    return field;
}

QLabel* TGeneratorForm::captionOf(const QLineEdit* edit) const {
    for (QLabel* l : findChildren<QLabel*>())
        if (l->buddy() == edit)
            return l;
    return nullptr;
}

void TGeneratorForm::hideField(QLineEdit* edit) {
    edit->setEnabled(false);
    edit->hide();
    if (QLabel* caption = captionOf(edit))
        caption->hide();
}

QCheckBox* TGeneratorForm::addCheck(const char* name, const char* label) {
    auto* box = new QCheckBox(QString::fromLatin1(label), this);
    platform::nameInput(box, name);
    fields_->addWidget(box, fields_->rowCount(), 0, 1, 2);
    return box;
}

void TGeneratorForm::makesPreviewStale(QCheckBox* box) {
    connect(box, &QCheckBox::clicked, this, [this] { Previewed = false; });
}

// ---- the fields -------------------------------------------------------------------------

void TGeneratorForm::fieldChanged() {
    Changed = 1;
    Previewed = false;
}

bool TGeneratorForm::numbersFit() {
    for (NumericField* field : findChildren<NumericField*>()) {
        QLineEdit* edit = field->edit();
        if (!edit->isEnabled() || field->fits())
            continue;
        const QLabel* caption = captionOf(edit);
        RefuseTooLargeNumber(edit, caption ? caption->text().simplified() : edit->objectName());
        return false;
    }
    return true;
}

void TGeneratorForm::placeLines() {
    if (!Target)
        return;
    const synthesis::PreviewLines l = Lines();
    Target->MarkerAmplitude = l.amplitude;
    Target->MarkerOffset = l.offset;
}

void TGeneratorForm::restoreAndMoveLines() {
    if (!Target)
        return;
    RestoreSnapshot();
    placeLines();
    Target->update();
    Target->PublishStatus();
}

synthesis::PreviewLines TGeneratorForm::Lines() const {
    return synthesis::symmetricLines(AmplitudeCodes, OffsetCodes);
}

void TGeneratorForm::exitEdited(NumericField* field, const std::function<int32_t(int32_t)>& apply) {
    if (!Target || closing_ || !field->fits())
        return;
    const auto typed = field->takeEdit();
    if (!typed)
        return;
    field->show(apply(*typed));
    restoreAndMoveLines();
}

void TGeneratorForm::StartExit() {
    if (Target && !closing_ &&
        synthesis::LeaveStart(*this, *StartField, synthesis::ExitRule::WhenModified, LastPoint))
        restoreAndMoveLines();
}

void TGeneratorForm::EndExit() {
    if (Target && !closing_ &&
        synthesis::LeaveEnd(*this, *EndField, synthesis::ExitRule::WhenModified, LastPoint))
        restoreAndMoveLines();
}

void TGeneratorForm::AmplitudeExit() {
    exitEdited(AmplitudeField, [this](int32_t typed) { return AmplitudeCodes = typed; });
}

void TGeneratorForm::OffsetExit() {
    exitEdited(OffsetField, [this](int32_t typed) { return OffsetCodes = typed; });
}

// ---- activation, preview and the buttons --------------------------------------------------

void TGeneratorForm::ActivateLevels() {
    if (Target->Zoomed) {
        // The zoomed band is what the user looks at: propose it.
        AmplitudeCodes = Target->ViewMax - Target->ViewMin;
        OffsetCodes = (Target->ViewMax - Target->ViewMin) / 2 + Target->ViewMin;
    } else {
        AmplitudeCodes = 2 * MidCode - 1;
    }
}

void TGeneratorForm::FormActivate() {
    if (!Target)
        return;
    ActivateLevels();
    Changed = 1;
    Previewed = false;
    Start->setFocus();
    OffsetField->show(OffsetCodes);
    AmplitudeField->show(AmplitudeCodes);
    StartField->show(StartPoint);
    EndField->show(EndPoint);
    ActivateOwn();
    LastPoint = Target->Doc.PointCount() - 1;
    placeLines();
    Target->update();
}

void TGeneratorForm::BPreviewClick() {
    if (!numbersFit()) {
        LastError = -1;
        return; // not previewed: OK refuses the same number again
    }
    GeneratedExpr = FormatTemplate();
    LastError = GenerateFromTemplate(Target, GeneratedExpr, Start->text(), End->text(), AmplitudeCodes,
                                     OffsetCodes, MidCode, LevelModeValue());
    // Also after an error: OK does not try the same parameters again.
    Previewed = true;
    platform::setScreenCursor(platform::ScreenCursor::Default);
}

void TGeneratorForm::OkExits() {
    StartExit();
    EndExit();
    AmplitudeExit();
    OffsetExit();
}

void TGeneratorForm::BOkClick() {
    TWFMform* w = Target;
    if (!w)
        return;
    OkExits();
    w->Doc.FileType = workspace::WaveFileType::Internal;
    if (!Previewed)
        BPreviewClick();
    TakeAwayPreviewLines(*w);
    if (LastError != 0)
        return; // the dialog stays open for the user to mend the parameters
    const std::string mode = common::cformat("%d", LevelModeValue());
    AppendGeneration(*w, Start->text(), End->text(), Amplitude->text(), Offset->text(), mode.c_str(),
                     GeneratedExpr);
    if (ClearsBitPattern())
        w->Doc.IsBitPattern = 0;
    ExpressionForm->Expr->setEditText(QString());
    ExpressionForm->EdExpr->clear();
    setModalResult(platform::mrOk);
}

void TGeneratorForm::CancelPath() {
    if (Target)
        Target->MarkerAmplitude = 0;
}

void TGeneratorForm::done(int result) {
    closing_ = true;
    TOperationForm::done(result);
    closing_ = false;
}

void TGeneratorForm::BCancelClick() {
    CancelPath();
    setModalResult(platform::mrCancel);
}

void TGeneratorForm::BDefaultClick() {
    if (!Target)
        return;
    Changed = 1;
    Previewed = false;
    OffsetCodes = 0;
    StartPoint = Target->Doc.SelectionStart;
    EndPoint = Target->Doc.SelectionEnd;
    DefaultOwn();
    FormActivate();
    BPreviewClick();
}
