// A numeric field typed into with real key events: what the text becomes, where the caret
// stands, the modified flag and the hooks.

#include "platform/numeric_field.h"

#include <QApplication>
#include <QClipboard>
#include <QFocusEvent>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

#include <vector>

using namespace plotwell::platform;

namespace {

// A field on its own edit, counting what its hooks see.
struct Probe {
    explicit Probe(FieldRules rules) : field(new NumericField(&edit, rules)) {
        field->onChange = [this] { ++changes; };
        field->onRelease = [this](bool numberKey) { released.push_back(numberKey); };
        field->onClick = [this] { ++clicks; };
        field->onExit = [this] { ++exits; };
    }
    // `keys` as typed; '\b' is backspace, '<' Home, '~' Delete, '^' Ctrl+V.
    void type(const std::string& keys) {
        for (char c : keys) {
            switch (c) {
            case '\b':
                QTest::keyClick(&edit, Qt::Key_Backspace);
                break;
            case '<':
                QTest::keyClick(&edit, Qt::Key_Home);
                break;
            case '~':
                QTest::keyClick(&edit, Qt::Key_Delete);
                break;
            case '^':
                QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
                break;
            default:
                QTest::keyClick(&edit, Qt::Key(QChar(c).toUpper().unicode()), Qt::NoModifier);
            }
        }
    }
    QLineEdit edit;
    NumericField* field;
    int changes = 0, clicks = 0, exits = 0;
    std::vector<bool> released;
};

FieldRules kind(FieldKind k, int typedLimit = 0) {
    return {.kind = k, .typedLimit = typedLimit};
}

} // namespace

TEST(NumericField, TypingIntoEachKindOfField) {
    struct Row {
        const char* what;
        FieldRules rules;
        const char* text;
        int caret;
        const char* keys;
        const char* expected;
        int expectedCaret; // -1: not looked at
        bool modified;
        int changes;
    };
    const FieldRules unfiltered{.filtersKeys = false};
    const Row rows[] = {
        {"'-' anywhere toggles a leading minus", kind(FieldKind::SignedInteger), "25", 1, "-", "-25", -1,
         true, 1},
        {"and takes it away again", kind(FieldKind::SignedInteger), "25", 1, "--", "25", -1, true, 2},
        {"a digit in front of the minus keeps the minus in front", kind(FieldKind::SignedInteger), "-25", 0,
         "3", "-325", 2, true, 2},
        {"backspace cannot take the minus away", kind(FieldKind::SignedInteger), "-325", 1, "\b", "-325", 2,
         true, 2},
        {"nor Delete, after a digit was typed", kind(FieldKind::SignedInteger), "-25", 3, "3<~", "-253", 2,
         true, 3},
        {"a keyboard paste is a key like any other", kind(FieldKind::SignedInteger), "12", 2, "^", "12", -1,
         false, 0},
        {"a repaired decimal is not marked modified", kind(FieldKind::SignedDecimal), "-1.5", 0, "2", "-21.5",
         2, false, 1},
        {"letters and '-' stay out of an unsigned field", kind(FieldKind::UnsignedInteger), "12", 2, "a-",
         "12", -1, false, 0},
        {"one point in a decimal", kind(FieldKind::UnsignedDecimal), "1.5", 3, ".2", "1.52", -1, true, 1},
        {"no point in an integer", kind(FieldKind::SignedInteger), "1", 1, ".", "1", -1, false, 0},
        {"the typed limit", kind(FieldKind::UnsignedInteger, 7), "1234567", 7, "8", "1234567", -1, false, 0},
        {"backspace at the typed limit", kind(FieldKind::UnsignedInteger, 7), "1234567", 7, "\b", "123456",
         -1, true, 1},
        {"an unfiltered field takes every key", unfiltered, "12", 2, "x-", "12x-", -1, true, 2},
    };
    QApplication::clipboard()->setText("x9");
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        Probe p(r.rules);
        p.edit.setText(r.text);
        p.edit.setCursorPosition(r.caret);
        p.type(r.keys);
        EXPECT_EQ(p.edit.text().toStdString(), r.expected);
        if (r.expectedCaret >= 0) {
            EXPECT_EQ(p.edit.cursorPosition(), r.expectedCaret);
        }
        EXPECT_EQ(p.field->isModified(), r.modified);
        EXPECT_EQ(p.changes, r.changes);
    }
}

TEST(NumericField, KeyReleaseTellsANumberKeyFromAnother) {
    Probe p({.filtersKeys = false});
    p.type("5x\b");
    EXPECT_EQ(p.released, (std::vector<bool>{true, false, true}));
    EXPECT_EQ(p.field->intValue(), 5);
}

TEST(NumericField, ClickExitAndTheValue) {
    Probe p(kind(FieldKind::SignedInteger));
    p.field->show(int32_t(-40));
    EXPECT_EQ(p.edit.text().toStdString(), "-40");
    EXPECT_FALSE(p.field->takeEdit()) << "text set by the program is no edit";
    QTest::mouseClick(&p.edit, Qt::LeftButton);
    EXPECT_EQ(p.clicks, 1);
    EXPECT_EQ(p.edit.selectedText().toStdString(), "-40") << "a click selects the whole text";
    p.type("7");
    EXPECT_EQ(p.field->takeEdit(), -7) << "only '-' changes the sign, also of a text typed over";
    EXPECT_FALSE(p.field->isModified()) << "taking the edit clears the flag";
    QFocusEvent out(QEvent::FocusOut);
    QApplication::sendEvent(&p.edit, &out);
    EXPECT_EQ(p.exits, 1);

    Probe keeps({.kind = FieldKind::UnsignedDecimal, .selectsAllOnClick = false});
    keeps.field->show(2.5);
    EXPECT_EQ(keeps.edit.text().toStdString(), "2.50");
    QTest::mouseClick(&keeps.edit, Qt::LeftButton);
    EXPECT_EQ(keeps.clicks, 1);
    EXPECT_TRUE(keeps.edit.selectedText().isEmpty()) << "this field keeps its text on a click";
    EXPECT_EQ(keeps.field->decimalValue(), 2.5);
}

// A field is left when the focus moves to another control of its form; a message box or
// another window taking the focus, or a context menu, leaves the field where it was.
TEST(NumericField, OnlyAFocusMoveWithinTheFormIsAnExit) {
    struct Case {
        Qt::FocusReason reason;
        int exits;
    } cases[] = {
        {Qt::TabFocusReason, 1},      {Qt::BacktabFocusReason, 1}, {Qt::MouseFocusReason, 1},
        {Qt::ShortcutFocusReason, 1}, {Qt::OtherFocusReason, 1},   {Qt::ActiveWindowFocusReason, 0},
        {Qt::PopupFocusReason, 0},
    };
    for (const Case& c : cases) {
        Probe p(kind(FieldKind::UnsignedInteger));
        QFocusEvent out(QEvent::FocusOut, c.reason);
        QApplication::sendEvent(&p.edit, &out);
        EXPECT_EQ(p.exits, c.exits) << c.reason;
    }
}
