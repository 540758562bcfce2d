#pragma once
// The selection-limits dialog: the user types or steps the start and end point of a
// window's selection and sees the values there and the length. It answers 2 for OK,
// 1 for Cancel (also Escape and the close box) and 3 for Apply; its caller applies the
// limits on 2 and 3 and shows it again after 3.
#include "platform/form.h"
#include "workspace/core/sample_stream.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace plotwell::platform {
class NumericField;
}

class TSelectDialog : public plotwell::platform::Form {
    Q_OBJECT
public:
    explicit TSelectDialog(QWidget* parent = nullptr);

    enum Answer { AnswerCancel = 1, AnswerOk = 2, AnswerApply = 3 };

    // ---- fields the caller fills before each showing -------------------------------
    int PointCount = 0;
    int LastAnswer = 0; // the previous answer, 0 before the first use
    bool UnsignedDisplay = false;
    bool StartEditedLast = false;
    int StartPoint = 0, EndPoint = 0;
    // A copy of the window's samples, made and freed by the caller; only read here.
    const plotwell::workspace::SampleStream* SavedSamples = nullptr;

    // ---- components -----------------------------------------------------------------
    QLineEdit* xStart = nullptr;
    QLineEdit* xEnd = nullptr;
    QWidget* UpDownStart = nullptr; // children "Up" and "Down"
    QWidget* UpDownEnd = nullptr;
    QLabel* yStartData = nullptr;
    QLabel* yEndData = nullptr;
    QLabel* Length = nullptr;
    QPushButton* bnApply = nullptr;
    QPushButton* bnOK = nullptr;
    QPushButton* bnCancel = nullptr;

    void UpdateLimits();
    void ClampLimits();

    void bnOKClick();
    void bnApplyClick();
    void bnCancelClick();
    // `numberKey`: the released key was a digit or backspace.
    void xStartKeyUp(bool numberKey);
    void xEndKeyUp(bool numberKey);
    void xStartExit();
    void xEndExit();
    void UpDownStartClick(bool up);
    void UpDownEndClick(bool up);

protected:
    void FormActivate() override;

private:
    void enableButtons();
    int lastPoint() const { return PointCount - 1; }
    std::string valueText(int point) const;

    plotwell::platform::NumericField* startField_ = nullptr;
    plotwell::platform::NumericField* endField_ = nullptr;
};

extern TSelectDialog* SelectDialog;
