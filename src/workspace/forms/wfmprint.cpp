// Printing the graph: one page, landscape unless portrait is chosen in the set-up, laid out
// in printer pixels with a layout of its own (the window's stays as its last paint left it).

#include "workspace/forms/wfmchild.h"

#include "common/numtext.h"
#include "platform/canvas_painter.h"
#include "platform/posix/atomic_file.h"
#include "platform/posix/folders.h"
#include "platform/qstring.h"
#include "platform/screen_cursor.h"
#include "workspace/core/picture.h"

#include <QBuffer>
#include <QFontMetrics>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

#include <string_view>

using namespace plotwell;

void TWFMform::Print1Click() {
    // The label offsets of the page (200 and 100 printer pixels left of their places) are
    // made for a 300 dpi page: at 1200 dpi the value labels would run into the plot.
    QPrinter printer(QPrinter::PrinterResolution);
    printer.setResolution(300);
    printer.setPageOrientation(QPageLayout::Landscape);
    if (!platform::ui().printerSetup(printer, this))
        return;
    PrintTo(printer);
}

bool TWFMform::PrintTo(QPrinter& printer) {
    platform::BusyCursor busy;
    const QString title = platform::toQString("Plotwell: " + platform::fileNameOnly(Doc.WaveName));
    printer.setDocName(title);
    const std::string file = printer.outputFileName().toStdString();
    if (file.empty()) {
        QPainter p;
        if (!p.begin(&printer)) {
            platform::errorBox(
                common::cformat("The waveform could not be printed:\nthe printer \"%s\" could not be opened.",
                                printer.printerName().toStdString().c_str()));
            return false;
        }
        paintPage(p, printer);
        if (!p.end()) {
            platform::errorBox("The waveform could not be printed:\nthe page could not be finished.");
            return false;
        }
        return true;
    }
    // A PDF file is made in memory and written as the waveform files are, beside the old
    // file and then renamed over it: the printer's own file output neither reports a failed
    // write nor spares the old file, so a full disk would leave a torn PDF in its place.
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        writer.setPdfVersion(printer.pdfVersion());
        writer.setResolution(printer.resolution());
        writer.setPageLayout(printer.pageLayout());
        writer.setTitle(title);
        writer.setCreator(printer.creator());
        QPainter p;
        if (p.begin(&writer)) {
            paintPage(p, writer);
            p.end();
        }
    }
    const QByteArray& bytes = pdf.data();
    if (bytes.isEmpty() || !platform::writeFileAtomically(
                               file, std::string_view(bytes.constData(), std::size_t(bytes.size())))) {
        platform::errorBox(common::cformat(
            "The waveform could not be printed:\nthe file %s could not be written.", file.c_str()));
        return false;
    }
    return true;
}

void TWFMform::paintPage(QPainter& p, QPagedPaintDevice& page) {
    QFont font = p.font();
    font.setPointSize(12);
    p.setFont(font);
    const int t = QFontMetrics(font, &page).height();
    const bool portrait = page.pageLayout().orientation() == QPageLayout::Portrait;
    const workspace::PlotLayout l = workspace::printLayout(page.width(), page.height(), portrait);
    platform::PainterCanvas canvas(p);
    workspace::GraphInput in = GraphData();
    in.bitPattern = false;
    workspace::drawPrintout(canvas, l, in, Doc.WaveName, t);
}
