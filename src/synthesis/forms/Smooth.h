#pragma once
// The smoothing dialog: a centred moving average over an odd number of points between a
// start and an end point. Each Apply smooths the samples as they stand; Undo goes back to
// the samples from before the dialog opened.
#include "synthesis/forms/maths_dialogs.h"

#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;

namespace plotwell::platform {
class NumericField;
}

class TSmoothForm : public TOperationForm {
    Q_OBJECT
public:
    explicit TSmoothForm(QWidget* parent = nullptr);
    ~TSmoothForm() override;

    // The width asked for, kept between uses; an Apply stores the width it used.
    int32_t PointsToAverage = 7;
    int32_t LastPoint = 0;

    // ---- components -----------------------------------------------------------------
    QLineEdit* Points = nullptr;
    QLineEdit* Start = nullptr;
    QLineEdit* End = nullptr;
    QPushButton* BApply = nullptr;
    QPushButton* BUndo = nullptr;
    QPushButton* BOK = nullptr;
    QPushButton* BCancel = nullptr;

    void BApplyClick();
    void BUndoClick();
    void BOKClick();
    void BCancelClick();
    void PointsKeyUp();
    void PointsExit();

protected:
    void FormActivate() override;

private:
    void enableAnswer(bool on);

    // Apply and OK refuse a width too large to hold, naming the field by its label.
    bool pointsFit();

    plotwell::platform::NumericField* pointsField_ = nullptr;
    QLabel* pointsLabel_ = nullptr;
    std::unique_ptr<plotwell::synthesis::RangeFields> range_;
};

extern TSmoothForm* SmoothForm;
