#include "app_fixture.h"

#include "transfer/forms/TekRef.h"
#include "transfer/forms/msgwnd.h"
#include "transfer/forms/zelodlg.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

using namespace plotwell;

namespace {
// Runs the event loop until `done` holds or `ms` passed.
template <class F> bool waitFor(F done, int ms) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}
} // namespace

TEST_F(AppTest, TheStatusWindowHidesItselfAfterItsInterval) {
    MessageWnd->ShowStatus(30, "Saving wave.wfm", false);
    EXPECT_TRUE(MessageWnd->isVisible());
    EXPECT_EQ(MessageWnd->windowTitle().toStdString(), "Plotwell");
    EXPECT_EQ(MessageWnd->Panel1->text().toStdString(), "Saving wave.wfm");
    EXPECT_FALSE(MessageWnd->bnCancel->isVisible());
    EXPECT_EQ(MessageWnd->height(), TMessageWnd::kHeightPlain);
    EXPECT_TRUE(waitFor([] { return !MessageWnd->isVisible(); }, 5000));
    EXPECT_FALSE(MessageWnd->Timer1->isActive());

    // Interval 0: it stays until its caller hides it.
    MessageWnd->ShowStatus(0, "Downloading", false);
    waitFor([] { return false; }, 80);
    EXPECT_TRUE(MessageWnd->isVisible());
    MessageWnd->hide();
}

TEST_F(AppTest, CancelIsRecordedUntilTheNextStatus) {
    MessageWnd->ShowStatus(0, "Downloading waveform", true);
    EXPECT_TRUE(MessageWnd->bnCancel->isVisible());
    EXPECT_EQ(MessageWnd->height(), TMessageWnd::kHeightWithCancel);
    EXPECT_TRUE(MessageWnd->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(MessageWnd->Cancelled);
    MessageWnd->bnCancel->click();
    EXPECT_TRUE(MessageWnd->Cancelled);
    EXPECT_TRUE(MessageWnd->isVisible()); // the transfer hides it when it stops

    MessageWnd->ShowStatus(0, "Uploading", false);
    EXPECT_FALSE(MessageWnd->Cancelled);
    EXPECT_FALSE(MessageWnd->bnCancel->isVisible());
    EXPECT_TRUE(MessageWnd->windowFlags() & Qt::WindowStaysOnTopHint); // stays on top

    // Escape is the Cancel button while it is shown, and does nothing without it.
    MessageWnd->reject();
    EXPECT_FALSE(MessageWnd->Cancelled);
    EXPECT_TRUE(MessageWnd->isVisible());
    MessageWnd->ShowStatus(0, "Downloading waveform", true);
    MessageWnd->reject();
    EXPECT_TRUE(MessageWnd->Cancelled);
    EXPECT_TRUE(MessageWnd->isVisible());
    MessageWnd->hide();
}

TEST_F(AppTest, TheReferenceSizeDialogGivesTheChosenLength) {
    int length = 0;
    ui.onDialog([](QDialog& d) {
        auto& t = static_cast<TSetTekRef&>(d);
        EXPECT_EQ(t.windowTitle().toStdString(), "Set reference location size");
        EXPECT_EQ(t.Label1->text().toStdString(), "TDS5xx REF2 size");
        EXPECT_EQ(t.NoPoints->currentIndex(), 0);
        EXPECT_EQ(t.NoPoints->count(), 7);
        t.NoPoints->setCurrentIndex(4);
        t.bnOK->click();
    });
    EXPECT_TRUE(SetTekRef->AskRecordLength("TDS5xx", "REF2", length));
    EXPECT_EQ(length, 15000);
    EXPECT_FALSE(SetTekRef->windowFlags() & Qt::WindowCloseButtonHint);

    ui.onDialog([](QDialog& d) { static_cast<TSetTekRef&>(d).bnCancel->click(); });
    length = 0;
    EXPECT_FALSE(SetTekRef->AskRecordLength("TDS5xx", "REF2", length));
    EXPECT_EQ(length, 0);
}

TEST_F(AppTest, TheDataLoggerPositionDialog) {
    EXPECT_EQ(ZELOSaveDialog->windowTitle().toStdString(), "ZELO filr position");
    EXPECT_EQ(ZELOSaveDialog->Position->count(), 0);
    EXPECT_EQ(ZELOSaveDialog->Length->currentText().toStdString(), "0");
    ui.onDialog([](QDialog& d) { static_cast<TZELOSaveDialog&>(d).bnOK->click(); });
    EXPECT_EQ(ZELOSaveDialog->ShowModal(), 1);
}
