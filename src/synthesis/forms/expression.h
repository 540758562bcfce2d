#pragma once
// The expression dialog. It holds the evaluation state (ExpressionContext) that every
// generator dialog fills, and the generation routine they all call.
//
//   expression.cpp   the form, the generation (GenerateWaveform), and the dialog: preview,
//                    accept, and the window's generation history (recall and delete)

#include "synthesis/core/generation.h"
#include "workspace/forms/opdialog.h"

#include <cstdint>
#include <functional>

class QComboBox;
class QFrame;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QMouseEvent;
class QPushButton;
class QRadioButton;
class TWFMform;

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

    uint8_t OffsetSignFix = 0;
    int CaretPos = 0;
    uint8_t RestoreCaret = 0;

    void StartExit();
    void EndExit();
    void AmplitudeExit();
    void OffsetExit();
    void OffsetKeyPress(QKeyEvent* key);
    void OffsetKeyUp();
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
    // The window the dialog acts on.
    TWFMform* window() const;
    // A user edit of a range, amplitude or offset field.
    void fieldEdited();
    // Puts the snapshot back, redraws the window and publishes its status.
    void putBackAndShow();
    void exitField(QLineEdit* field, const std::function<int32_t(int32_t)>& apply);
};

extern TExpressionForm* ExpressionForm;
