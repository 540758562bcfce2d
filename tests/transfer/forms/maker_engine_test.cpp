#include "link_forms_fixture.h"

#include "transfer/core/transfer_job.h"
#include "transfer/forms/transfer_session.h"
#include "workspace/forms/wfmchild.h"

using namespace plotwell;
using namespace plotwell::transfer;
using namespace plotwell::transfer::formsrig;

namespace {

class MakerEngineTest : public LinkFormsTest {
protected:
    void chooseLan(bool download, const std::string& port) {
        TransferSettings& s = PWForm1->TransferSettings;
        (download ? s.dlMakeIndex : s.ulMakeIndex) = makeQuorvex;
        (download ? s.dlModelIndex : s.ulModelIndex) = 7;
        (download ? s.dlModel : s.ulModel) = "QV7351A";
        (download ? s.dlTypeIndex : s.ulTypeIndex) = ifLan;
        (download ? s.dlType : s.ulType) = "LAN";
        (download ? s.dlIPAddress : s.ulIPAddress) = "127.0.0.1";
        (download ? s.dlTCPPort : s.ulTCPPort) = port;
        s.dlDestination = "arb2";
        s.ulSource = "arb2";
        s.dlStretchIndex = 1;
    }
    static void runTicks(TWFMform& w) {
        for (int i = 0; i < 100 && PWForm1->Transfers.busy(); ++i)
            TTransferSession(w).ioTimerTimer();
    }
};

} // namespace

TEST_F(MakerEngineTest, LanUploadNamesTheWindowAfterTheInstrumentsName) {
    sim::Instrument inst(sim::Family::Maker, "QUORVEX, QV7351A,0,1");
    sim::Store store;
    store.bytes = sim::wordsToBytes({5, 6, 16000});
    store.name = "RAMP1";
    inst.setStore("arb2", store);
    sim::TcpAdapter server(inst);
    chooseLan(false, server.portText());
    TWFMform* first = newWindow();
    TTransferSession::Executeupload1Click(first);
    TWFMform* target = CurrentWaveWindow;
    runTicks(*target);
    EXPECT_EQ(ui.messages(), std::vector<std::string>{});
    EXPECT_EQ(target->Caption(), "QV7351A  RAMP1 (Not Stored)");
    EXPECT_EQ(target->Doc.SampleStream->reference(), 8192);
    EXPECT_EQ(target->Doc.SampleStream->count(), 3);
    EXPECT_FALSE(PWForm1->Transfers.link->isOpen());
}

TEST_F(MakerEngineTest, ARefusedConnectionSaysSoAndStartsNothing) {
    sim::RefusingPort port;
    chooseLan(true, port.portText());
    TWFMform* w = newWindow();
    w->Doc.SampleStream = std::make_unique<workspace::SampleStream>();
    w->Doc.SampleStream->assign(2048, std::vector<uint16_t>{1, 2, 3});
    w->Doc.SelectionEnd = 2;
    w->Doc.FileType = workspace::WaveFileType::Internal;
    TTransferSession(*w).ExecuteDownload1Click();
    EXPECT_EQ(ui.messages(), std::vector<std::string>{
                                 "Unable to connect to device.\n\nCheck IP Address and TCP Port settings."});
    EXPECT_FALSE(PWForm1->Transfers.busy());
}
