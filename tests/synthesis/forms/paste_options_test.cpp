// Edit > Paste on a window that holds data: the paste options dialog, run by the frame's
// driver, with the offscreen platform's clipboard.

#include "app_fixture.h"

#include "app/Plotdesk.h"
#include "app/wfmmenus.h"
#include "synthesis/forms/pasteops.h"
#include "workspace/core/clipboard_numbers.h"
#include "workspace/forms/wfmchild.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include <functional>
#include <vector>

using plotwell::workspace::SampleStream;

namespace {

class PasteOptionsTest : public AppTest {
protected:
    TWFMform* window(int points, uint16_t r, int start, int end) {
        TWFMform* w = newWindow();
        *w->Doc.SampleStream = SampleStream(r, std::size_t(points));
        for (int i = 0; i < points; ++i)
            w->Doc.SampleStream->setCode(std::size_t(i), uint16_t(i));
        w->Doc.FileType = plotwell::workspace::WaveFileType::Internal;
        w->Doc.SaveState = 0;
        w->Doc.WaveName = "/data/wave.wfm";
        w->SetCaption(w->Doc.WaveName);
        w->Doc.SelectionStart = start;
        w->Doc.SelectionEnd = end;
        return w;
    }
    // Edit > Paste with `text` on the clipboard; `use` works the dialog.
    void paste(const std::string& text, std::function<void(TPasteOptions&)> use) {
        QApplication::clipboard()->setText(QString::fromStdString(text));
        ui.onDialog([use](QDialog& d) { use(dynamic_cast<TPasteOptions&>(d)); });
        emit PWForm1->WaveMenus->Edit1->aboutToShow();
        PWForm1->WaveMenus->Paste1->trigger();
    }
    static void choose(TPasteOptions& p, int mode) {
        p.PasteType->setCurrentIndex(mode);
        emit p.PasteType->activated(mode);
    }
    // Types `keys` over a field's whole text; '\n' is Enter.
    static void type(QLineEdit* e, const std::string& keys) {
        e->selectAll();
        for (char c : keys)
            QTest::keyClick(e, c == '\n' ? Qt::Key_Return : Qt::Key(QChar(c).toUpper().unicode()));
    }
    // Tab to the next control.
    static void leave(QLineEdit* e) {
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(e, &out);
    }
    static std::vector<uint16_t> codes(TWFMform* w) {
        const auto c = w->Doc.SampleStream->codes();
        return {c.begin(), c.end()};
    }
};

TEST_F(PasteOptionsTest, OverwriteStretchesTheNumbersOverTheSelection) {
    TWFMform* w = window(12, 32768, 2, 9);
    paste("0, 1, 0, -1", [](TPasteOptions& p) {
        EXPECT_EQ(p.windowTitle().toStdString(), "Paste to /data/wave.wfm");
        EXPECT_EQ(p.ClipName->text().toStdString(), "Clipboard contents: Length = 4 points");
        EXPECT_EQ(p.Amplitude->text().toStdString(), "65535");
        EXPECT_FALSE(p.Expand->isEnabled());
        p.bOK->click();
    });
    EXPECT_EQ(codes(w),
              (std::vector<uint16_t>{0, 1, 32768, 65535, 65535, 32768, 32768, 1, 1, 32768, 10, 11}));
    EXPECT_EQ(w->Caption(), "/data/wave.wfm (Modified)");
    EXPECT_EQ(w->MarkerAmplitude, 0);
}

TEST_F(PasteOptionsTest, InsertModesAddTheExpandCountAndSelectAll) {
    TWFMform* w = window(1000, 2048, 10, 20);
    std::string hundred;
    for (int i = 0; i < 100; ++i)
        hundred += i % 2 ? "1\n" : "-1\n";
    paste(hundred, [](TPasteOptions& p) {
        choose(p, 4);
        EXPECT_TRUE(p.Expand->isEnabled());
        EXPECT_EQ(p.Expand->text().toStdString(), "100");
        p.bOK->click();
    });
    ASSERT_EQ(w->Doc.PointCount(), 1100);
    EXPECT_EQ(w->Doc.SampleStream->code(999), 999);
    EXPECT_EQ(w->Doc.SampleStream->code(1000), 0);
    EXPECT_EQ(w->Doc.SampleStream->code(1001), 4094);
    EXPECT_EQ(w->Doc.SelectionStart, 0);
    EXPECT_EQ(w->Doc.SelectionEnd, 1099);

    // At the start point, stretched to 6 points and scaled by amplitude and offset.
    TWFMform* v = window(20, 2048, 10, 12);
    paste("0.5 -1 1", [](TPasteOptions& p) {
        choose(p, 1);
        type(p.Expand, "6");
        type(p.Amplitude, "2047");
        type(p.Offset, "100-");
        p.bOK->click();
    });
    ASSERT_EQ(v->Doc.PointCount(), 26);
    const auto c = codes(v);
    EXPECT_EQ(std::vector<uint16_t>(c.begin() + 9, c.begin() + 17),
              (std::vector<uint16_t>{9, 2458, 923, 923, 2970, 2970, 2458, 10}));
}

TEST_F(PasteOptionsTest, PreviewUndoAndCancelLeaveTheSnapshot) {
    TWFMform* w = window(8, 2048, 0, 7);
    const auto before = codes(w);
    paste("1 2 3 4", [&](TPasteOptions& p) {
        p.bPreview->click();
        EXPECT_NE(codes(w), before);
        EXPECT_TRUE(p.bUndo->isEnabled());
        p.bUndo->click();
        EXPECT_EQ(codes(w), before);
        choose(p, 3);
        p.bPreview->click();
        EXPECT_EQ(w->Doc.PointCount(), 12);
        p.bCancel->click();
    });
    EXPECT_EQ(codes(w), before);
    EXPECT_EQ(w->Doc.SaveState, 0);
}

// Leaving a field acts only after the user changed it, and OK pastes where the last
// preview did, although an inserting preview shows the whole waveform in Start and End.
TEST_F(PasteOptionsTest, OkPastesWhereThePreviewDid) {
    const struct {
        int mode;
        QLineEdit* TPasteOptions::*field;
        const char* keys; // typed into the field before the preview; "" visits it only
        int at;
    } cases[] = {
        {1, &TPasteOptions::Start, "", 10}, {2, &TPasteOptions::End, "", 13},
        {3, &TPasteOptions::Start, "", 0},  {4, &TPasteOptions::End, "", 20},
        {1, &TPasteOptions::Start, "5", 5}, {2, &TPasteOptions::End, "15", 16},
    };
    for (const auto& c : cases) {
        TWFMform* w = window(20, 2048, 10, 12);
        std::vector<uint16_t> previewed;
        paste("1 2 3 4", [&](TPasteOptions& p) {
            choose(p, c.mode);
            QLineEdit* field = p.*c.field;
            if (*c.keys)
                type(field, c.keys);
            leave(field);
            p.bPreview->click();
            EXPECT_EQ(p.Start->text().toStdString(), "0");
            EXPECT_EQ(p.End->text().toStdString(), "23");
            previewed = codes(w);
            leave(field);
            EXPECT_EQ(codes(w), previewed) << "leaving an unchanged field keeps the preview";
            p.bOK->click();
        });
        std::vector<uint16_t> want;
        for (uint16_t i = 0; i < 20; ++i)
            want.push_back(i);
        want.insert(want.begin() + c.at, {2558, 3070, 3582, 4094});
        EXPECT_EQ(codes(w), want) << "mode " << c.mode << ", typed " << c.keys;
        EXPECT_EQ(w->Doc.SelectionStart, 0);
        EXPECT_EQ(w->Doc.SelectionEnd, 23);
    }
}

// Enter in a field presses no button: nothing typed reaches a preview without its exit.
TEST_F(PasteOptionsTest, EnterInAFieldPressesNoButton) {
    TWFMform* w = window(20, 2048, 10, 12);
    const auto before = codes(w);
    paste("1 2 3 4", [&](TPasteOptions& p) {
        choose(p, 1);
        for (QLineEdit* field : {p.Start, p.End, p.Amplitude, p.Offset, p.Expand}) {
            type(field, "1\n");
            EXPECT_EQ(codes(w), before) << field->objectName().toStdString();
            EXPECT_FALSE(p.bUndo->isEnabled());
        }
        p.bCancel->click();
    });
}

TEST_F(PasteOptionsTest, F1OpensThePasteHelp) {
    window(20, 2048, 10, 12);
    paste("1 2 3 4", [&](TPasteOptions& p) {
        QTest::keyClick(&p, Qt::Key_F1);
        EXPECT_EQ(ui.events().back().kind, "help");
        EXPECT_EQ(ui.events().back().text, "10009");
        p.bCancel->click();
    });
}

TEST_F(PasteOptionsTest, TooFewNumbersOrTooLongATextShowNoDialog) {
    const struct {
        std::string text, message;
    } cases[] = {
        {"one 1", "No waveform data was\nfound on the clipboard."},
        {"1 2" + std::string(plotwell::workspace::kMaxClipboardText, ' '),
         "The clipboard text is longer than 105906176 characters,\ntoo long to paste."},
    };
    for (const auto& c : cases) {
        TWFMform* w = window(8, 2048, 0, 7);
        const auto before = codes(w);
        paste(c.text, [](TPasteOptions&) { ADD_FAILURE() << "the dialog was shown"; });
        EXPECT_EQ(ui.lastMessage(), c.message);
        EXPECT_EQ(codes(w), before);
        EXPECT_EQ(ui.count("exec"), 0);
    }
}

// A million numbers of 15 decimals make a text of about 19 MB: every one of them is pasted.
TEST_F(PasteOptionsTest, TheWholeTextIsRead) {
    std::string text;
    for (int i = 0; i < 1000000; ++i)
        text += "-0.890000000000000\n";
    window(8, 2048, 0, 7);
    paste(text, [](TPasteOptions& p) {
        EXPECT_EQ(p.ClipName->text().toStdString(), "Clipboard contents: Length = 1000000 points");
        p.bCancel->click();
    });
    EXPECT_TRUE(ui.messages().empty());
}

} // namespace
