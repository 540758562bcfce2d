#include "platform/numeric_field.h"

#include "platform/qstring.h"

#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>

namespace plotwell::platform {

namespace {
std::string latin1(const QString& text) {
    return text.toLatin1().toStdString();
}

class ClickSelectsAll : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonRelease)
            if (auto* edit = qobject_cast<QLineEdit*>(watched))
                edit->selectAll();
        return QObject::eventFilter(watched, event);
    }
};
} // namespace

void selectAllOnClick(QLineEdit* edit) {
    edit->installEventFilter(new ClickSelectsAll(edit));
}

std::optional<char> typedCharacter(const QKeyEvent* key) {
    if (key->key() == Qt::Key_Backspace)
        return kBackspace;
    for (const auto edit : {QKeySequence::Paste, QKeySequence::Cut, QKeySequence::Undo, QKeySequence::Redo})
        if (key->matches(edit))
            return '\0';
    const QString t = key->text();
    if (t.isEmpty() || !t[0].isPrint())
        return std::nullopt;
    return t[0].unicode() < 256 ? char(t[0].unicode()) : '\0';
}

NumericField::NumericField(QLineEdit* edit, FieldRules rules) : QObject(edit), edit_(edit), rules_(rules) {
    edit_->installEventFilter(this);
    if (rules_.selectsAllOnClick)
        selectAllOnClick(edit_);
    connect(edit_, &QLineEdit::textEdited, this, [this] {
        if (onChange)
            onChange();
    });
}

int32_t NumericField::intValue() const {
    return fieldInt(latin1(edit_->text()));
}

double NumericField::decimalValue() const {
    return fieldDecimal(latin1(edit_->text()));
}

bool NumericField::fits() const {
    return numberFits(rules_.kind, latin1(edit_->text()));
}

void NumericField::show(int32_t value) {
    edit_->setText(platform::toQString(intText(value)));
}

void NumericField::show(double value) {
    edit_->setText(platform::toQString(decimalText(value)));
}

bool NumericField::isModified() const {
    return edit_->isModified();
}

void NumericField::setModified(bool on) {
    edit_->setModified(on);
}

std::optional<int32_t> NumericField::takeEdit() {
    if (!edit_->isModified())
        return std::nullopt;
    edit_->setModified(false);
    return intValue();
}

void NumericField::changedByUser() {
    edit_->setModified(true);
    if (onChange)
        onChange();
}

bool NumericField::keyPress(QKeyEvent* key) {
    if (!rules_.filtersKeys)
        return false;
    const std::optional<char> c = typedCharacter(key);
    if (!c)
        return false;
    const KeyVerdict verdict =
        filterKey(rules_.kind, *c, latin1(edit_->text()), edit_->hasSelectedText(), rules_.typedLimit);
    leadingMinus_ = verdict.leadingMinus;
    switch (verdict.action) {
    case KeyAction::Pass:
        return false;
    case KeyAction::Discard:
        return true;
    case KeyAction::ToggleSign:
        edit_->setText(platform::toQString(toggledSign(latin1(edit_->text()))));
        changedByUser();
        return true;
    }
    return false;
}

void NumericField::keyRelease(const QKeyEvent* key) {
    // The flag stays until the next key press: a sign deleted later (Delete types nothing)
    // is put back too.
    if (leadingMinus_) {
        if (const auto repaired = repairedSign(latin1(edit_->text()))) {
            edit_->setText(platform::toQString(*repaired));
            edit_->setCursorPosition(kCaretAfterRepair);
            // A repaired decimal is not an edit of its own: its exit reads it anyway.
            if (!isDecimal(rules_.kind))
                changedByUser();
        }
    }
    if (onRelease) {
        const int k = key->key();
        onRelease((k >= Qt::Key_0 && k <= Qt::Key_9) || k == Qt::Key_Backspace);
    }
}

bool NumericField::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edit_) {
        switch (event->type()) {
        case QEvent::KeyPress:
            if (keyPress(static_cast<QKeyEvent*>(event)))
                return true;
            break;
        case QEvent::KeyRelease:
            keyRelease(static_cast<QKeyEvent*>(event));
            break;
        case QEvent::MouseButtonRelease:
            if (onClick)
                onClick();
            break;
        case QEvent::FocusOut: {
            // Leaving a field means moving to another control of the form. A message box
            // shown over the form, another window or a context menu taking the focus is
            // none: the field's exit would otherwise undo what the box reports on.
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (onExit && reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
                onExit();
            break;
        }
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace plotwell::platform
