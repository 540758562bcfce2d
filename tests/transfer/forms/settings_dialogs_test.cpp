#include "app_fixture.h"

#include "app/Plotdesk.h"
#include "transfer/core/instrument_models.h"
#include "transfer/forms/instrument_links.h"
#include "transfer/forms/msgwnd.h"
#include "transfer/forms/setdload.h"
#include "transfer/forms/setuload.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace plotwell;
using platform::Answer;

namespace {

// Picks a row as a user would: the row changes and the list reports the choice.
void choose(QComboBox* combo, int row) {
    combo->setCurrentIndex(row);
    emit combo->activated(row);
}

std::vector<std::string> items(const QComboBox* combo) {
    std::vector<std::string> out;
    for (int i = 0; i < combo->count(); ++i)
        out.push_back(combo->itemText(i).toStdString());
    return out;
}

TSetDownload& download(QDialog& d) {
    return static_cast<TSetDownload&>(d);
}
TSetUpload& upload(QDialog& d) {
    return static_cast<TSetUpload&>(d);
}

class SettingsDialogs : public AppTest {
protected:
    transfer::TransferSettings& record() { return PWForm1->TransferSettings; }
    std::string downloadLine() const { return PWForm1->DownloadInfo->text().toStdString(); }
    std::string uploadLine() const { return PWForm1->UploadInfo->text().toStdString(); }
};

} // namespace

TEST_F(SettingsDialogs, AFirstStartShowsTheDefaults) {
    EXPECT_EQ(downloadLine(), "   Download to:   Quorvex QV7351A via LAN");
    EXPECT_EQ(uploadLine(), "   Upload from:   Quorvex QV7351A via LAN");
    EXPECT_EQ(SetDownload->Make->currentIndex(), 0);
    EXPECT_EQ(SetDownload->Model->currentText().toStdString(), "QV7351A");
    EXPECT_EQ(SetDownload->Type->currentText().toStdString(), "LAN");
    EXPECT_EQ(SetUpload->Type->currentText().toStdString(), "LAN");
    EXPECT_EQ(items(SetDownload->Destination), (std::vector<std::string>{"arb1", "arb2", "arb3", "arb4"}));
    EXPECT_EQ(SetDownload->Destination->currentIndex(), 0);
    EXPECT_EQ(SetDownload->Tcp_Port->text().toStdString(), "9221");
    // The stored flow controls are not overwritten by the start-up push.
    EXPECT_EQ(record().dlFlowControl, 1);
    EXPECT_EQ(record().ulFlowControl, 2);
    EXPECT_EQ(PWForm1->Transfers.serial.DownloadDcb.flowControl, platform::FlowControl::XonXoff);
    EXPECT_EQ(PWForm1->Transfers.serial.UploadDcb.flowControl, platform::FlowControl::RtsCts);
    EXPECT_FALSE(PWForm1->Transfers.GpibNeeded);
    EXPECT_FALSE(PWForm1->Transfers.UsbNeeded);
}

TEST_F(SettingsDialogs, OkTakesEveryFieldIntoTheRecord) {
    ui.onDialog([](QDialog& d) {
        auto& dl = download(d);
        EXPECT_EQ(dl.windowTitle().toStdString(), "Download parameters");
        EXPECT_EQ(dl.Address->text().toStdString(), transfer::kDefaultIpAddress); // LAN shows the IP address
        choose(dl.Make, 1);
        choose(dl.Model, 8);
        choose(dl.Type, 0);
        EXPECT_EQ(dl.Address->text().toStdString(), "5");
        dl.Address->setText("7");
        choose(dl.Destination, 2);
        choose(dl.Stretch, 0);
        dl.Tcp_Port->setText("5025");
        dl.bnOK->click();
    });
    PWForm1->Generatorsetup1Click();
    const auto& s = record();
    EXPECT_EQ(s.dlMakeIndex, 1);
    EXPECT_EQ(s.dlMake, "Tektronix");
    EXPECT_EQ(s.dlModelIndex, 8);
    EXPECT_EQ(s.dlModel, "TDS4xx");
    EXPECT_EQ(s.dlTypeIndex, 0);
    EXPECT_EQ(s.dlType, "GPIB"); // board 0 is named so from the first display on
    EXPECT_EQ(s.dlAddress, "7");
    EXPECT_EQ(s.dlIPAddress, transfer::kDefaultIpAddress);
    EXPECT_EQ(s.dlDestinationIndex, 2);
    EXPECT_EQ(s.dlDestination, "REF3");
    EXPECT_EQ(s.dlStretchIndex, 0);
    EXPECT_EQ(s.dlTCPPort, "5025");
    EXPECT_EQ(s.dlFlowControl, 2); // the oscilloscopes' preset
    EXPECT_EQ(PWForm1->Transfers.serial.DownloadDcb.flowControl, platform::FlowControl::RtsCts);
    EXPECT_EQ(downloadLine(), "   Download to:   Tektronix TDS4xx via GPIB address 7");
    // The upload side is untouched.
    EXPECT_EQ(s.ulMake, "Quorvex");
    EXPECT_EQ(s.ulFlowControl, 2);

    // Board 1 keeps its name and shows no address.
    ui.onDialog([](QDialog& d) {
        choose(download(d).Type, 1);
        download(d).bnOK->click();
    });
    PWForm1->Generatorsetup1Click();
    EXPECT_EQ(downloadLine(), "   Download to:   Tektronix TDS4xx via GPIB1");
}

TEST_F(SettingsDialogs, CancelLeavesTheRecordAndTheDialogAsTheyWere) {
    // A stored choice other than the defaults first.
    ui.onDialog([](QDialog& d) {
        auto& dl = download(d);
        choose(dl.Model, 9); // QV7352A
        choose(dl.Destination, 2);
        choose(dl.Stretch, 0);
        dl.Interpolate->setChecked(true);
        dl.bnOK->click();
    });
    PWForm1->Generatorsetup1Click();
    ASSERT_EQ(record().dlDestination, "arb3");
    record().dlFlowControl = 0; // as the RS-232 dialog might have left it
    const transfer::TransferSettings before = record();
    const std::string line = downloadLine();

    ui.onDialog([](QDialog& d) {
        auto& dl = download(d);
        choose(dl.Make, 2);
        choose(dl.Model, 1);
        choose(dl.Type, 3);
        dl.Destination->setEditText("TYPED");
        dl.Interpolate->setChecked(false);
        dl.SkipID1->setChecked(true);
        dl.Tcp_Port->setText("1");
        dl.bnCancel->click();
    });
    PWForm1->Generatorsetup1Click();
    EXPECT_EQ(record(), before); // the flow-control preset of the Make change included
    EXPECT_EQ(downloadLine(), line);
    auto* dl = SetDownload;
    EXPECT_EQ(dl->Make->currentIndex(), 0);
    EXPECT_EQ(items(dl->Model), transfer::modelNames(0));
    EXPECT_EQ(dl->Model->currentIndex(), 9);
    EXPECT_EQ(dl->Type->currentText().toStdString(), "LAN");
    EXPECT_FALSE(dl->Destination->isEditable());
    EXPECT_EQ(dl->Destination->currentText().toStdString(), "arb3"); // the transfers read this row
    EXPECT_EQ(dl->Stretch->currentIndex(), 0);
    EXPECT_TRUE(dl->Interpolate->isChecked());
    EXPECT_FALSE(dl->SkipID1->isChecked());
    EXPECT_EQ(dl->Tcp_Port->text().toStdString(), "9221");
    EXPECT_TRUE(dl->Address->isVisible() || !dl->isVisible());

    // Escape is Cancel too.
    ui.onDialog([](QDialog& d) {
        choose(download(d).Make, 1);
        download(d).reject();
    });
    PWForm1->Generatorsetup1Click();
    EXPECT_EQ(record(), before);
    EXPECT_EQ(dl->Make->currentIndex(), 0);
}

TEST_F(SettingsDialogs, TheLanAddressIsKeptApartFromTheInstrumentAddress) {
    ui.onDialog([](QDialog& d) {
        download(d).Address->setText("10.0.0.9");
        download(d).bnOK->click();
    });
    PWForm1->Generatorsetup1Click();
    EXPECT_EQ(record().dlIPAddress, "10.0.0.9");
    EXPECT_EQ(record().dlAddress, "5");
    EXPECT_EQ(downloadLine(), "   Download to:   Quorvex QV7351A via LAN");
}

TEST_F(SettingsDialogs, ACardDownloadTakesATypedNameAndADrive) {
    ui.onDialog([](QDialog& d) {
        auto& dl = download(d);
        choose(dl.Model, 5); // QV7351
        choose(dl.Type, 3);
        EXPECT_TRUE(dl.Destination->isEditable());
        EXPECT_EQ(items(dl.Destination), std::vector<std::string>{""});
        EXPECT_FALSE(dl.Address->isVisible());
        EXPECT_FALSE(dl.AddressLabel->isVisible());
        EXPECT_TRUE(dl.DriveLetter->isVisible());
        EXPECT_EQ(dl.DriveLabel->text().toStdString(), "       At Drive");
        EXPECT_TRUE(dl.Interpolate->isVisible());
        dl.Destination->setEditText("MYWAVE");
        dl.DriveLetter->setEditText("/media/card");
        dl.bnOK->click();
    });
    PWForm1->Generatorsetup1Click();
    EXPECT_EQ(record().dlDestination, "MYWAVE");
    EXPECT_EQ(record().dlDestinationIndex, -1);
    EXPECT_EQ(record().dlDriveLetter, "/media/card");
    EXPECT_EQ(record().dlType, "Card/USB Memory");
    EXPECT_EQ(record().dlAddress, "5");

    // Each opening starts the free text empty again; OK then stores "" and row -1.
    ui.onDialog([](QDialog& d) {
        EXPECT_EQ(download(d).Destination->currentText().toStdString(), "");
        EXPECT_TRUE(download(d).DriveLetter->isVisible());
        download(d).bnOK->click();
    });
    PWForm1->Generatorsetup1Click();
    EXPECT_EQ(record().dlDestination, "");
    EXPECT_EQ(record().dlDestinationIndex, -1);
}

TEST_F(SettingsDialogs, SomeModelsTakeOnlyAStretchedWaveform) {
    ui.onDialog([](QDialog& d) {
        auto& dl = download(d);
        choose(dl.Model, 1); // QV3030/A
        EXPECT_EQ(items(dl.Stretch), std::vector<std::string>{"Yes"});
        EXPECT_EQ(dl.Stretch->currentIndex(), 0);
        EXPECT_EQ(items(dl.Destination), (std::vector<std::string>{"1", "2", "3", "4", "5"}));
        EXPECT_FALSE(dl.Interpolate->isVisible());
        choose(dl.Model, 4); // QV8201
        EXPECT_EQ(items(dl.Stretch), (std::vector<std::string>{"Yes", "No"}));
        choose(dl.Make, 2); // Fluke 271
        EXPECT_EQ(items(dl.Stretch), std::vector<std::string>{"Yes"});
        choose(dl.Make, 3);
        choose(dl.Model, 1); // Wavetek 29
        EXPECT_EQ(items(dl.Stretch), std::vector<std::string>{"Yes"});
        choose(dl.Model, 2);
        EXPECT_EQ(items(dl.Stretch), (std::vector<std::string>{"Yes", "No"}));
        EXPECT_TRUE(dl.Destination->isEditable());
        dl.bnCancel->click();
    });
    PWForm1->Generatorsetup1Click();
    EXPECT_EQ(items(SetDownload->Stretch), (std::vector<std::string>{"Yes", "No"}));
    EXPECT_EQ(SetDownload->Stretch->currentIndex(), 1);
}

TEST_F(SettingsDialogs, ChoosingTheRememberedMakeAgainChangesNothingUntilARebuild) {
    ui.onDialog([](QDialog& d) {
        auto& dl = download(d);
        dl.Model->setCurrentIndex(3); // moved without its handler
        choose(dl.Make, 0);           // the stored make: nothing is rebuilt
        EXPECT_EQ(dl.Model->currentIndex(), 3);
        choose(dl.Model, 7);  // the stored model: nothing either
        choose(dl.Model, 11); // a model rebuild forgets the remembered model
        EXPECT_EQ(dl.RememberedModel, -1);
        EXPECT_EQ(dl.RememberedMake, 0);
        EXPECT_EQ(items(dl.Destination).size(), 9u); // arbs, patterns and noise
        choose(dl.Make, 0);
        EXPECT_EQ(dl.Model->currentIndex(), 11);
        choose(dl.Make, 1); // a make rebuild forgets both
        EXPECT_EQ(dl.RememberedMake, -1);
        dl.Model->setCurrentIndex(3);
        choose(dl.Make, 1); // so the same make rebuilds again
        EXPECT_EQ(dl.Model->currentIndex(), 0);
        EXPECT_EQ(items(dl.Destination), (std::vector<std::string>{"REFA", "REFB"}));
        dl.bnCancel->click();
    });
    PWForm1->Generatorsetup1Click();
}

TEST_F(SettingsDialogs, TheUploadDialogOffersSourcesAndCommitsThem) {
    ui.onDialog([](QDialog& d) {
        auto& ul = upload(d);
        EXPECT_EQ(ul.windowTitle().toStdString(), "Upload parameters");
        choose(ul.Make, 1);
        choose(ul.Model, 1); // TDS220
        EXPECT_EQ(items(ul.Source), (std::vector<std::string>{"CH1", "CH2", "MATH", "REFA", "REFB"}));
        EXPECT_FALSE(ul.Source->isEditable());
        choose(ul.Type, 0); // rebuilds the list: the source is chosen after it
        choose(ul.Source, 3);
        ul.Address->setText("12");
        ul.SkipID->setChecked(true);
        ul.bnOK->click();
    });
    PWForm1->Oscilloscopesetup1Click();
    const auto& s = record();
    EXPECT_EQ(s.ulMake, "Tektronix");
    EXPECT_EQ(s.ulModel, "TDS220");
    EXPECT_EQ(s.ulSource, "REFA");
    EXPECT_EQ(s.ulSourceIndex, 3);
    EXPECT_EQ(s.ulAddress, "12");
    EXPECT_EQ(s.ulFlowControl, 2);
    EXPECT_EQ(uploadLine(), "   Upload from:   Tektronix TDS220 via GPIB address 12");
    EXPECT_TRUE(SetUpload->SkipID->isChecked());
    EXPECT_EQ(s.dlMake, "Quorvex");

    const transfer::TransferSettings before = record();
    ui.onDialog([](QDialog& d) {
        choose(upload(d).Make, 0); // presets Xon/Xoff at once
        choose(upload(d).Source, 2);
        upload(d).bnCancel->click();
    });
    PWForm1->Oscilloscopesetup1Click();
    EXPECT_EQ(record(), before);
    EXPECT_EQ(SetUpload->Source->currentText().toStdString(), "REFA");
    EXPECT_EQ(items(SetUpload->Model), transfer::modelNames(1));
}

TEST_F(SettingsDialogs, StartUpFindsTheStoredInterfacesAndWhatTheyNeed) {
    auto& s = record();
    // "GPIB" is what the record holds for board 0: not a row, so row 0.
    s.dlType = "GPIB";
    s.dlTypeIndex = 0;
    s.ulType = "/dev/ttyGone9";
    s.ulTypeIndex = 7;
    RestoreInterfaces(PWForm1->TransferSettings);
    EXPECT_EQ(SetDownload->Type->currentIndex(), 0);
    EXPECT_EQ(s.dlTypeIndex, 0);
    EXPECT_EQ(SetUpload->Type->currentIndex(), 0);
    EXPECT_EQ(s.ulTypeIndex, 0);
    EXPECT_TRUE(PWForm1->Transfers.GpibNeeded);
    EXPECT_FALSE(PWForm1->Transfers.UsbNeeded);
    EXPECT_TRUE(ui.messages().empty());

    // USB is wanted only for an instrument that has it.
    PWForm1->Transfers.GpibNeeded = false;
    s.dlType = "USB";
    s.dlTypeIndex = 2;
    s.dlMakeIndex = 0;
    s.dlModelIndex = 7;
    s.ulType = "LAN";
    s.ulTypeIndex = 4;
    RestoreInterfaces(PWForm1->TransferSettings);
    EXPECT_FALSE(PWForm1->Transfers.UsbNeeded);
    EXPECT_FALSE(PWForm1->Transfers.GpibNeeded);
    s.dlModelIndex = 3;
    RestoreInterfaces(PWForm1->TransferSettings);
    EXPECT_TRUE(PWForm1->Transfers.UsbNeeded);
    EXPECT_EQ(SetDownload->Type->currentText().toStdString(), "USB");

    // A found text selects its row; the stored index stays as read.
    s.ulType = "LAN";
    s.ulTypeIndex = 1;
    RestoreInterfaces(PWForm1->TransferSettings);
    EXPECT_EQ(SetUpload->Type->currentIndex(), 4);
    EXPECT_EQ(s.ulTypeIndex, 1);
}

TEST_F(SettingsDialogs, TheAddressOrDriveRowStandsAsFarFromTheTargetAsTheOtherRows) {
    // The gap below a field: the space from its bottom to the top of the next row.
    const auto gap = [](const QWidget* above, const QWidget* below) {
        const auto top = [](const QWidget* w) { return w->mapTo(w->window(), QPoint()).y(); };
        return top(below) - top(above) - above->height();
    };
    for (const int type : {4, 3}) { // the address on LAN, the drive on a card
        ui.onDialog([&](QDialog& d) {
            auto& dl = download(d);
            choose(dl.Model, 5); // QV7351
            choose(dl.Type, type);
            QApplication::processEvents();
            const QWidget* turn = type == 3 ? static_cast<QWidget*>(dl.DriveLetter) : dl.Address;
            EXPECT_GT(gap(dl.Model, dl.Type), 0);
            EXPECT_EQ(gap(dl.Destination, turn), gap(dl.Model, dl.Type)) << type;
            dl.bnCancel->click();
        });
        PWForm1->Generatorsetup1Click();
    }
}
