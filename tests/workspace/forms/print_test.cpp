// File > Print waveform: the set-up opens with landscape chosen, a cancelled set-up prints
// nothing, a page goes whole to a PDF file on the page chosen, and a file that cannot be
// written is reported and leaves the old file as it was.

#include "app_fixture.h"

#include "app/Plotdesk.h"
#include "app/wfmmenus.h"
#include "workspace/forms/wfmchild.h"

#include <QAction>
#include <QPrinter>

#include <array>
#include <charconv>
#include <csignal>
#include <filesystem>
#include <memory>
#include <optional>
#include <regex>
#include <string_view>
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

// Bytes made readable in a message: line ends and other bytes outside printable ASCII
// escaped.
std::string escaped(std::string_view bytes) {
    std::string out;
    for (const char ch : bytes) {
        if (ch == '\n')
            out += "\\n";
        else if (ch == '\r')
            out += "\\r";
        else if (ch < ' ' || ch > '~')
            out += "\\x" + QByteArray(1, ch).toHex().toStdString();
        else
            out += ch;
    }
    return out;
}

// Whether a PDF is whole: its last line is the end-of-file marker, and the offset after
// "startxref" is where the cross-reference table begins. Qt's writer ends the marker's line
// with a line end, so a file one byte short ends in a bare "%%EOF" and is not whole.
::testing::AssertionResult wholePdf(const std::string& pdf) {
    if (!pdf.ends_with("%%EOF\n") && !pdf.ends_with("%%EOF\r\n"))
        return ::testing::AssertionFailure()
               << "its last line is not %%EOF: it ends with \""
               << escaped(std::string_view(pdf).substr(pdf.size() - std::min<std::size_t>(pdf.size(), 16)))
               << "\"";
    const std::size_t at = pdf.rfind("startxref");
    const std::size_t digits = at == std::string::npos ? at : pdf.find_first_not_of(" \r\n", at + 9);
    std::size_t xref = 0;
    if (digits == std::string::npos ||
        std::from_chars(pdf.data() + digits, pdf.data() + pdf.size(), xref).ec != std::errc())
        return ::testing::AssertionFailure() << "it has no startxref offset";
    if (pdf.compare(std::min(xref, pdf.size()), 4, "xref") != 0)
        return ::testing::AssertionFailure() << "startxref " << xref << " is not where the xref table begins";
    return ::testing::AssertionSuccess();
}

// A PDF page box: left, bottom, right and top, in points.
using PageBox = std::array<double, 4>;

// The /MediaBox of each page object of a PDF whose object dictionaries are written
// uncompressed, as Qt's writer writes them; a page object without one gives all zeros.
std::vector<PageBox> pageBoxes(const std::string& pdf) {
    static const std::regex page(R"(/Type\s*/Page\b)");
    static const std::regex box(R"(/MediaBox\s*\[\s*(\S+)\s+(\S+)\s+(\S+)\s+([^\s\]]+)\s*\])");
    std::vector<PageBox> boxes;
    for (std::size_t at = pdf.find(" obj"); at != std::string::npos; at = pdf.find(" obj", at + 1)) {
        // The dictionary ends where the object or its stream does.
        const std::string dict =
            pdf.substr(at, std::min(pdf.find("endobj", at), pdf.find("stream", at)) - at);
        if (!std::regex_search(dict, page))
            continue;
        PageBox& b = boxes.emplace_back();
        std::smatch m;
        if (std::regex_search(dict, m, box)) {
            for (std::size_t i = 0; i < b.size(); ++i)
                std::from_chars(&*m[i + 1].first, &*m[i + 1].first + m[i + 1].length(), b[i]);
        }
    }
    return boxes;
}

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

// The file holds one page, whole, of the size and orientation that the set-up leaves the
// printer with: landscape as it is offered, portrait when the user chooses it there.
TEST_F(PrintTest, ThePdfHoldsOneWholePageAsTheSetUpLeftIt) {
    struct Case {
        const char* name;
        std::optional<QPageLayout::Orientation> chosen;
        QPageLayout::Orientation printed;
    };
    const Case cases[] = {
        {"landscape as offered", std::nullopt, QPageLayout::Landscape},
        {"portrait chosen", QPageLayout::Portrait, QPageLayout::Portrait},
    };
    window();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string pdf = tempFile(std::string(c.name) + ".pdf");
        QPageLayout layout;
        ui.printerAnswer(true, [&](QPrinter& p) {
            if (c.chosen)
                p.setPageOrientation(*c.chosen);
            p.setOutputFormat(QPrinter::PdfFormat);
            p.setOutputFileName(QString::fromStdString(pdf));
            layout = p.pageLayout();
        });
        print();
        ASSERT_TRUE(ui.messages().empty());
        EXPECT_EQ(layout.orientation(), c.printed);
        const std::string bytes = readFile(pdf);
        EXPECT_TRUE(wholePdf(bytes));
        const std::vector<PageBox> boxes = pageBoxes(bytes);
        ASSERT_EQ(boxes.size(), 1u);
        const QRect page = layout.fullRectPoints();
        EXPECT_EQ(boxes[0], (PageBox{0, 0, double(page.width()), double(page.height())}));
        const double wide = boxes[0][2] - boxes[0][0], high = boxes[0][3] - boxes[0][1];
        EXPECT_EQ(wide > high, c.printed == QPageLayout::Landscape);
        EXPECT_EQ(high > wide, c.printed == QPageLayout::Portrait);
    }
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
