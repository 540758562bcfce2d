#include "app_fixture.h"

#include "app/Plotdesk.h"
#include "support/pty_pair.h"
#include "transfer/forms/instrument_links.h"
#include "transfer/forms/setcoms.h"
#include "transfer/forms/setdload.h"
#include "transfer/forms/setuload.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <cstdlib>
#include <cstring>

using namespace plotwell;
using platform::FlowControl;
using platform::Parity;
using platform::SerialLineSettings;
using platform::StopBits;

namespace {

void choose(QComboBox* combo, int row) {
    combo->setCurrentIndex(row);
    emit combo->activated(row);
}

TSetRS232& rs232(QDialog& d) {
    return static_cast<TSetRS232&>(d);
}

// The application with two pseudo-terminals as its serial ports.
class SerialApp : public AppTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(first.ok() && second.ok());
        setenv("PLOTWELL_SERIAL_PORTS", (first.slavePath() + ":" + second.slavePath()).c_str(), 1);
        AppTest::SetUp();
    }
    void TearDown() override {
        AppTest::TearDown();
        unsetenv("PLOTWELL_SERIAL_PORTS");
    }
    transfer::TransferSettings& record() { return PWForm1->TransferSettings; }
    // A side on the first port, as a project would have stored it.
    void useFirstPort(bool download) {
        auto side = download ? transfer::downloadSide(record()) : transfer::uploadSide(record());
        side.type = first.slavePath();
        side.typeIndex = transfer::ifFirstSerial;
    }

    PtyPair first;
    PtyPair second;
};

} // namespace

TEST_F(SerialApp, BothTypeListsEndWithThePorts) {
    for (QComboBox* type : {SetDownload->Type, SetUpload->Type}) {
        ASSERT_EQ(type->count(), 7);
        EXPECT_EQ(type->itemText(3).toStdString(), "Card/USB Memory");
        EXPECT_EQ(type->itemText(5).toStdString(), first.slavePath());
        EXPECT_EQ(type->itemText(6).toStdString(), second.slavePath());
    }
}

TEST_F(SerialApp, TheStartUpCheckPreparesAChosenPort) {
    useFirstPort(true);
    record().dlBaudRate = 12; // only a project can hold 115200
    record().dlParity = 2;
    PWForm1->Transfers.serial.DownloadTimeouts = {};
    RestoreInterfaces(PWForm1->TransferSettings);
    EXPECT_TRUE(ui.messages().empty()) << ui.lastMessage();
    EXPECT_EQ(SetDownload->Type->currentIndex(), 5);
    EXPECT_EQ(PWForm1->Transfers.serial.DownloadDcb,
              (SerialLineSettings{115200, 8, Parity::Even, StopBits::One, FlowControl::XonXoff}));
    EXPECT_EQ(PWForm1->Transfers.serial.DownloadTimeouts, transfer::kDownloadTimeouts);
    EXPECT_FALSE(PWForm1->Transfers.GpibNeeded);
    // The check let the port go again.
    EXPECT_TRUE(first.lockSlave());
}

TEST_F(SerialApp, APortInUseAtStartUpIsReportedAndStartUpGoesOn) {
    useFirstPort(false);
    ASSERT_TRUE(first.lockSlave());
    RestoreInterfaces(PWForm1->TransferSettings);
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0],
              "Unable to gain access to" + first.slavePath() + ".\nIt may be in use by another application");
    EXPECT_EQ(ui.events().back().icon, platform::Icon::Error);
    // The parameters are prepared all the same.
    EXPECT_EQ(PWForm1->Transfers.serial.UploadDcb.flowControl, FlowControl::RtsCts);
    EXPECT_EQ(PWForm1->Transfers.serial.UploadTimeouts, transfer::kUploadTimeouts);
}

TEST_F(SerialApp, ACommunicationsErrorNamesThePortTheCallAndTheSystemText) {
    ShowLinkError(transfer::commFailure("/dev/ttyS3", "SetCommState", EINVAL));
    const auto& ev = ui.events();
    ASSERT_EQ(ev.size(), 3u);
    EXPECT_EQ(ev[0].kind, "beep");
    EXPECT_EQ(ev[1].text,
              "A comminications error\nhas occurred on /dev/ttyS3\nin the functiom SetCommState.");
    EXPECT_EQ(ev[1].icon, platform::Icon::Error);
    EXPECT_EQ(ev[1].buttons, platform::ButtonOk);
    EXPECT_EQ(ev[2].title, "GetLastError");
    EXPECT_EQ(ev[2].text, std::strerror(EINVAL));
    EXPECT_EQ(ev[2].icon, platform::Icon::Information);
}

TEST_F(SerialApp, TheIoMenuOffersTheSerialSidesOnly) {
    PWForm1->IOcontrol1Click();
    EXPECT_EQ(SetRS232->Device->count(), 0);
    EXPECT_FALSE(PWForm1->RS232setup1->isEnabled());

    useFirstPort(true);
    PWForm1->IOcontrol1Click();
    ASSERT_EQ(SetRS232->Device->count(), 1);
    EXPECT_EQ(SetRS232->Device->itemText(0).toStdString(), first.slavePath() + " for download");
    EXPECT_TRUE(PWForm1->RS232setup1->isEnabled());

    auto upload = transfer::uploadSide(record());
    upload.type = second.slavePath();
    upload.typeIndex = 6;
    PWForm1->IOcontrol1Click();
    ASSERT_EQ(SetRS232->Device->count(), 2);
    EXPECT_EQ(SetRS232->Device->itemText(1).toStdString(), second.slavePath() + " for upload");
    SetRS232->Device->setCurrentIndex(1);
    PWForm1->IOcontrol1Click(); // the chosen row stays while it exists
    EXPECT_EQ(SetRS232->Device->currentIndex(), 1);
}

TEST_F(SerialApp, TheRs232DialogEditsTheChosenSideAndSwitchesOnDemand) {
    useFirstPort(true);
    auto upload = transfer::uploadSide(record());
    upload.type = second.slavePath();
    upload.typeIndex = 6;
    PWForm1->IOcontrol1Click();
    const auto before = record();

    ui.onDialog([](QDialog& d) {
        auto& r = rs232(d);
        EXPECT_EQ(r.windowTitle().toStdString(), "RS232 parameter setup");
        EXPECT_EQ(r.baud->currentText().toStdString(), "9600");
        EXPECT_EQ(r.bits->text().toStdString(), "8");
        EXPECT_EQ(r.flowcontrol->currentText().toStdString(), "Xon/Xoff"); // the download set
        choose(r.baud, 0);
        choose(r.Device, 1); // the upload set instead: answer 3
    });
    ui.onDialog([](QDialog& d) {
        auto& r = rs232(d);
        EXPECT_EQ(r.flowcontrol->currentText().toStdString(), "RTS/CTS"); // the upload set
        EXPECT_EQ(r.baud->currentText().toStdString(), "9600");
        choose(r.baud, 8);
        r.bits->setText("7");
        choose(r.stopbits, 2);
        choose(r.parity, 1);
        choose(r.flowcontrol, 0);
        r.bnOK->click();
    });
    PWForm1->RS232setup1Click();
    EXPECT_TRUE(ui.scriptUsedUp());
    EXPECT_EQ(ui.count("exec"), 2);
    const auto& s = record();
    EXPECT_EQ(s.dlBaudRate, before.dlBaudRate); // the dialog left for the other set
    EXPECT_EQ(s.ulBaudRate, 8);
    EXPECT_EQ(s.ulByteSize, 7);
    EXPECT_EQ(s.ulStopBits, 2);
    EXPECT_EQ(s.ulParity, 1);
    EXPECT_EQ(s.ulFlowControl, 0);
    EXPECT_EQ(PWForm1->Transfers.serial.UploadDcb,
              (SerialLineSettings{19200, 7, Parity::Odd, StopBits::Two, FlowControl::None}));

    // Cancel changes nothing.
    const auto now = record();
    ui.onDialog([](QDialog& d) {
        choose(rs232(d).baud, 2);
        rs232(d).bnCancel->click();
    });
    PWForm1->RS232setup1Click();
    EXPECT_EQ(record(), now);
}

TEST_F(SerialApp, ABadDataBitsTextChangesNothing) {
    useFirstPort(true);
    PWForm1->IOcontrol1Click();
    const auto before = record();
    ui.onDialog([](QDialog& d) {
        choose(rs232(d).baud, 3);
        rs232(d).bits->setText("eight");
        rs232(d).bnOK->click();
    });
    PWForm1->RS232setup1Click();
    EXPECT_EQ(ui.lastMessage(), "'eight' is not a valid integer value");
    EXPECT_EQ(record(), before);
}

TEST_F(SerialApp, ASpeedTheDialogCannotShowIsKept) {
    useFirstPort(true);
    record().dlBaudRate = 12;
    PWForm1->IOcontrol1Click();
    ui.onDialog([](QDialog& d) {
        EXPECT_EQ(rs232(d).baud->currentIndex(), -1);
        rs232(d).bits->setText("8");
        rs232(d).bnOK->click();
    });
    PWForm1->RS232setup1Click();
    EXPECT_EQ(record().dlBaudRate, 12);
    EXPECT_EQ(PWForm1->Transfers.serial.DownloadDcb.baudRate, 115200);
}

TEST_F(SerialApp, ChoosingAPortGreysTheAddress) {
    ui.onDialog([this](QDialog& d) {
        auto& dl = static_cast<TSetDownload&>(d);
        choose(dl.Type, 6);
        EXPECT_TRUE(dl.Address->isVisible());
        EXPECT_FALSE(dl.Address->isEnabled());
        EXPECT_EQ(dl.Address->text().toStdString(), "5");
        EXPECT_EQ(dl.Type->currentText().toStdString(), second.slavePath());
        dl.bnOK->click();
    });
    PWForm1->Generatorsetup1Click();
    EXPECT_EQ(record().dlType, second.slavePath());
    EXPECT_EQ(record().dlTypeIndex, 6);
    EXPECT_EQ(PWForm1->DownloadInfo->text().toStdString(),
              "   Download to:   Quorvex QV7351A via " + second.slavePath());
    PWForm1->IOcontrol1Click();
    EXPECT_EQ(SetRS232->Device->itemText(0).toStdString(), second.slavePath() + " for download");
}
