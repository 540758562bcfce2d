// Printing the graph: one page, landscape unless portrait is chosen in the set-up, laid out
// in printer pixels with a layout of its own (the window's stays as its last paint left it).

#include "workspace/forms/wfmchild.h"

#include "common/numtext.h"
#include "platform/canvas_painter.h"
#include "platform/posix/folders.h"
#include "platform/qstring.h"
#include "platform/screen_cursor.h"
#include "workspace/core/picture.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>

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
    printer.setDocName(platform::toQString("Plotwell: " + platform::fileNameOnly(Doc.WaveName)));
    QPainter p;
    if (!p.begin(&printer)) {
        const std::string where = printer.outputFileName().isEmpty()
                                      ? "the printer \"" + printer.printerName().toStdString() + "\""
                                      : "the file " + printer.outputFileName().toStdString();
        platform::errorBox(
            common::cformat("The waveform could not be printed:\n%s could not be opened.", where.c_str()));
        return false;
    }
    QFont font = p.font();
    font.setPointSize(12);
    p.setFont(font);
    const int t = QFontMetrics(font, &printer).height();
    const bool portrait = printer.pageLayout().orientation() == QPageLayout::Portrait;
    const workspace::PlotLayout l = workspace::printLayout(printer.width(), printer.height(), portrait);
    platform::PainterCanvas canvas(p);
    workspace::GraphInput in = GraphData();
    in.bitPattern = false;
    workspace::drawPrintout(canvas, l, in, Doc.WaveName, t);
    if (!p.end()) {
        platform::errorBox("The waveform could not be printed:\nthe page could not be finished.");
        return false;
    }
    return true;
}
