#pragma once
// The behaviour that the dialogs' numeric edit fields share, attached to a QLineEdit: the
// key filter of the field's kind, the sign toggle and repair of signed fields, selecting
// the whole text on a click, and the modified flag. What a field does with its number on a
// key release and on leaving it is the dialog's; it comes in through the hooks. The rules
// themselves are in numeric_rules.h.

#include "platform/numeric_rules.h"

#include <QObject>

#include <cstdint>
#include <functional>
#include <optional>

class QKeyEvent;
class QLineEdit;

namespace plotwell::platform {

struct FieldRules {
    FieldKind kind = FieldKind::UnsignedInteger;
    // Characters the user may type; text set by the program is never cut. 0: no limit.
    int typedLimit = 0;
    // Fields that let every key through and put things right on the key release.
    bool filtersKeys = true;
    bool selectsAllOnClick = true;
};

class NumericField : public QObject {
    Q_OBJECT
public:
    // The field belongs to `edit` and goes with it.
    NumericField(QLineEdit* edit, FieldRules rules);

    QLineEdit* edit() const { return edit_; }
    const FieldRules& rules() const { return rules_; }

    // Hooks, each optional:
    // the user changed the text (typed, or toggled or repaired an integer's sign);
    std::function<void()> onChange;
    // a key was released, after any sign repair; `numberKey` is a digit or backspace;
    std::function<void(bool numberKey)> onRelease;
    // the focus moved from the field to another control of its form;
    std::function<void()> onExit;
    // the field was clicked.
    std::function<void()> onClick;

    int32_t intValue() const;
    double decimalValue() const;
    // Whether the number in the text is one the program can hold (numberFits).
    bool fits() const;
    // Writes the value as the field's kind shows it ("%d" or "%1.2f").
    void show(int32_t value);
    void show(double value);

    // Whether the user changed the text since the flag was last cleared.
    bool isModified() const;
    void setModified(bool on);
    // The exit of an integer field that acts only after a user change: the typed value,
    // with the flag cleared; nullopt when the text was not changed.
    std::optional<int32_t> takeEdit();

    // The last key press found the text beginning with '-'.
    bool leadingMinus() const { return leadingMinus_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // True when the key press is used up here.
    bool keyPress(QKeyEvent* key);
    void keyRelease(const QKeyEvent* key);
    void changedByUser();

    QLineEdit* edit_;
    FieldRules rules_;
    bool leadingMinus_ = false;
};

// Any edit: a click selects its whole text.
void selectAllOnClick(QLineEdit* edit);

// The character a key types, as a key filter sees it: kBackspace for backspace; 0 for a
// character outside Latin-1 and for the shortcuts that would change the text behind the
// filter's back (paste, cut, undo, redo), which no filter lets through; nullopt for a key
// that types nothing (arrows, Delete, Enter, Escape, Tab), which the filters leave alone.
std::optional<char> typedCharacter(const QKeyEvent* key);

} // namespace plotwell::platform
