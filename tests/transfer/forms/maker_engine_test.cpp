#include "link_forms_fixture.h"

#include "platform/posix/sleeper.h"
#include "transfer/core/transfer_job.h"
#include "transfer/forms/msgwnd.h"
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

// The LAN pauses taken at once.
class InstantClock : public platform::Clock {
public:
    InstantClock() { platform::setClock(this); }
    ~InstantClock() override { platform::setClock(nullptr); }
    TimePoint now() const override { return std::chrono::steady_clock::now(); }
    void sleep(std::chrono::milliseconds) override {}
};

} // namespace

// A LAN transfer holds the window from its connection to its end, so what it does is shown
// before it connects, without Cancel; a refused connection hides it again.
TEST_F(MakerEngineTest, LanStatusComesBeforeTheConnection) {
    struct Case {
        bool download;
        int modelIndex;
        const char* model;
        const char* store;
        bool refused;
        const char* status;
    } cases[] = {
        {true, 7, "QV7351A", "arb2", true, "Downloading sweep.test.wfm as sweep"},
        {true, 7, "QV7351A", "arb2", false, "Downloading sweep.test.wfm as sweep"},
        {true, 11, "QVS51xx", "noise", true, "Downloading sweep.test.wfm as sweep"},
        {false, 7, "QV7351A", "arb2", true, "Uploading from QV7351A  arb2"},
        {false, 7, "QV7351A", "arb2", false, "Uploading from QV7351A  arb2"},
    };
    InstantClock instant;
    for (const Case& c : cases) {
        sim::Instrument inst(sim::Family::Maker, "QUORVEX, QV7351A,0,1");
        inst.setStore("arb2", {sim::wordsToBytes({1, 2}), {}, "RAMP1", "OFF"});
        sim::TcpAdapter server(inst);
        sim::RefusingPort refusing;
        chooseLan(c.download, c.refused ? refusing.portText() : server.portText());
        TransferSettings& s = PWForm1->TransferSettings;
        (c.download ? s.dlModelIndex : s.ulModelIndex) = c.modelIndex;
        (c.download ? s.dlModel : s.ulModel) = c.model;
        (c.download ? s.dlDestination : s.ulSource) = c.store;
        MessageWnd->hide();
        MessageWnd->Panel1->clear();
        ui.clear();
        TWFMform* w = newWindow(
            3, 2048, [](int i) { return uint16_t(i); }, "/data/sweep.test.wfm");
        if (c.download)
            TTransferSession(*w).ExecuteDownload1Click();
        else
            TTransferSession::Executeupload1Click(w);
        EXPECT_EQ(MessageWnd->Panel1->text().toStdString(), c.status) << c.status;
        EXPECT_TRUE(MessageWnd->bnCancel->isHidden()) << c.status;
        EXPECT_EQ(MessageWnd->isVisible(), !c.refused) << c.status;
        EXPECT_EQ(ui.messages(), c.refused
                                     ? std::vector<std::string>{"Unable to connect to device.\n\nCheck IP "
                                                                "Address and TCP Port settings."}
                                     : std::vector<std::string>{})
            << c.status;
        runTicks(*CurrentWaveWindow);
        EXPECT_FALSE(PWForm1->Transfers.busy()) << c.status;
        EXPECT_EQ(ui.messages().size(), c.refused ? 1u : 0u) << c.status;
    }
}

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

// The line end after the first upload's block is never read; the second upload's identity
// check must not take it for the instrument's reply.
TEST_F(MakerEngineTest, ASecondSerialUploadInOneRunChecksItsOwnReply) {
    sim::Instrument inst(sim::Family::Maker, "QUORVEX, QV7351A,0,1");
    inst.setStore("arb2", {sim::wordsToBytes({5, 6, 7}), {}, "RAMP1", "OFF"});
    sim::PtyAdapter pty(inst);
    chooseLan(false, "");
    PWForm1->TransferSettings.ulTypeIndex = ifFirstSerial;
    PWForm1->TransferSettings.ulType = pty.path();
    for (int run = 0; run < 2; ++run) {
        TTransferSession::Executeupload1Click(newWindow());
        runTicks(*CurrentWaveWindow);
        EXPECT_EQ(CurrentWaveWindow->Caption(), "QV7351A  RAMP1 (Not Stored)") << run;
    }
    EXPECT_EQ(ui.messages(), std::vector<std::string>{});
}
