#include "app_fixture.h"

#include "app/Plotdesk.h"
#include "synthesis/forms/BitPattern.h"
#include "workspace/forms/wfmchild.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QTest>

#include <functional>

using plotwell::workspace::SampleStream;
using plotwell::workspace::WaveFileType;

namespace {

class BitPatternTest : public AppTest {
protected:
    // A window holding `bits` ("0"/"1" per point) with reference 32768.
    TWFMform* patternWindow(const std::string& bits) {
        TWFMform* w = newWindow();
        w->Doc.SampleStream = std::make_unique<SampleStream>(32768, 0);
        for (char b : bits)
            w->Doc.SampleStream->append(b == '1' ? 0xFFFF : 0);
        w->Doc.FileType = WaveFileType::Internal;
        w->Doc.WaveName = "bits.ptn";
        w->Doc.SelectionEnd = int(bits.size()) - 1;
        return w;
    }
    static std::string bitsOf(const TWFMform* w) {
        std::string out;
        for (uint16_t c : w->Doc.SampleStream->codes())
            out += c == 0xFFFF ? '1' : c == 0 ? '0' : '?';
        return out;
    }
    // Edit bit pattern on `w`; `script` works the open editor.
    int edit(TWFMform* w, std::function<void(TBitPatternForm&)> script) {
        (void)w;
        ui.onDialog([script](QDialog&) { script(*BitPatternForm); });
        PWForm1->EditBitPattern();
        return BitPatternForm->result();
    }
    static QTableView* grid() { return BitPatternForm->StringGrid1; }
    // A key pressed and released on the grid, as the keyboard delivers it.
    static void key(int k, Qt::KeyboardModifiers m = Qt::NoModifier, const QString& text = {}) {
        QKeyEvent press(QEvent::KeyPress, k, m, text);
        QApplication::sendEvent(grid(), &press);
        QKeyEvent release(QEvent::KeyRelease, k, m, text);
        QApplication::sendEvent(grid(), &release);
    }
    static void type(char c) { key(c, Qt::NoModifier, QString(QChar(c))); }
};

} // namespace

TEST_F(BitPatternTest, ShowsTheBitsAndSetsSelectedRowsWithKeys) {
    TWFMform* w = patternWindow("0000000000");
    std::vector<int> view;
    std::string afterKeys;
    int rows = 0;
    const int answer = edit(w, [&](TBitPatternForm& f) {
        rows = f.RowCount();
        EXPECT_EQ(f.Cell(0, 0), "      Bit");
        EXPECT_EQ(f.Cell(1, 0), "Value");
        EXPECT_EQ(f.Cell(1, 1), "0");
        view = {w->Zoomed, w->ViewFirst, w->ViewLast};
        // Rows 3 to 6 (points 2 to 5) selected with the keyboard, then 1.
        key(Qt::Key_Down);
        key(Qt::Key_Down);
        key(Qt::Key_Down, Qt::ShiftModifier);
        key(Qt::Key_Down, Qt::ShiftModifier);
        key(Qt::Key_Down, Qt::ShiftModifier);
        type('1');
        afterKeys = bitsOf(w); // written at once, before OK
        type('x');             // other keys change nothing
        key(Qt::Key_Up);       // point 4 alone
        type('0');
        f.BOk->click();
    });
    EXPECT_EQ(rows, 11);
    EXPECT_EQ(view, (std::vector<int>{1, 0, 9}));
    EXPECT_EQ(afterKeys, "0011110000");
    EXPECT_EQ(answer, 1);
    EXPECT_EQ(bitsOf(w), "0011010000");
    EXPECT_EQ(w->Doc.FileType, WaveFileType::BitPattern);
    EXPECT_EQ(w->Doc.IsBitPattern, 1);
    EXPECT_EQ(w->Zoomed, 0);
    EXPECT_EQ(w->Doc.SelectionEnd, 9);
    EXPECT_EQ(w->Doc.SaveState, 1);
}

TEST_F(BitPatternTest, KeysOtherThanOneAndZeroDoNothing) {
    struct Case {
        const char* what;
        std::function<void(TBitPatternForm&)> press;
    };
    const auto onGrid = [](int k, Qt::KeyboardModifiers m, const char* text) {
        return [=](TBitPatternForm&) { key(k, m, QString::fromLatin1(text)); };
    };
    for (const Case& c : std::vector<Case>{
             {"88",
              [](TBitPatternForm&) {
                  type('8');
                  type('8');
              }},
             {"enter", onGrid(Qt::Key_Return, Qt::NoModifier, "\r")},
             {"escape in the grid", onGrid(Qt::Key_Escape, Qt::NoModifier, "\x1b")},
             {"escape", [](TBitPatternForm& f) { QTest::keyClick(&f, Qt::Key_Escape); }},
         }) {
        SCOPED_TRACE(c.what);
        TWFMform* w = patternWindow(std::string(100, '0'));
        std::vector<int> seen;
        edit(w, [&](TBitPatternForm& f) {
            key(Qt::Key_Down);
            c.press(f);
            seen = {int(f.isVisible()), grid()->currentIndex().row(),
                    int(grid()->selectionModel()->selectedRows().size()), w->ViewFirst};
            f.BOk->click();
        });
        EXPECT_EQ(seen, (std::vector<int>{1, 1, 1, 0}));
        EXPECT_EQ(bitsOf(w), std::string(100, '0'));
    }
}

TEST_F(BitPatternTest, InsertAndDeleteAtBothEnds) {
    struct Case {
        std::string before;
        std::function<void()> moveTo; // keys that choose the row
        QAction* TBitPatternForm::*action;
        std::string after;
    };
    const auto home = [] { key(Qt::Key_Home, Qt::ControlModifier); };
    const auto end = [] { key(Qt::Key_End, Qt::ControlModifier); };
    const auto second = [] { key(Qt::Key_Down); };
    for (const Case& c : std::vector<Case>{
             {"01", home, &TBitPatternForm::Insert1, "001"},
             {"11", home, &TBitPatternForm::InsertBitAfter1, "101"},
             {"011", second, &TBitPatternForm::Delete1, "01"},
             {"101", home, &TBitPatternForm::Delete1, "01"},
             {"101", end, &TBitPatternForm::Delete1, "10"},
             {"11", end, &TBitPatternForm::InsertBitAfter1, "110"},
             {"11", end, &TBitPatternForm::Insert1, "101"},
         }) {
        SCOPED_TRACE(c.before + " -> " + c.after);
        TWFMform* w = patternWindow(c.before);
        int rows = 0;
        QString lastNumber;
        edit(w, [&](TBitPatternForm& f) {
            c.moveTo();
            (f.*c.action)->trigger();
            rows = f.RowCount();
            lastNumber = f.Cell(0, rows - 1);
            f.BOk->click();
        });
        EXPECT_EQ(bitsOf(w), c.after);
        EXPECT_EQ(rows, int(c.after.size()) + 1);
        EXPECT_EQ(lastNumber, QString::number(c.after.size() - 1));
        EXPECT_EQ(w->Doc.SampleStream->reference(), 32768);
    }
}

TEST_F(BitPatternTest, TheWindowFollowsTheGrid) {
    TWFMform* w = patternWindow(std::string(100, '0'));
    std::vector<std::pair<int, int>> views;
    edit(w, [&](TBitPatternForm& f) {
        const auto seen = [&] { views.emplace_back(w->ViewFirst, w->ViewLast); };
        seen();
        key(Qt::Key_PageDown);
        key(Qt::Key_PageDown);
        seen();
        key(Qt::Key_End, Qt::ControlModifier);
        seen();
        key(Qt::Key_Home, Qt::ControlModifier);
        seen();
        // Deleting a bit while the last ones are in view keeps the view on the last bit.
        key(Qt::Key_End, Qt::ControlModifier);
        f.Delete1->trigger();
        seen();
        f.BCancel->click();
    });
    ASSERT_EQ(views.size(), 5u);
    EXPECT_EQ(views[0], std::make_pair(0, 31));
    EXPECT_GT(views[1].first, 0);
    EXPECT_EQ(views[1].second, views[1].first + 31);
    EXPECT_EQ(views[2], std::make_pair(68, 99));
    EXPECT_EQ(views[3], std::make_pair(0, 31));
    EXPECT_EQ(views[4], std::make_pair(67, 98));
    // Cancel: the driver puts the snapshot back; the window stays a bit pattern.
    EXPECT_EQ(bitsOf(w), std::string(100, '0'));
    EXPECT_EQ(w->Doc.FileType, WaveFileType::BitPattern);
    EXPECT_EQ(w->Zoomed, 0);
}

TEST_F(BitPatternTest, CancelAfterADeleteBringsTheWholeSelectionBack) {
    TWFMform* w = patternWindow("10110010");
    PWForm1->ActivateWaveWindow(w);
    edit(w, [&](TBitPatternForm& f) {
        f.Delete1->trigger();
        EXPECT_EQ(w->Doc.SelectionEnd, 6);
        f.BCancel->click();
    });
    EXPECT_EQ(bitsOf(w), "10110010");
    EXPECT_EQ(w->Doc.SelectionStart, 0);
    EXPECT_EQ(w->Doc.SelectionEnd, 7) << "a save writes every bit again";
    EXPECT_EQ(PWForm1->WaveInfo6->text().toStdString(), "   Length 8:");
}

TEST_F(BitPatternTest, LimitsOfTheLength) {
    TWFMform* w = patternWindow(std::string(65535, '1'));
    int rows = 0;
    edit(w, [&](TBitPatternForm& f) {
        f.Insert1->trigger();
        rows = f.RowCount();
        f.BOk->click();
    });
    EXPECT_EQ(rows, 65536);
    EXPECT_EQ(ui.messages(), (std::vector<std::string>{"A bit pattern holds at most 65535 bits"}));

    ui.clear();
    TWFMform* one = patternWindow("1");
    edit(one, [&](TBitPatternForm& f) {
        f.Delete1->trigger();
        f.BOk->click();
    });
    EXPECT_EQ(bitsOf(one), "1");
    EXPECT_EQ(ui.messages(), (std::vector<std::string>{"A bit pattern holds at least 1 bit"}));
}
