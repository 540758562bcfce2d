#include "synthesis/forms/maths_dialogs.h"

#include "platform/numeric_field.h"
#include "platform/ui.h"
#include "synthesis/core/expression_errors.h"
#include "synthesis/forms/generator.h"
#include "workspace/forms/opdialog.h"
#include "workspace/forms/wfmchild.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

namespace plotwell::synthesis {

void WarnClipped() {
    platform::ui().message(kClippedWarning, platform::Icon::Warning, platform::ButtonOk, false);
}

bool NumberFits(platform::NumericField& field, const QString& fieldName) {
    if (field.fits())
        return true;
    RefuseTooLargeNumber(field.edit(), fieldName);
    return false;
}

QPushButton* NamedButton(QWidget* parent, const char* name, const char* text) {
    return platform::named(new QPushButton(QString::fromLatin1(text), parent), name);
}

QHBoxLayout* ButtonRow(std::initializer_list<QPushButton*> buttons, QPushButton* enter) {
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    for (QPushButton* b : buttons) {
        // Only `enter` is ever the default: a focused button must not take Enter over.
        b->setAutoDefault(b == enter);
        row->addWidget(b);
    }
    enter->setDefault(true);
    return row;
}

RangeFields::RangeFields(TOperationForm& dialog, QLineEdit* start, QLineEdit* end, ExitRule rule)
    : dialog_(dialog), start_(new platform::NumericField(start, {})),
      end_(new platform::NumericField(end, {})), rule_(rule) {
    const auto changed = [this] { dialog_.Changed = 1; };
    start_->onChange = changed;
    end_->onChange = changed;
    start_->onRelease = [this](bool) { ReleaseStart(dialog_, *start_); };
    end_->onRelease = [this](bool) { dialog_.EndPoint = end_->intValue(); };
    // A field losing the focus as the dialog closes is not an exit.
    start_->onExit = [this] {
        if (dialog_.isVisible() && LeaveStart(dialog_, *start_, rule_, LastPoint))
            putBack();
    };
    end_->onExit = [this] {
        if (dialog_.isVisible() && LeaveEnd(dialog_, *end_, rule_, LastPoint))
            putBack();
    };
}

void RangeFields::Activate() {
    LastPoint = dialog_.Target && dialog_.Target->Doc.SampleStream
                    ? dialog_.Target->Doc.SampleStream->lastIndex()
                    : -1;
    start_->show(dialog_.StartPoint);
    end_->show(dialog_.EndPoint);
}

PointRange RangeFields::TypedRange() const {
    return ClampRange(start_->intValue(), end_->intValue(), int64_t(LastPoint) + 1);
}

PointRange RangeFields::PointsRange() const {
    return ClampRange(dialog_.StartPoint, dialog_.EndPoint, int64_t(LastPoint) + 1);
}

// A new range starts from the samples as they were, without the last computation.
void RangeFields::putBack() {
    dialog_.RestoreSnapshot();
    if (dialog_.Target)
        dialog_.Target->ShowChangedSamples();
}

} // namespace plotwell::synthesis

namespace {
constexpr int kHelpContext = 10003;
} // namespace

TPreviewOperationForm::TPreviewOperationForm(const char* instanceName, QWidget* parent)
    : TOperationForm(instanceName, parent) {
    using plotwell::synthesis::NamedButton;
    OK = NamedButton(this, "OK", "OK");
    Cancel = NamedButton(this, "Cancel", "Cancel");
    Help = NamedButton(this, "Help", "Help");
    Preview = NamedButton(this, "Preview", "Preview");
    connect(Preview, &QPushButton::clicked, this, [this] { PreviewClick(); });
    connect(OK, &QPushButton::clicked, this, &TPreviewOperationForm::OKClick);
    connect(Cancel, &QPushButton::clicked, this, &TPreviewOperationForm::CancelClick);
    connect(Help, &QPushButton::clicked, this, &TPreviewOperationForm::HelpClick);
}

QHBoxLayout* TPreviewOperationForm::Buttons() {
    return plotwell::synthesis::ButtonRow({Preview, OK, Cancel, Help}, OK);
}

void TPreviewOperationForm::OKClick() {
    if (PreviewClick())
        setModalResult(plotwell::platform::mrOk);
}

void TPreviewOperationForm::CancelClick() {
    setModalResult(plotwell::platform::mrCancel);
}

void TPreviewOperationForm::HelpClick() {
    plotwell::platform::ui().showHelp(kHelpContext);
}
