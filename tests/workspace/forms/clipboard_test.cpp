// Copy, Cut and Paste into an empty window, driven through the window's menu items, with the
// clipboard of the offscreen platform (a real QClipboard inside the process).

#include "app_fixture.h"

#include "app/Plotdesk.h"
#include "app/wfmmenus.h"
#include "workspace/core/clipboard_numbers.h"
#include "workspace/core/sample_stream.h"
#include "workspace/forms/wfmchild.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMimeData>

#include <memory>
#include <string>
#include <vector>

using plotwell::platform::Answer;
using plotwell::workspace::SampleStream;

namespace {

class ClipboardTest : public AppTest {
protected:
    TWFMform* window(const std::vector<uint16_t>& codes, uint16_t r, const char* name = "/tmp/w/wave.wfm") {
        TWFMform* w = newWindow();
        w->Doc.SampleStream = std::make_unique<SampleStream>();
        w->Doc.SampleStream->assign(r, codes);
        w->Doc.FileType = plotwell::workspace::WaveFileType::Internal;
        w->Doc.WaveName = name;
        w->SetCaption(name);
        w->Doc.SelectionStart = 0;
        w->Doc.SelectionEnd = int(codes.size()) - 1;
        return w;
    }
    static TWaveMenus& menus() { return *PWForm1->WaveMenus; }
    static void setClipboardText(const std::string& text) {
        QApplication::clipboard()->setText(QString::fromStdString(text));
    }
    static std::string clipboardText() { return QApplication::clipboard()->text().toStdString(); }
    // Edit > Paste, the Edit menu opened first (it enables Paste when there is text).
    static void paste() {
        emit menus().Edit1->aboutToShow();
        menus().Paste1->trigger();
    }
};

TEST_F(ClipboardTest, CopyPutsTextPictureAndImageOnTheClipboardAndKeepsTheWindowLayout) {
    TWFMform* w = window({0, 32768, 65535, 40000}, 1);
    processEvents();
    w->Doc.SelectionStart = 0;
    w->Doc.SelectionEnd = 2;
    const auto layout = w->Layout();
    menus().Copy1->trigger();
    EXPECT_EQ(clipboardText(), "-1.00000\n+0.00000\n+0.99997\n");
    const QMimeData* data = QApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    const std::string svg = data->data("image/svg+xml").toStdString();
    EXPECT_NE(svg.find("viewBox=\"0 0 682 543\""), std::string::npos);
    EXPECT_NE(svg.find("wave.wfm"), std::string::npos);
    const QImage image = qvariant_cast<QImage>(data->imageData());
    EXPECT_EQ(image.size(), w->size());
    EXPECT_EQ(w->Layout(), layout);
    EXPECT_EQ(menus().Copy1->shortcut(), QKeySequence("Ctrl+C"));
}

TEST_F(ClipboardTest, CopyOfAnEmptyWindowLeavesTheClipboardAlone) {
    setClipboardText("kept");
    TWFMform* w = newWindow();
    w->Doc.WaveName = "Untitled";
    menus().Copy1->trigger();
    EXPECT_EQ(ui.lastMessage(), "Untitled\nThere is no waveform data to\ncopy to the clipboard.");
    EXPECT_EQ(ui.count("beep"), 1);
    EXPECT_EQ(clipboardText(), "kept");
}

TEST_F(ClipboardTest, CutRemovesTheSelectionAndCancelBringsItBack) {
    const std::vector<uint16_t> codes{10, 20, 30, 40, 50};
    for (const Answer a : {Answer::Cancel, Answer::Ok}) {
        TWFMform* w = window(codes, 2048);
        w->Doc.SaveState = 0;
        w->Doc.SelectionStart = 1;
        w->Doc.SelectionEnd = 3;
        ui.answer(a);
        menus().Cut1->trigger();
        EXPECT_EQ(ui.lastMessage(), "Cut from /tmp/w/wave.wfm");
        EXPECT_EQ(clipboardText(), "-0.99023\n-0.98535\n-0.98047\n");
        const auto kept = w->Doc.SampleStream->codes();
        if (a == Answer::Cancel) {
            EXPECT_EQ(std::vector<uint16_t>(kept.begin(), kept.end()), codes);
            EXPECT_EQ(w->Doc.SelectionEnd, 3);
            EXPECT_EQ(w->Doc.SaveState, 0);
        } else {
            EXPECT_EQ(std::vector<uint16_t>(kept.begin(), kept.end()), (std::vector<uint16_t>{10, 50}));
            EXPECT_EQ(w->Doc.SelectionStart, 1);
            EXPECT_EQ(w->Doc.SelectionEnd, 1);
            EXPECT_EQ(w->Caption(), "/tmp/w/wave.wfm (Modified)");
            EXPECT_EQ(w->Doc.SaveState, 1);
        }
    }
}

TEST_F(ClipboardTest, CutOfTheEndOrOfEverythingKeepsWhatIsLeft) {
    struct Case {
        int32_t start, end;
        std::vector<uint16_t> kept; // after the reference word, which stays
    };
    const Case cases[] = {{3, 4, {1, 2, 3}}, {2, 4, {1, 2}}, {0, 4, {}}};
    for (const Case& c : cases) {
        TWFMform* w = window({1, 2, 3, 4, 5}, 2048);
        w->Doc.SelectionStart = c.start;
        w->Doc.SelectionEnd = c.end;
        ui.answer(Answer::Ok);
        menus().Cut1->trigger();
        const auto kept = w->Doc.SampleStream->codes();
        EXPECT_EQ(std::vector<uint16_t>(kept.begin(), kept.end()), c.kept) << c.start << ".." << c.end;
        EXPECT_EQ(w->Doc.SampleStream->reference(), 2048);
    }
}

TEST_F(ClipboardTest, CuttingEverythingShowsTheEmptyWindowsStatus) {
    window(std::vector<uint16_t>(4096, 2100), 2048);
    processEvents();
    menus().Selectall1->trigger();
    ui.answer(Answer::Ok);
    menus().Cut1->trigger();
    EXPECT_EQ(statusPanel(), (std::vector<std::string>{"   Status wave.wfm:", "   Start 0:", "Value    +0:",
                                                       "   End 0:", "Value    +0:", "   Length 0:"}));
}

TEST_F(ClipboardTest, PasteIntoAnEmptyWindowMakesANormalisedWaveform) {
    setClipboardText("0.5\n-1\n1\n");
    TWFMform* w = newWindow();
    paste();
    ASSERT_TRUE(w->Doc.SampleStream);
    const auto c = w->Doc.SampleStream->codes();
    EXPECT_EQ(std::vector<uint16_t>(c.begin(), c.end()), (std::vector<uint16_t>{49151, 1, 65535}));
    EXPECT_EQ(w->Doc.SampleStream->reference(), 1);
    EXPECT_EQ(w->Caption(), "Clipboard data  (Not Stored)");
    EXPECT_EQ(w->Doc.WaveName, "Clipboard data  (Not Stored)");
    EXPECT_EQ(w->Doc.FileType, plotwell::workspace::WaveFileType::NotFromFile);
    EXPECT_EQ(w->Doc.SaveState, 1);
    EXPECT_EQ(w->Doc.SelectionEnd, 2);
}

// A million numbers of 15 decimals make a text of about 19 MB: every one of them is pasted.
TEST_F(ClipboardTest, PasteIntoAnEmptyWindowTakesTheWholeText) {
    std::string text;
    for (int i = 0; i < 1000000; ++i)
        text += i % 2 ? "-0.890000000000000\n" : "+0.445000000000000\n";
    setClipboardText(text);
    TWFMform* w = newWindow();
    paste();
    ASSERT_TRUE(w->Doc.SampleStream);
    ASSERT_EQ(w->Doc.PointCount(), 1000000);
    EXPECT_EQ(w->Doc.SampleStream->codes().back(), 1);
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(ClipboardTest, PasteIntoAnEmptyWindowRefusesTooFewAndTooManyNumbers) {
    std::string many;
    for (int i = 0; i < 1048577; ++i)
        many += "1\n";
    const struct {
        std::string text, message;
    } cases[] = {
        {"just 1 number", "Untitled\nNo waveform data was\nfound on the clipboard."},
        {many, "Untitled\nThe clipboard holds more than 1048576 numbers,\ntoo many for one waveform."},
        {"1 2" + std::string(plotwell::workspace::kMaxClipboardText, ' '),
         "Untitled\nThe clipboard text is longer than 105906176 characters,\ntoo long to paste."},
    };
    for (const auto& c : cases) {
        setClipboardText(c.text);
        TWFMform* w = newWindow();
        w->Doc.WaveName = "Untitled";
        paste();
        EXPECT_EQ(ui.lastMessage(), c.message);
        EXPECT_EQ(w->Doc.FileType, plotwell::workspace::WaveFileType::None);
        EXPECT_FALSE(w->Doc.SampleStream && w->Doc.SampleStream->hasPoints());
    }
}

} // namespace
