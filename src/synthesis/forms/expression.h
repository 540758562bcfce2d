#pragma once
// The expression dialog. It holds the evaluation state (ExpressionContext) that every
// generator dialog fills, and the generation routine they all call.
//
//   expression.cpp   the form, and the generation (GenerateWaveform)

#include "platform/form.h"
#include "synthesis/core/generation.h"

class QComboBox;
class QLineEdit;
class TWFMform;

class TExpressionForm : public plotwell::platform::Form, public plotwell::synthesis::ExpressionContext {
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
};

extern TExpressionForm* ExpressionForm;
