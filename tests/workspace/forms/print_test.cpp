// File > Print waveform: the set-up opens with landscape chosen, a cancelled set-up prints
// nothing, a page goes to a PDF file, and a file that cannot be written is reported and
// leaves the old file as it was.

#include "app_fixture.h"

#include "app/Plotdesk.h"
#include "app/wfmmenus.h"
#include "workspace/forms/wfmchild.h"

#include <QAction>
#include <QPrinter>

#include <csignal>
#include <filesystem>
#include <memory>
#include <sys/resource.h>

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
    void printTo(const std::string& pdf) {
        ui.printerAnswer(true, [pdf](QPrinter& p) {
            p.setOutputFormat(QPrinter::PdfFormat);
            p.setOutputFileName(QString::fromStdString(pdf));
        });
        print();
    }
};

// While it lives, no file of this program grows past `bytes`: a write beyond them fails as
// on a full disk (the limit's signal is ignored, so the write reports the error).
class DiskFullAfter {
public:
    explicit DiskFullAfter(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &old_);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    }
    ~DiskFullAfter() {
        ::setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    DiskFullAfter(const DiskFullAfter&) = delete;
    DiskFullAfter& operator=(const DiskFullAfter&) = delete;

private:
    rlimit old_{};
    void (*oldHandler_)(int) = SIG_DFL;
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
    printTo(bad);
    EXPECT_EQ(ui.lastMessage(),
              "The waveform could not be printed:\nthe file " + bad + " could not be written.");
}

TEST_F(PrintTest, AFullDiskLeavesTheOldFileAsItWasAndIsReported) {
    window();
    const std::string whole = tempFile("whole.pdf");
    printTo(whole);
    const std::string page = readFile(whole);
    ASSERT_GT(page.size(), 4096u);
    // A new file and an old one to replace, each on a disk that fills after 4096 bytes.
    for (const std::string old : {"", "%PDF old page"}) {
        SCOPED_TRACE(old);
        const std::string pdf = tempFile("full.pdf");
        std::filesystem::remove(pdf);
        if (!old.empty())
            writeFile(pdf, old);
        ui.clear();
        {
            const DiskFullAfter full(4096);
            printTo(pdf);
        }
        EXPECT_EQ(ui.messages(), std::vector<std::string>{"The waveform could not be printed:\nthe file " +
                                                          pdf + " could not be written."});
        EXPECT_EQ(std::filesystem::exists(pdf), !old.empty());
        if (!old.empty()) {
            EXPECT_EQ(readFile(pdf), old);
        }
    }
    // Nothing half-written is left beside them.
    std::vector<std::string> files;
    for (const auto& e : std::filesystem::directory_iterator(tempDir()))
        files.push_back(e.path().filename().string());
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::string>{"full.pdf", "whole.pdf"}));
}

} // namespace
