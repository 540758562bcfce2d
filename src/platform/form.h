#pragma once
// Base of every dialog and tool window: modal results with the framework's numbers,
// an activation hook that runs when the form is shown, the Cancel path on Escape, F1
// opening the form's help topic, a width that shows the whole caption, and buttons that
// take the focus before they act, however they are pressed.

#include <QDialog>
#include <QString>

class QWidget;

namespace plotwell::platform {

// Modal results as the forms answer them.
enum ModalResult {
    mrNone = 0,
    mrOk = 1,
    mrCancel = 2,
    mrAbort = 3,
    mrRetry = 4,
    mrIgnore = 5,
    mrYes = 6,
    mrNo = 7
};

class Form : public QDialog {
    Q_OBJECT
public:
    // `className` is the form's class name; the form's object name is the instance
    // variable's name, e.g. Form("TSineForm", "SineForm").
    Form(const char* instanceName, QWidget* parent = nullptr);

    // Shows the form modally through the UI seam and returns its modal result.
    int ShowModal();
    // Ends a modal show with `result`.
    void setModalResult(int result) { done(result); }

    // Escape and the close box run the Cancel path and answer this value.
    void setCancelResult(int result) { cancelResult_ = result; }
    int cancelResult() const { return cancelResult_; }
    // Forms that ignore Escape.
    void setSwallowEscape(bool on) { swallowEscape_ = on; }
    // The help topic that F1 opens anywhere in the form; 0, the default, opens none.
    void setHelpContext(int context) { helpContext_ = context; }

    void reject() override;

protected:
    // Runs each time the form is shown (not on every focus change).
    virtual void FormActivate() {}
    // What Escape or the close box does before the form answers its Cancel value.
    virtual void CancelPath() {}

    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;

private:
    // Keeps the form at least as wide as its caption needs in the title bar.
    void fitCaption();
    // Makes every button of the form take the focus when pressed, as a mouse click gives it.
    void focusButtonsOnPress();

    // The caption's width as last measured, and for which caption.
    QString measuredCaption_;
    int captionNeed_ = 0;
    bool captionStale_ = true;

    int cancelResult_ = mrCancel;
    bool swallowEscape_ = false;
    int helpContext_ = 0;
};

// Names a component as the form's layout names it; inputs carry the name for
// accessibility tools as well.
template <class W> W* named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}
void nameInput(QWidget* widget, const char* name);

// The width a window needs for `caption` in its title bar, with room for the frame's icon
// and buttons, in the current font.
int captionWidth(const QString& caption);
// How many captions have been measured since the program started.
int captionMeasurements();

} // namespace plotwell::platform
