#include "link_forms_fixture.h"

#include "transfer/core/transfer_job.h"
#include "transfer/forms/TekRef.h"
#include "transfer/forms/transfer_session.h"
#include "workspace/forms/wfmchild.h"

#include <QComboBox>
#include <QDialog>
#include <QPushButton>

using namespace plotwell;
using namespace plotwell::transfer;
using namespace plotwell::transfer::formsrig;

namespace {

class StoreScopeTest : public LinkFormsTest {
protected:
    // Both directions on GPIB, with the make and model given.
    void chooseGpib(int make, int model, const std::string& modelText, const std::string& target) {
        TransferSettings& s = PWForm1->TransferSettings;
        s.dlMakeIndex = s.ulMakeIndex = make;
        s.dlModelIndex = s.ulModelIndex = model;
        s.dlModel = s.ulModel = modelText;
        s.dlTypeIndex = s.ulTypeIndex = ifGpib0;
        s.dlType = s.ulType = "GPIB";
        s.dlAddress = s.ulAddress = "5";
        s.dlStretchIndex = 0;
        s.dlDestination = s.ulSource = target;
    }
    // A window of `n` mid-scale points that has a file name.
    TWFMform* filledWindow(std::size_t n) {
        TWFMform* w = newWindow();
        w->Doc.SampleStream = std::make_unique<workspace::SampleStream>();
        w->Doc.SampleStream->assign(2048, std::vector<uint16_t>(n, 2048));
        w->Doc.SelectionStart = 0;
        w->Doc.SelectionEnd = int32_t(n) - 1;
        w->Doc.FileType = workspace::WaveFileType::Internal;
        w->Doc.WaveName = tempFile("scan.wfm");
        return w;
    }
    // Uploads into a new window, to the end of the transfer; that window.
    TWFMform* upload() {
        TWFMform* first = filledWindow(2);
        TTransferSession::Executeupload1Click(first);
        TWFMform* target = CurrentWaveWindow;
        for (int i = 0; i < 100000 && PWForm1->Transfers.busy(); ++i)
            TTransferSession(*target).ioTimerTimer();
        return target;
    }
};

} // namespace

TEST_F(StoreScopeTest, NumberedStoreUploadFillsAWindowAtReference512) {
    sim::Instrument inst(sim::Family::NumberedStore, "FLUKE,271,0,1.1");
    sim::GpibAdapter bus(inst);
    sim::Store store;
    store.values = std::vector<long>(1024, -256);
    store.values.back() = 511;
    inst.setStore("7", store);
    chooseGpib(makeFluke, 0, "271", "7");
    TWFMform* w = upload();
    EXPECT_EQ(ui.messages(), std::vector<std::string>{});
    EXPECT_EQ(w->Caption(), "271  7 (Not Stored)");
    const workspace::SampleStream& s = *w->Doc.SampleStream;
    EXPECT_EQ(s.reference(), 512);
    ASSERT_EQ(s.count(), 1024);
    EXPECT_EQ(s.codes()[0], 256);
    EXPECT_EQ(s.codes()[1023], 1023);
    EXPECT_EQ(w->Doc.SelectionEnd, 1023);
    EXPECT_EQ(inst.controls().back(), "ibonl 1,0");
}

TEST_F(StoreScopeTest, StoreNumberMessageFollowsTheUploadFailure) {
    sim::Instrument inst(sim::Family::NumberedStore, "QUORVEX,QV3030,0,1.1");
    sim::GpibAdapter bus(inst);
    chooseGpib(makeQuorvex, 1, "QV3030/A", "22");
    upload();
    EXPECT_EQ(ui.messages(),
              (std::vector<std::string>{kUploadError + "GPIB",
                                        "Illegal QV3030 arb store number: 22\nMust be between 1 and 21"}));
    EXPECT_EQ(inst.writes(), std::vector<std::string>{"*idn?\n"});
}

TEST_F(StoreScopeTest, ScopeUploadFillsAWindowAtReference128) {
    sim::Instrument inst(sim::Family::Scope, "TEKTRONIX,TDS 220,0,CF:91.1CT");
    sim::GpibAdapter bus(inst);
    sim::Store store;
    store.bytes = std::string(2500, char(200));
    inst.setStore("CH2", store);
    chooseGpib(makeTektronix, 1, "TDS220", "CH2");
    TWFMform* w = upload();
    EXPECT_EQ(ui.messages(), std::vector<std::string>{});
    EXPECT_EQ(w->Caption(), "TDS220  CH2 (Not Stored)");
    EXPECT_EQ(w->Doc.SampleStream->reference(), 128);
    ASSERT_EQ(w->Doc.SampleStream->count(), 2500);
    EXPECT_EQ(w->Doc.SampleStream->codes()[2499], 200);
}

TEST_F(StoreScopeTest, LargerScopesAskTheReferenceSize) {
    sim::Instrument inst(sim::Family::Scope, "TEKTRONIX,TDS 5xx,0,CF:91.1CT");
    sim::GpibAdapter bus(inst);
    chooseGpib(makeTektronix, 9, "TDS5xx", "REF3");
    TWFMform* w = filledWindow(10);
    ui.onDialog([](QDialog& d) {
        auto& t = static_cast<TSetTekRef&>(d);
        t.NoPoints->setCurrentIndex(1); // "1000"
        t.bnOK->click();
    });
    TTransferSession(*w).ExecuteDownload1Click();
    for (int i = 0; i < 1000 && PWForm1->Transfers.busy(); ++i)
        TTransferSession(*w).ioTimerTimer();
    EXPECT_EQ(ui.messages(), std::vector<std::string>{});
    const auto writes = inst.writes();
    ASSERT_GE(writes.size(), 5u);
    EXPECT_EQ(writes[1], "allocate:waveform:REF3 1000\r\n");
    EXPECT_EQ(writes[2], "data:dest REF3;encdg srp;width 1;start 1\r\n");
    EXPECT_EQ(writes[3], "curve #41000");
    EXPECT_EQ(inst.store("REF3")->bytes, std::string(1000, char(148)));

    // Cancel in the dialog abandons the download through its failure box.
    inst.clearTranscript();
    ui.onDialog([](QDialog& d) { static_cast<TSetTekRef&>(d).bnCancel->click(); });
    TTransferSession(*w).ExecuteDownload1Click();
    EXPECT_EQ(ui.messages().back(), kDownloadError + "GPIB");
    EXPECT_FALSE(PWForm1->Transfers.busy());
    EXPECT_EQ(inst.writes(), std::vector<std::string>{});
}

TEST_F(StoreScopeTest, NoLanForStoresOrScopes) {
    for (const auto& [make, model, text] :
         {std::tuple{makeQuorvex, 1, "QV3030/A"}, std::tuple{makeTektronix, 0, "TDS210"}}) {
        chooseGpib(make, model, text, "1");
        PWForm1->TransferSettings.dlTypeIndex = PWForm1->TransferSettings.ulTypeIndex = ifLan;
        TTransferSession(*filledWindow(4)).ExecuteDownload1Click();
        TTransferSession::Executeupload1Click(CurrentWaveWindow);
    }
    EXPECT_EQ(ui.messages(), (std::vector<std::string>(4, kNoLanText)));
}
