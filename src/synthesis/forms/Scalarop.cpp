#include "synthesis/forms/Scalarop.h"

#include "platform/numeric_field.h"
#include "platform/posix/folders.h"
#include "platform/qstring.h"
#include "platform/screen_cursor.h"
#include "synthesis/core/sample_maths.h"
#include "workspace/forms/wfmchild.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

using namespace plotwell;

TScalaropdlg* Scalaropdlg = nullptr;

TScalaropdlg::TScalaropdlg(QWidget* parent) : TPreviewOperationForm("Scalaropdlg", parent) {
    setWindowTitle("Add scalar");
    auto* grid = new QGridLayout(this);
    auto edit = [this](const char* name, const char* text) {
        auto* e = new QLineEdit(QString::fromLatin1(text), this);
        platform::nameInput(e, name);
        return e;
    };
    Wave1 = edit("Wave1", "");
    Wave1->setReadOnly(true);
    Wave1->setFocusPolicy(Qt::NoFocus);
    Operand = platform::named(new QLabel("+", this), "Operand");
    Operand->setAlignment(Qt::AlignCenter);
    Scalar = edit("Scalar", "0.00");
    Start = edit("Start", "0");
    End = edit("End", "0");
    grid->addWidget(Wave1, 0, 0);
    grid->addWidget(Operand, 0, 1);
    grid->addWidget(Scalar, 0, 2);
    grid->addWidget(new QLabel("Start point", this), 1, 0);
    grid->addWidget(Start, 1, 2);
    grid->addWidget(new QLabel("End point", this), 2, 0);
    grid->addWidget(End, 2, 2);

    scalarField_ = new platform::NumericField(Scalar, {.kind = platform::FieldKind::SignedDecimal});
    scalarField_->onExit = [this] {
        if (isVisible())
            ScalarExit();
    };
    range_ =
        std::make_unique<synthesis::RangeFields>(*this, Start, End, synthesis::RangeFields::ExitRule::Always);
    grid->addLayout(Buttons(), 3, 0, 1, 3);
}

TScalaropdlg::~TScalaropdlg() = default;

void TScalaropdlg::FormActivate() {
    Changed = 1;
    Operand->setText(ScalarOp == 1 ? "x" : "+");
    setWindowTitle(ScalarOp == 1 ? "Multiply by scalar" : "Add scalar");
    Wave1->setText(Target ? platform::toQString(platform::fileNameOnly(Target->Doc.WaveName)) : QString());
    Scalar->setFocus();
    range_->Activate();
    LastPoint = range_->LastPoint;
}

void TScalaropdlg::ScalarExit() {
    // A number too large stays as typed, for Preview and OK to refuse.
    if (!scalarField_->fits())
        return;
    ScalarValue = scalarField_->decimalValue();
    scalarField_->show(ScalarValue);
}

bool TScalaropdlg::PreviewClick() {
    if (!Target || !Target->Doc.SampleStream)
        return true;
    if (!synthesis::NumberFits(*scalarField_, Scalar->objectName()))
        return false;
    // Enter on OK computes without leaving the constant's field: take what it shows.
    if (Scalar->isModified())
        ScalarExit();
    bool clipped;
    {
        platform::BusyCursor busy;
        clipped = synthesis::ApplyScalar(
            SavedSamples.codes(), Target->Doc.SampleStream->codes(), range_->TypedRange(), MidCode,
            ScalarOp == 1 ? synthesis::ScalarOp::Multiply : synthesis::ScalarOp::Add, ScalarValue);
    }
    if (clipped)
        synthesis::WarnClipped();
    Target->ShowChangedSamples();
    return true;
}
