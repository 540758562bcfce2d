#include "platform/form.h"

#include "platform/ui.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLayout>
#include <QShowEvent>

#include <algorithm>
#include <optional>

namespace plotwell::platform {

Form::Form(const char* instanceName, QWidget* parent) : QDialog(parent) {
    setObjectName(QString::fromLatin1(instanceName));
}

int Form::ShowModal() {
    return ui().execModal(*this);
}

void Form::reject() {
    CancelPath();
    done(cancelResult_);
}

namespace {
// Window managers set captions in a bold face at about the program's size. Making that face
// and its metrics goes through fontconfig and the shaper, so it is made once, and again only
// when the title font itself changes.
struct CaptionFace {
    QFont font;
    QFontMetrics metrics;
};
std::optional<CaptionFace>& captionFaceSlot() {
    static std::optional<CaptionFace> face;
    return face;
}
int captionMeasureCount = 0;

const QFontMetrics& captionFace() {
    std::optional<CaptionFace>& face = captionFaceSlot();
    QFont font = QFontDatabase::systemFont(QFontDatabase::TitleFont);
    font.setBold(true);
    if (!face) {
        // Fonts must go before the application that owns their engines.
        qAddPostRoutine([] { captionFaceSlot().reset(); });
    } else if (face->font == font) {
        return face->metrics;
    }
    face.emplace(CaptionFace{font, QFontMetrics(font)});
    return face->metrics;
}
} // namespace

int captionWidth(const QString& caption) {
    ++captionMeasureCount;
    const QFontMetrics& metrics = captionFace();
    // Room for an icon on the left and up to three buttons on the right.
    return metrics.horizontalAdvance(caption) + 6 * metrics.height();
}

int captionMeasurements() {
    return captionMeasureCount;
}

void Form::fitCaption() {
    const QString caption = windowTitle();
    if (captionStale_ || caption != measuredCaption_) {
        captionNeed_ = captionWidth(caption);
        measuredCaption_ = caption;
        captionStale_ = false;
    }
    int need = captionNeed_;
    // An explicit minimum replaces the layout's own, so it carries that too.
    if (const QLayout* l = layout())
        need = std::max(need, l->totalMinimumSize().width());
    if (minimumWidth() != need && maximumWidth() >= need)
        setMinimumWidth(need);
}

void Form::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    // A hidden form is fitted when it is shown; the overview and the dialogs change their
    // captions far more often than they show.
    const QEvent::Type type = event->type();
    if (type == QEvent::FontChange || type == QEvent::ApplicationFontChange || type == QEvent::ThemeChange)
        captionStale_ = true;
    if ((type == QEvent::WindowTitleChange || captionStale_) && isVisible())
        fitCaption();
}

bool Form::event(QEvent* event) {
    const bool done = QDialog::event(event);
    // The layout has just taken its new measure.
    if (event->type() == QEvent::LayoutRequest && isVisible())
        fitCaption();
    return done;
}

namespace {
const char* const kFocusOnPress = "plotwellFocusOnPress";

// A field takes its value when the caret leaves it. A mouse click on a button moves the focus
// there before the button acts, so the field being edited gives up its value first. A press
// that moves nothing (a screen reader's, Enter on the default button, a shortcut, or click()
// from code) does the same here, before any handler of the button runs. Its exit runs once:
// the focus is on the button afterwards, and leaving it again is no exit of the field's.
void takeFocusAsAClickDoes(QAbstractButton* button) {
    QWidget* window = button->window();
    QWidget* editing = window->focusWidget();
    if (editing == nullptr || editing == button || !button->isVisible() ||
        (button->focusPolicy() & Qt::ClickFocus) == 0)
        return;
    const bool active = window->isActiveWindow();
    button->setFocus(Qt::MouseFocusReason);
    // In a window that is not active the field lost the focus with the window, which is no
    // exit; moving the focus now tells it nothing, so it is told here.
    if (!active) {
        QFocusEvent leave(QEvent::FocusOut, Qt::MouseFocusReason);
        QCoreApplication::sendEvent(editing, &leave);
    }
}
} // namespace

void Form::focusButtonsOnPress() {
    for (QAbstractButton* button : findChildren<QAbstractButton*>()) {
        if (button->property(kFocusOnPress).toBool())
            continue;
        button->setProperty(kFocusOnPress, true);
        connect(button, &QAbstractButton::pressed, button, [button] { takeFocusAsAClickDoes(button); });
    }
}

void Form::showEvent(QShowEvent* event) {
    focusButtonsOnPress();
    fitCaption();
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormActivate();
}

void Form::keyPressEvent(QKeyEvent* event) {
    if (swallowEscape_ && event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    if (helpContext_ != 0 && event->key() == Qt::Key_F1) {
        ui().showHelp(helpContext_);
        return;
    }
    QDialog::keyPressEvent(event);
}

void nameInput(QWidget* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    widget->setAccessibleName(QString::fromLatin1(name));
}

} // namespace plotwell::platform
