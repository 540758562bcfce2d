// The expression dialog's components: creation, names, layout, and the wiring of each
// component to its handler. The handlers are in expression.cpp.

#include "synthesis/forms/expression.h"

#include "platform/numeric_field.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <iterator>

using namespace plotwell;

TExpressionForm* ExpressionForm = nullptr;

TExpressionForm::TExpressionForm(QWidget* parent) : TOperationDialog("ExpressionForm", parent) {
    setHelpContext(kHelpContext);
    buildDialog();
    connectHandlers();
}

namespace {

const char* const kSummary[] = {
    "+  Add",
    "-  Subtract",
    "*  Multiply",
    "/  Divide",
    "^  Power",
    "sin(x)  cos(x)",
    "asin(x)  acos(x)",
    "exp(x)  sqrt(x)",
    "log(x)  ln(x)",
    "abs(x)",
    "floor(x)  ceil(x)",
    "pi = 3.141...",
    "e  =  2.718...",
    "amp = amplitude/2",
    "per   = end pt - start pt +1",
    "f       = 1/per",
    "omg = 2*pi*f",
    "p or t = point number (or time)",
    "rnd   = a random number between -1 and +1",
    "wfm(...) = point value from specified waveform",
    "ecg(...) Cardiac waveform generator",
};

// The range, amplitude and offset fields take at most 7 typed characters.
constexpr int kFieldLimit = 7;

QPushButton* button(QWidget* parent, const char* name, const char* text) {
    return platform::named(new QPushButton(text, parent), name);
}

QLineEdit* input(QWidget* parent, const char* name, const char* text = "") {
    auto* e = new QLineEdit(text, parent);
    platform::nameInput(e, name);
    return e;
}

} // namespace

void TExpressionForm::buildDialog() {
    Start = input(this, "Start");
    End = input(this, "End");
    Expr = new QComboBox(this);
    Expr->setEditable(true);
    platform::nameInput(Expr, "Expr");
    Amplitude = input(this, "Amplitude");
    Offset = input(this, "Offset", "0");
    EdExpr = input(this, "EdExpr");
    AsCalculated = new QRadioButton("As calculated", this);
    AutoAdjP = new QRadioButton("Auto adjust peak", this);
    AutoAdjPP = new QRadioButton("Auto adjust pk-pk", this);
    platform::nameInput(AsCalculated, "AsCalculated");
    platform::nameInput(AutoAdjP, "AutoAdjP");
    platform::nameInput(AutoAdjPP, "AutoAdjPP");
    AsCalculated->setChecked(true);
    WfmList = new QListWidget(this);
    platform::nameInput(WfmList, "WfmList");
    WfmList->hide();
    BOK = button(this, "BOK", "OK");
    BCancel = button(this, "BCancel", "Cancel");
    BPreview = button(this, "BPreview", "Preview");
    BLibrary = button(this, "BLibrary", "Library...");
    BMoreinfo = button(this, "BMoreinfo", "More info...");
    BHelp = button(this, "BHelp", "Help");
    BExpDel = button(this, "BExpDel", "Expression del");
    Wfm = button(this, "Wfm", "Wfm(...)");
    for (QPushButton* b : {BOK, BCancel, BPreview, BLibrary, BMoreinfo, BHelp, BExpDel, Wfm})
        b->setAutoDefault(false);

    // The history panel: deleting entries of the drop-down.
    ExprEditPnl = platform::named(new QFrame(this), "ExprEditPnl");
    ExprEditPnl->setFrameShape(QFrame::StyledPanel);
    DelHint = platform::named(
        new QLabel(
            "To clear an expression from the drop down list first select it then click the Delete button",
            ExprEditPnl),
        "DelHint");
    DelHint->setWordWrap(true);
    BDelete = button(ExprEditPnl, "BDelete", "Delete");
    BExit = button(ExprEditPnl, "BExit", "Exit");
    // Enter in the expression line must not press Delete.
    BDelete->setAutoDefault(false);
    BExit->setAutoDefault(false);
    Delbox = new QComboBox(ExprEditPnl);
    platform::nameInput(Delbox, "Delbox");
    Delbox->hide();
    auto* pnl = new QHBoxLayout(ExprEditPnl);
    pnl->addWidget(DelHint, 1);
    pnl->addWidget(BDelete);
    pnl->addWidget(BExit);
    ExprEditPnl->hide();

    // The summary of the language.
    InfoPanel = platform::named(new QWidget(this), "InfoPanel");
    auto* info = new QGridLayout(InfoPanel);
    info->setContentsMargins(0, 0, 0, 0);
    const int count = int(std::size(kSummary));
    const int rows = (count + 1) / 2;
    for (int i = 0; i < count; ++i)
        info->addWidget(new QLabel(kSummary[i], InfoPanel), i % rows, i / rows);
    PulseHint = platform::named(new QLabel("pulse(dly,rise,hi,fall,cycl) = pulse/ramp generator", InfoPanel),
                                "PulseHint");
    info->addWidget(PulseHint, rows, 0, 1, 2);
    InfoPanel->hide();

    // Layout: the expression and its history above, the range, level and buttons below.
    auto* top = new QVBoxLayout(this);
    auto* exprRow = new QHBoxLayout;
    exprRow->addWidget(new QLabel("Expression", this));
    exprRow->addWidget(EdExpr, 1);
    exprRow->addWidget(Wfm);
    top->addLayout(exprRow);
    auto* historyRow = new QHBoxLayout;
    historyRow->addWidget(new QLabel("History", this));
    historyRow->addWidget(Expr, 1);
    BExpDel->setMinimumWidth(BExpDel->sizeHint().width()); // its caption is never cut
    historyRow->addWidget(BExpDel);
    top->addLayout(historyRow);
    top->addWidget(ExprEditPnl);
    top->addWidget(WfmList);
    auto* middle = new QHBoxLayout;
    auto* fields = new QGridLayout;
    const std::pair<const char*, QLineEdit*> labelled[] = {
        {"Start", Start}, {"End", End}, {"Amplitude", Amplitude}, {"Offset", Offset}};
    int column = 0;
    for (const auto& [text, edit] : labelled) {
        fields->addWidget(new QLabel(text, this), 0, column);
        fields->addWidget(edit, 1, column++);
        edit->setMaximumWidth(80);
    }
    middle->addLayout(fields);
    auto* levels = new QVBoxLayout;
    levels->addWidget(AsCalculated);
    levels->addWidget(AutoAdjP);
    levels->addWidget(AutoAdjPP);
    middle->addLayout(levels);
    top->addLayout(middle);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {BOK, BCancel, BPreview, BLibrary, BMoreinfo, BHelp})
        buttons->addWidget(b);
    top->addLayout(buttons);
    top->addWidget(InfoPanel);
    top->setSizeConstraint(QLayout::SetFixedSize);
    setMouseTracking(true);
}

void TExpressionForm::connectHandlers() {
    using platform::FieldKind;
    using platform::NumericField;
    const auto field = [this](QLineEdit* edit, FieldKind kind, void (TExpressionForm::*keyUp)(),
                              void (TExpressionForm::*exit)()) {
        auto* f = new NumericField(edit, {.kind = kind, .typedLimit = kFieldLimit});
        f->onClick = [this] { FieldClick(); };
        f->onChange = [this] { FieldChange(); };
        f->onRelease = [this, keyUp](bool) { (this->*keyUp)(); };
        f->onExit = [this, exit] { (this->*exit)(); };
        return f;
    };
    startField_ =
        field(Start, FieldKind::UnsignedInteger, &TExpressionForm::StartKeyUp, &TExpressionForm::StartExit);
    endField_ = field(End, FieldKind::UnsignedInteger, &TExpressionForm::EndKeyUp, &TExpressionForm::EndExit);
    amplitudeField_ = field(Amplitude, FieldKind::UnsignedInteger, &TExpressionForm::AmplitudeKeyUp,
                            &TExpressionForm::AmplitudeExit);
    offsetField_ =
        field(Offset, FieldKind::SignedInteger, &TExpressionForm::OffsetKeyUp, &TExpressionForm::OffsetExit);

    EdExpr->installEventFilter(this);
    Expr->installEventFilter(this);
    if (Expr->lineEdit())
        Expr->lineEdit()->installEventFilter(this);
    connect(EdExpr, &QLineEdit::textChanged, this, [this] {
        Changed = 1;
        Previewed = 0;
    });
    connect(AsCalculated, &QRadioButton::clicked, this, [this] { LevelModeClick(0); });
    connect(AutoAdjP, &QRadioButton::clicked, this, [this] { LevelModeClick(1); });
    connect(AutoAdjPP, &QRadioButton::clicked, this, [this] { LevelModeClick(2); });
    connect(Expr, qOverload<int>(&QComboBox::activated), this, &TExpressionForm::ExprClick);
    connect(BPreview, &QPushButton::clicked, this, &TExpressionForm::BPreviewClick);
    connect(BOK, &QPushButton::clicked, this, &TExpressionForm::BOKClick);
    connect(BCancel, &QPushButton::clicked, this, &TExpressionForm::BCancelClick);
    connect(Wfm, &QPushButton::clicked, this, &TExpressionForm::WfmClick);
    connect(WfmList, &QListWidget::itemClicked, this, &TExpressionForm::WfmListClick);
    connect(BHelp, &QPushButton::clicked, this, &TExpressionForm::BHelpClick);
    connect(BMoreinfo, &QPushButton::clicked, this, &TExpressionForm::BMoreinfoClick);
    connect(BExpDel, &QPushButton::clicked, this, &TExpressionForm::BExpDelClick);
    connect(BExit, &QPushButton::clicked, this, &TExpressionForm::BExitClick);
    connect(BDelete, &QPushButton::clicked, this, &TExpressionForm::BDeleteClick);
}
