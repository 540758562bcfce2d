#pragma once
// What the generator dialogs share: the range, amplitude and offset fields with their
// handlers, the two preview lines on the window, Preview, OK, Cancel and Default, and the
// history entry. A dialog adds its own fields and says how its parameters become an
// expression (synthesis/core/generator_templates.h); the generation itself is the
// expression dialog's.
//
// The frame's driver prepares a request (the window, the snapshot, the range, the mid
// code), the show runs the activation, and OK or Cancel ends it; the driver then keeps the
// samples or puts the snapshot back.

#include "platform/numeric_field.h"
#include "synthesis/core/generator_templates.h"
#include "workspace/forms/opdialog.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <string>

class QCheckBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class TWFMform;

// Hands `expression` to the expression dialog's generation over the range texts `start`
// and `end` of `target`, with the amplitude and offset in codes, the mid code and the level
// mode. A text longer than the generation takes is refused with a message. Returns the
// outcome: 0 when every point was written.
int32_t GenerateFromTemplate(TWFMform* target, const std::string& expression, const QString& start,
                             const QString& end, int32_t amplitudeCodes, int32_t offsetCodes, int32_t midCode,
                             int32_t levelMode);

// Records one generation in `target`'s history.
void AppendGeneration(TWFMform& target, const QString& start, const QString& end, const QString& amplitude,
                      const QString& offset, const char* levelMode, const std::string& expression);

// OK's end of the preview: the lines go, the window (and the overview when zoomed) is
// redrawn and its status published.
void TakeAwayPreviewLines(TWFMform& target);

// A number too large for the program to hold is refused, never cut: the message names the
// field, which gets the focus.
void RefuseTooLargeNumber(QLineEdit* edit, const QString& fieldName);

class TGeneratorForm : public TOperationForm {
    Q_OBJECT
public:
    static constexpr int kHelpContext = 10006;

    QLineEdit* Start = nullptr;
    QLineEdit* End = nullptr;
    QLineEdit* Amplitude = nullptr;
    QLineEdit* Offset = nullptr;
    QPushButton* BOk = nullptr;
    QPushButton* BCancel = nullptr;
    QPushButton* BPreview = nullptr;
    QPushButton* BDefault = nullptr;

    // Peak to peak and offset in codes, as the generation takes them.
    int32_t AmplitudeCodes = 0;
    int32_t OffsetCodes = 0;
    int32_t LastPoint = 0;
    // The window shows a generation made with the parameters as they stand.
    bool Previewed = false;
    // The outcome of the last preview (0: written).
    int32_t LastError = 0;

    void StartExit();
    void EndExit();
    void AmplitudeExit();
    void OffsetExit();
    void BPreviewClick();
    void BOkClick();
    void BCancelClick();
    void BDefaultClick();

protected:
    struct Style {
        // Escape presses Cancel; otherwise the dialog ignores it (the close box still cancels).
        bool escapeCancels = true;
        // Characters the user may type into each edit; 0: no limit.
        int typedLimit = 0;
    };
    TGeneratorForm(const char* instanceName, const char* caption, Style style, QWidget* parent);

    // ---- what each dialog says --------------------------------------------------------
    // The expression of the parameters as they stand.
    virtual std::string FormatTemplate() const = 0;
    virtual int32_t LevelModeValue() const { return 0; }
    // Where the two lines go for the current amplitude, offset and choices.
    virtual plotwell::synthesis::PreviewLines Lines() const;
    // First step of the activation: the amplitude and offset proposed for the window.
    virtual void ActivateLevels();
    // Last texts of the activation: the dialog's own parameters.
    virtual void ActivateOwn() {}
    // The dialog's own defaults, before Default activates and previews.
    virtual void DefaultOwn() {}
    // The exits OK runs before it previews.
    virtual void OkExits();
    // Only the sine generator turns a bit pattern back into a waveform.
    virtual bool ClearsBitPattern() const { return false; }

    // ---- building ---------------------------------------------------------------------
    // A labelled numeric edit in the next row of the fields.
    plotwell::platform::NumericField* addField(const char* name, const char* label,
                                               plotwell::platform::FieldKind kind);
    // A decimal parameter: every exit reads it into `value` and writes it back "%1.2f".
    plotwell::platform::NumericField* addDecimal(const char* name, const char* label, bool isSigned,
                                                 double* value);
    // A count of points or crossings: each key release reads it into `value` (a value of 0
    // becomes `zeroBecomes` at once when that is not 0); every exit writes it back "%d".
    plotwell::platform::NumericField* addCount(const char* name, const char* label, int32_t* value,
                                               int32_t zeroBecomes);
    QCheckBox* addCheck(const char* name, const char* label);
    // A field the dialog keeps but does not show (the pulse's amplitude and offset).
    void hideField(QLineEdit* edit);
    // The label that names a field, or null.
    QLabel* captionOf(const QLineEdit* edit) const;
    // A check box whose click makes the preview stale.
    void makesPreviewStale(QCheckBox* box);

    // Every shown field holds a number the program can hold; otherwise the first that does
    // not is refused.
    bool numbersFit();
    // A field the user changed: the dialog will write samples and its preview is stale.
    void fieldChanged();
    // The samples as they were before the dialog opened, with the lines where Lines() puts
    // them; the window is redrawn and its status published.
    void restoreAndMoveLines();
    // The lines on the window, without touching the samples.
    void placeLines();
    // Leaving an edited integer field: the typed value goes through `apply` (which keeps it
    // and returns it as it is to be shown), then the window shows the samples as they were
    // before the dialog, with the lines moved.
    void exitEdited(plotwell::platform::NumericField* field, const std::function<int32_t(int32_t)>& apply);

    void FormActivate() override;
    void CancelPath() override;
    void done(int result) override;

    plotwell::platform::NumericField* StartField = nullptr;
    plotwell::platform::NumericField* EndField = nullptr;
    plotwell::platform::NumericField* AmplitudeField = nullptr;
    plotwell::platform::NumericField* OffsetField = nullptr;

private:
    void buildCommon(const char* caption);
    QGridLayout* fields_ = nullptr;
    Style style_;
    // The dialog is closing: the focus leaving a field then is no exit of the user's.
    bool closing_ = false;
};
