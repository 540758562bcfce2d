// Pictures of the waveform window and of the transfer set-up dialogs, for looking at them
// with one's own eyes. Built on the tests' application fixture, so the program runs as it
// does under test: offscreen, with the scripted UI answering every modal window.
// tools/screenshots.sh builds and runs it; the PNG files go to PLOTWELL_SCREENSHOT_DIR.
#include "app_fixture.h"

#include "app/Plotdesk.h"
#include "transfer/forms/msgwnd.h"
#include "transfer/forms/setdload.h"
#include "workspace/forms/wfmchild.h"

#include <QApplication>
#include <QComboBox>
#include <QMdiSubWindow>
#include <QPushButton>

#include <cmath>
#include <cstdlib>

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

} // namespace
