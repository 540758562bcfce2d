#pragma once
// The scalar dialog: adds a constant to, or multiplies by a constant, the points of a
// window between a start and an end point, always from the samples as they were before
// the dialog opened, so Preview can be pressed any number of times.
#include "synthesis/forms/maths_dialogs.h"

#include <memory>

class QLabel;
class QLineEdit;

namespace plotwell::platform {
class NumericField;
}

class TScalaropdlg : public TPreviewOperationForm {
    Q_OBJECT
public:
    explicit TScalaropdlg(QWidget* parent = nullptr);
    ~TScalaropdlg() override;

    // 0 add, 1 multiply; set by the menu item before the driver runs.
    int ScalarOp = 0;
    // The constant, read from Scalar when it is left; kept between uses with its text.
    double ScalarValue = 0.0;
    int32_t LastPoint = 0;

    // ---- components -----------------------------------------------------------------
    QLineEdit* Wave1 = nullptr;
    QLineEdit* Scalar = nullptr;
    QLabel* Operand = nullptr;
    QLineEdit* Start = nullptr;
    QLineEdit* End = nullptr;

    bool PreviewClick() override;
    void ScalarExit();

protected:
    void FormActivate() override;

private:
    plotwell::platform::NumericField* scalarField_ = nullptr;
    std::unique_ptr<plotwell::synthesis::RangeFields> range_;
};

extern TScalaropdlg* Scalaropdlg;
