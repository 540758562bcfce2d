// File > Print waveform: the set-up opens with landscape chosen, a cancelled set-up prints
// nothing, a page goes to a PDF file, and a file that cannot be written is reported.

#include "app_fixture.h"

#include "app/Plotdesk.h"
#include "app/wfmmenus.h"
#include "workspace/forms/wfmchild.h"

#include <QAction>
#include <QPrinter>

#include <filesystem>
#include <memory>

using plotwell::workspace::SampleStream;

namespace {

class PrintTest : public AppTest {
protected:
    TWFMform* window() {
        TWFMform* w = newWindow();
        *w->Doc.SampleStream = SampleStream(2048, 1000);
        for (int i = 0; i < 1000; ++i)
            w->Doc.SampleStream->setCode(std::size_t(i), uint16_t(2048 + 2000 * ((i / 100) % 2 ? 1 : -1)));
        w->Doc.FileType = plotwell::workspace::WaveFileType::Internal;
        w->Doc.WaveName = "/data/square.wfm";
        w->Doc.SelectionStart = 0;
        w->Doc.SelectionEnd = 999;
        processEvents();
        return w;
    }
    static void print() { PWForm1->WaveMenus->Print1->trigger(); }
};

TEST_F(PrintTest, APageGoesToThePdfChosenAndTheWindowLayoutStays) {
    TWFMform* w = window();
    const auto layout = w->Layout();
    const std::string pdf = tempFile("page.pdf");
    QPageLayout::Orientation offered = QPageLayout::Portrait;
    ui.printerAnswer(true, [&](QPrinter& p) {
        offered = p.pageLayout().orientation();
        p.setOutputFormat(QPrinter::PdfFormat);
        p.setOutputFileName(QString::fromStdString(pdf));
    });
    print();
    EXPECT_EQ(offered, QPageLayout::Landscape);
    ASSERT_TRUE(std::filesystem::exists(pdf));
    EXPECT_GT(std::filesystem::file_size(pdf), 1000u);
    EXPECT_EQ(w->Layout(), layout);
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_EQ(PWForm1->WaveMenus->Print1->shortcut(), QKeySequence("Ctrl+P"));
}

TEST_F(PrintTest, ACancelledSetUpPrintsNothingAndAnUnwritableFileIsReported) {
    window();
    const std::string pdf = tempFile("never.pdf");
    ui.printerAnswer(false, [&](QPrinter& p) {
        p.setOutputFormat(QPrinter::PdfFormat);
        p.setOutputFileName(QString::fromStdString(pdf));
    });
    print();
    EXPECT_FALSE(std::filesystem::exists(pdf));
    EXPECT_TRUE(ui.messages().empty());

    const std::string bad = tempFile("no/such/folder/page.pdf");
    ui.printerAnswer(true, [&](QPrinter& p) {
        p.setOutputFormat(QPrinter::PdfFormat);
        p.setOutputFileName(QString::fromStdString(bad));
    });
    print();
    EXPECT_EQ(ui.lastMessage(),
              "The waveform could not be printed:\nthe file " + bad + " could not be opened.");
}

} // namespace
