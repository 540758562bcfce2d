// Pictures of the waveform window, its zoom and draw modes, the sine and cardiac dialogs, the
// small dialogs, a message box, the transfer set-up dialogs and the CSV preview, for looking at
// them with one's own eyes. Built on the tests' application fixture, so the program runs as it
// does under test, with the scripted UI answering every modal window. tools/screenshots.sh builds
// and runs it; the PNG files go to PLOTWELL_SCREENSHOT_DIR. Offscreen (the default) a dialog's
// picture is its body under a strip with its caption; on an X server with a window manager
// (QT_QPA_PLATFORM=xcb) the pictures are taken from the screen, window frames and all.
#include "app_fixture.h"

#include "app/Plotdesk.h"
#include "app/wfmmenus.h"
#include "platform/qt_ui.h"
#include "synthesis/forms/Askname.h"
#include "synthesis/forms/generator.h"
#include "transfer/forms/msgwnd.h"
#include "transfer/forms/setdload.h"
#include "transfer/forms/setuload.h"
#include "workspace/forms/CSVPreview.h"
#include "workspace/forms/WorldView.h"
#include "workspace/forms/askclall.h"
#include "workspace/forms/wfmchild.h"
#include "workspace/forms/wfmsetup.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
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
    static bool onScreen() { return QGuiApplication::platformName() == QLatin1String("xcb"); }
    // What the screen shows around the frames of `windows`, once the window manager has
    // framed and placed the windows that were just shown.
    static QImage screenAround(std::initializer_list<const QWidget*> windows) {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 400)
            QApplication::processEvents(QEventLoop::AllEvents, 20);
        QRect area;
        for (const QWidget* w : windows)
            if (w->isVisible())
                area |= w->frameGeometry();
        const QRect r = area.adjusted(-10, -10, 10, 10);
        return QGuiApplication::primaryScreen()->grabWindow(0, r.x(), r.y(), r.width(), r.height()).toImage();
    }
    // The frame with the overview window painted where it stands over it: a picture of the
    // widgets themselves, whatever the platform's screen holds.
    bool grabFrame(const std::string& name) const {
        processEvents();
        if (onScreen())
            return screenAround({PWForm1, World}).save(picture(name));
        QImage shot = PWForm1->grab().toImage();
        if (World->isVisible()) {
            QPainter p(&shot);
            p.drawPixmap(World->geometry().topLeft() - PWForm1->geometry().topLeft(), World->grab());
        }
        return shot.save(picture(name));
    }
    // A dialog as the user sees it: offscreen its body under a strip with its caption.
    static QImage dialogPicture(QWidget& d) {
        QApplication::processEvents();
        if (onScreen())
            return screenAround({&d});
        const QPixmap body = d.grab();
        QImage shot(body.width(), body.height() + 24, QImage::Format_RGB32);
        QPainter p(&shot);
        paintCaption(p, d, {0, 0, body.width(), 24});
        p.drawPixmap(0, 24, body);
        return shot;
    }
    // The strip that stands for the title bar in offscreen pictures.
    static void paintCaption(QPainter& p, const QWidget& d, const QRect& title) {
        p.fillRect(title, d.palette().color(QPalette::Highlight));
        p.setPen(d.palette().color(QPalette::HighlightedText));
        p.drawText(title.adjusted(8, 0, -8, 0), Qt::AlignVCenter | Qt::AlignLeft, d.windowTitle());
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
    // Shown again: where the first showing put it.
    w->ZoomAllClick();
    drag(w, {300, 150}, {600, 350});
    EXPECT_TRUE(grabFrame("zoom-again.png"));
    w->ZoomAllClick();
    PWForm1->WaveMenus->Draw1->trigger();
    drag(w, {300, 200}, {600, 100});
    QTest::mouseMove(w, {700, 300});
    EXPECT_TRUE(grabFrame("draw.png"));
    w->FinishDrawClick();

    // The read-out of long coordinates, near the end of a 200,000-point window.
    TWFMform* d = newWindow(
        200000, 32768, [](int i) { return uint16_t(32768 + 20000 * std::sin(i / 9000.0)); },
        "/tmp/w/long.wfm");
    d->SetCaption(d->Doc.WaveName);
    d->subWindow()->move(20, 20);
    d->subWindow()->resize(500, 300);
    d->FormPaint();
    processEvents();
    PWForm1->WaveMenus->Draw1->trigger();
    QTest::mouseMove(d, {d->MarginLeft + d->PlotWidth - 4, d->MarginTop + d->PlotHeight * 9 / 10});
    processEvents();
    EXPECT_TRUE(d->grab().save(picture("draw-readout.png")));
    d->FinishDrawClick();
}

// The small dialogs whose captions are long for their bodies, the harmonics table with its
// column headings, and a message box.
TEST_F(Screenshots, SmallDialogs) {
    PWForm1->resize(1000, 700);
    const auto shoot = [this](const char* file) {
        return [this, file](QDialog& d) { EXPECT_TRUE(dialogPicture(d).save(picture(file))); };
    };
    newWindow(
        100, 32768, [](int) { return uint16_t(32768); }, "wave");
    ui.onDialog(shoot("harmonics-dialog.png"));
    PWForm1->WaveMenus->HarmonicsGenerator1->trigger();
    TWFMform* w = newWindow();
    ui.onDialog(shoot("wave-setup-dialog.png"));
    WaveSetup->ShowModal();
    w->Doc.PatternRequest = 1;
    ui.onDialog(shoot("pattern-setup-dialog.png"));
    WaveSetup->ShowModal();
    ui.onDialog(shoot("askname-dialog.png"));
    AskNameForm->ShowModal();
    AskCloseAllDlg->Label1->setText(
        "File a logger file with a name of some length.dta contains multiple waveforms");
    ui.onDialog(shoot("close-all-dialog.png"));
    AskCloseAllDlg->ShowModal();

    TWFMform* p = newWindow(
        40, 32768, [](int i) { return uint16_t(i % 3 ? 0xFFFF : 0); }, "pat1");
    p->Doc.FileType = plotwell::workspace::WaveFileType::BitPattern;
    p->Doc.IsBitPattern = 1;
    p->UpdateTypeMenus();
    ui.onDialog(shoot("bit-pattern-dialog.png"));
    PWForm1->WaveMenus->EditBitPattern1->trigger();

    const auto box = plotwell::platform::QtUi::makeMessageBox(
        plotwell::platform::kAppTitle, "Title error\na title must be specified",
        plotwell::platform::Icon::Error, plotwell::platform::ButtonOk);
    box->show();
    EXPECT_TRUE(dialogPicture(*box).save(picture("message-box.png")));
    box->hide();
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
            paintCaption(p, d, title);
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
        EXPECT_TRUE(dialogPicture(d).save(path));
        dl.bnOK->click();
    });
    PWForm1->Generatorsetup1Click();
    EXPECT_EQ(PWForm1->TransferSettings.dlDestination, "pattern1");
    const QString upload = picture("settings-upload-dialog.png");
    ui.onDialog([upload](QDialog& d) {
        EXPECT_TRUE(dialogPicture(d).save(upload));
        static_cast<TSetUpload&>(d).bnCancel->click();
    });
    PWForm1->Oscilloscopesetup1Click();

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
