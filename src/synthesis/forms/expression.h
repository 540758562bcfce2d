#pragma once
// The expression dialog. It holds the evaluation state (ExpressionContext) that every
// generator dialog fills, and the generation routine they all call.
//
//   expression_build.cpp  the form's components, their layout and names, and which
//                         handler answers which component
//   expression.cpp        the generation (GenerateWaveform) and the dialog's handlers:
//                         fields, preview, accept, and the window's generation history
//                         (recall and delete)

#include "synthesis/core/generation.h"
#include "workspace/forms/opdialog.h"

#include <cstdint>
#include <functional>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QMouseEvent;
class QPushButton;
class QRadioButton;
class TWFMform;

namespace plotwell::platform {
class NumericField;
}

class TExpressionForm : public TOperationDialog, public plotwell::synthesis::ExpressionContext {
    Q_OBJECT
public:
    explicit TExpressionForm(QWidget* parent = nullptr);

    // ---- generation ---------------------------------------------------------------------
    // What the generation reads besides ExpressionContext: the range as the Start and End
    // texts (leading decimal digits) and the expression as the text of Expr.
    QLineEdit* Start = nullptr;
    QLineEdit* End = nullptr;
    QComboBox* Expr = nullptr;

    // Evaluates Expr's text for every point of Start..End of `target` and writes the codes,
    // with MidCode, AmplitudeCodes, OffsetCodes, LevelMode, Gain and Shift as the caller set
    // them. Shows the progress window, the error, maths-error and clipping boxes; on success
    // redraws the window (and the overview when zoomed) and publishes its status. The
    // outcome is ErrorCode (0 = success); the busy cursor stays for the caller to restore.
    void GenerateWaveform(TWFMform* target);

    // ---- dialog -------------------------------------------------------------------------
    QLineEdit* Amplitude = nullptr;
    QLineEdit* Offset = nullptr;
    QRadioButton* AsCalculated = nullptr;
    QRadioButton* AutoAdjP = nullptr;
    QRadioButton* AutoAdjPP = nullptr;
    QLineEdit* EdExpr = nullptr;
    QListWidget* WfmList = nullptr;
    QFrame* ExprEditPnl = nullptr;
    QPushButton* BDelete = nullptr;
    QPushButton* BExit = nullptr;
    QLabel* DelHint = nullptr;
    QComboBox* Delbox = nullptr;
    QPushButton* BOK = nullptr;
    QPushButton* BCancel = nullptr;
    QPushButton* BPreview = nullptr;
    QPushButton* BLibrary = nullptr; // connected by the expression library
    QPushButton* BMoreinfo = nullptr;
    QPushButton* BHelp = nullptr;
    QPushButton* BExpDel = nullptr;
    QPushButton* Wfm = nullptr;
    // The summary of the language, shown by "More info..." (the form's tall height).
    QWidget* InfoPanel = nullptr;
    QLabel* PulseHint = nullptr;

    static constexpr int kHelpContext = 10001;
    // The form's two heights: the short one shows the fields, the tall one the summary too.
    static constexpr int kShortHeight = 164;
    static constexpr int kTallHeight = 350;
    int FormHeight() const;
    void SetFormHeight(int height);

    // Offset's sign fix (a key that found the text beginning with '-') is kept by its
    // field helper: NumericField::leadingMinus.
    int CaretPos = 0;
    uint8_t RestoreCaret = 0;

    // The numeric fields' handlers; their key filters, Offset's sign toggle and repair and
    // the click that selects all are the field helpers'.
    void FieldClick();
    void FieldChange();
    void StartKeyUp();
    void EndKeyUp();
    void AmplitudeKeyUp();
    void OffsetKeyUp();
    void StartExit();
    void EndExit();
    void AmplitudeExit();
    void OffsetExit();
    void LevelModeClick(int mode);
    void ExprClick(int index);
    void BPreviewClick();
    void BOKClick();
    void BCancelClick();
    void WfmClick();
    void WfmListClick(QListWidgetItem* item);
    void BHelpClick();
    void BMoreinfoClick();
    void BExpDelClick();
    void BExitClick();
    void BDeleteClick();

    // The driver's fields live in the ExpressionContext.
    DriverFields driverFields() override;
    bool DriverBeforeShow() override;

protected:
    void FormActivate() override;
    void CancelPath() override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void buildDialog();
    void connectHandlers();
    // The window the dialog acts on.
    TWFMform* window() const;
    // Puts the snapshot back, redraws the window and publishes its status.
    void putBackAndShow();
    void exitField(plotwell::platform::NumericField& field, const std::function<int32_t(int32_t)>& apply);

    plotwell::platform::NumericField* startField_ = nullptr;
    plotwell::platform::NumericField* endField_ = nullptr;
    plotwell::platform::NumericField* amplitudeField_ = nullptr;
    plotwell::platform::NumericField* offsetField_ = nullptr;
};

extern TExpressionForm* ExpressionForm;
