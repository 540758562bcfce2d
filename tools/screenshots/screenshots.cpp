// Pictures of the waveform window, its zoom and draw modes, the sine and cardiac dialogs, the
// transfer set-up dialogs and the CSV preview, for looking at them with one's own eyes. Built on the tests'
// application fixture, so the program runs as it does under test: offscreen, with the scripted
// UI answering every modal window. tools/screenshots.sh builds and runs it; the PNG files go to
// PLOTWELL_SCREENSHOT_DIR.
#include "app_fixture.h"

#include "app/Plotdesk.h"
#include "app/wfmmenus.h"
#include "synthesis/forms/generator.h"
#include "transfer/forms/msgwnd.h"
#include "transfer/forms/setdload.h"
#include "workspace/forms/CSVPreview.h"
#include "workspace/forms/WorldView.h"
#include "workspace/forms/wfmchild.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPainter>
#include <QPushButton>
#include <QTest>

#include <cmath>
#include <cstdlib>
#include <fstream>

namespace {

class Screenshots : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        const char* dir = std::getenv("PLOTWELL_SCREENSHOT_DIR");
        ASSERT_TRUE(dir) << "set PLOTWELL_SCREENSHOT_DIR to the folder for the pictures";
        dir_ = dir;
    }
    QString picture(const std::string& name) const { return QString::fromStdString(dir_ + "/" + name); }
    // The frame with the overview window painted where it stands over it: a picture of the
    // widgets themselves, whatever the platform's screen holds.
    bool grabFrame(const std::string& name) const {
        processEvents();
        QImage shot = PWForm1->grab().toImage();
        if (World->isVisible()) {
            QPainter p(&shot);
            p.drawPixmap(World->geometry().topLeft() - PWForm1->geometry().topLeft(), World->grab());
        }
        return shot.save(picture(name));
    }

private:
    std::string dir_;
};

// A million-point sine with a selection and preview lines, and a new window's size with a
// 12-bit waveform, for the small layout.
TEST_F(Screenshots, WaveWindow) {
    PWForm1->resize(1280, 720);
    const int n = 1048576;
    TWFMform* w = newWindow(
        n, 32768,
        [](int i) {
            return uint16_t(32768 + 26000 * std::sin(i * 6.283185307 / 262144) +
                            ((i % 40000) == 0 ? 6000 : 0));
        },
        "/home/user/Plotwell/sine.wfm");
    w->subWindow()->move(10, 10);
    QMdiSubWindow* sw = w->subWindow();
    sw->resize(sw->size() - w->size() + QSize(1100, 460));
    processEvents();
    w->Doc.SelectionStart = 200000;
    w->Doc.SelectionEnd = 700000;
    w->MarkerAmplitude = 20000;
    w->MarkerOffset = 5000;
    w->FormPaint();
    w->PublishStatus();
    processEvents();
    EXPECT_TRUE(PWForm1->grab().save(picture("wave-window.png")));

    TWFMform* small = newWindow(
        1000, 2048, [](int i) { return uint16_t(2048 + 1800 * std::sin(i / 80.0)); }, "/tmp/w/wave.wfm");
    small->subWindow()->move(700, 150);
    small->Doc.SelectionStart = 100;
    small->Doc.SelectionEnd = 899;
    small->MarkerAmplitude = 1024;
    small->FormPaint();
    processEvents();
    EXPECT_TRUE(small->grab().save(picture("wave-window-small.png")));
}

// A million-point sine zoomed by a band, with the overview window; then a stroke in draw
// mode with the line that follows the pointer.
TEST_F(Screenshots, ZoomAndDraw) {
    PWForm1->resize(1200, 700);
    TWFMform* w = newWindow(
        1048576, 32768,
        [](int i) {
            return uint16_t(32768 + 26000 * std::sin(i * 6.283185307 / 262144) + (i % 30011) * 0.1);
        },
        "/tmp/w/wave.wfm");
    w->SetCaption(w->Doc.WaveName);
    w->FormPaint();
    w->subWindow()->move(10, 10);
    w->subWindow()->resize(900, 500);
    processEvents();
    drag(w, {200, 100}, {500, 300});
    w->PublishStatus();
    EXPECT_TRUE(grabFrame("zoom.png"));
    PWForm1->WaveMenus->Draw1->trigger();
    drag(w, {300, 200}, {600, 100});
    QTest::mouseMove(w, {700, 300});
    EXPECT_TRUE(grabFrame("draw.png"));
}

// The sine and cardiac dialogs over a window with their preview drawn, the dialog painted
// into the frame's picture at the top right.
TEST_F(Screenshots, Generators) {
    PWForm1->resize(1280, 720);
    struct Shot {
        QAction* item;
        const char* file;
    };
    for (const Shot& s : {Shot{PWForm1->WaveMenus->Sine1, "sine-dialog.png"},
                          Shot{PWForm1->WaveMenus->Cardiac1, "cardiac-dialog.png"}}) {
        const char* name = "/home/user/Plotwell/wave.wfm";
        TWFMform* w = newWindow(
            4000, 2048, [](int) { return uint16_t(2048); }, name);
        w->SetCaption(name);
        w->subWindow()->move(0, 0);
        w->subWindow()->resize(1100, 560);
        const QString path = picture(s.file);
        ui.onDialog([&](QDialog& d) {
            auto& g = dynamic_cast<TGeneratorForm&>(d);
            g.Amplitude->setText("3000");
            g.Amplitude->setModified(true);
            g.AmplitudeExit();
            g.BPreview->click();
            w->FormPaint();
            processEvents();
            // The dialog's own grab has no title bar: a strip above it carries the caption.
            QImage shot = PWForm1->grab().toImage();
            const QPixmap body = d.grab();
            const QRect title(shot.width() - body.width() - 20, 60, body.width(), 24);
            QPainter p(&shot);
            p.fillRect(title, d.palette().color(QPalette::Highlight));
            p.setPen(d.palette().color(QPalette::HighlightedText));
            p.drawText(title.adjusted(8, 0, -8, 0), Qt::AlignVCenter | Qt::AlignLeft, d.windowTitle());
            p.drawPixmap(title.bottomLeft() + QPoint(0, 1), body);
            p.end();
            EXPECT_TRUE(shot.save(path));
            g.BCancel->click();
        });
        s.item->trigger();
    }
}

// The download set-up dialog for an instrument on LAN, and the transfer status window.
TEST_F(Screenshots, TransferSettings) {
    const QString path = picture("settings-download-dialog.png");
    ui.onDialog([path](QDialog& d) {
        auto& dl = static_cast<TSetDownload&>(d);
        // Chosen as a user would: the row changes and the list reports the choice.
        for (auto [combo, row] : {std::pair{dl.Model, 11}, std::pair{dl.Destination, 4}}) {
            combo->setCurrentIndex(row); // QVS51xx, on LAN; "pattern1"
            emit combo->activated(row);
        }
        d.adjustSize();
        QApplication::processEvents();
        EXPECT_TRUE(d.grab().save(path));
        dl.bnOK->click();
    });
    PWForm1->Generatorsetup1Click();
    EXPECT_EQ(PWForm1->TransferSettings.dlDestination, "pattern1");

    MessageWnd->ShowStatus(0, "Downloading waveform data\nto QV7351A arb1", true);
    EXPECT_TRUE(MessageWnd->grab().save(picture("settings-status-window.png")));
    MessageWnd->hide();
}

// The CSV preview for a short clean column, a long one with illegal rows, the short one again
// and a file of more columns than the list offers: the dialog keeps its size and its label
// lines their places.
TEST_F(Screenshots, CsvPreview) {
    const std::string wide = tempFile("long.csv"), small = tempFile("small.csv"),
                      columns = tempFile("columns.csv");
    std::string rows = "time,volts\n";
    for (int i = 0; i < 100010; ++i)
        rows += std::to_string(i) + "," + std::to_string(std::sin(i / 3000.0)) + "\n";
    rows += "end,x\n";
    writeFile(wide, rows);
    writeFile(small, "0\n1\n0\n-1\n");
    std::string line = "0";
    for (int i = 1; i < 300; ++i)
        line += "," + std::to_string(i % 7);
    writeFile(columns, line + "\n" + line + "\n" + line + "\n");
    for (const auto& [file, png] :
         {std::pair{small, "csv-preview.png"}, std::pair{wide, "csv-preview-long.png"},
          std::pair{small, "csv-preview-again.png"}, std::pair{columns, "csv-preview-columns.png"}}) {
        const QString path = picture(png);
        ui.chooseFile(file);
        ui.onDialog([&](QDialog& d) {
            ImportCSV->CSVSelect->setCurrentIndex(ImportCSV->CSVSelect->count() - 1);
            emit ImportCSV->CSVSelect->activated(ImportCSV->CSVSelect->count() - 1);
            processEvents();
            EXPECT_TRUE(d.grab().save(path));
            ImportCSV->Cancel->click();
        });
        PWForm1->OpenCsvClick();
    }
}

} // namespace
