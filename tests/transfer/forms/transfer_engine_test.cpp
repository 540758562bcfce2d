#include "link_forms_fixture.h"

#include "platform/screen_cursor.h"
#include "transfer/core/arbdef.h"
#include "transfer/core/memory_card.h"
#include "transfer/core/transfer_job.h"
#include "transfer/forms/msgwnd.h"
#include "transfer/forms/transfer_session.h"
#include "workspace/forms/wfmchild.h"

#include <QTimer>

#include <filesystem>
#include <thread>

using namespace plotwell;
using namespace plotwell::transfer;
using namespace plotwell::transfer::formsrig;

namespace {

class EngineTest : public LinkFormsTest {
protected:
    // A window holding `codes` with reference 2048, all selected, named wave1.wfm.
    TWFMform* windowWith(std::vector<uint16_t> codes) {
        TWFMform* w = newWindow();
        w->Doc.SampleStream = std::make_unique<workspace::SampleStream>();
        w->Doc.SampleStream->assign(2048, codes);
        w->Doc.SelectionStart = 0;
        w->Doc.SelectionEnd = int32_t(codes.size()) - 1;
        w->Doc.FileType = workspace::WaveFileType::Internal;
        w->Doc.WaveName = tempFile("wave1.wfm");
        return w;
    }
    // Download or upload settings of the ARBDEF QVA3460 on an interface.
    void choose(bool download, int typeIndex, const std::string& type) {
        TransferSettings& s = PWForm1->TransferSettings;
        (download ? s.dlMakeIndex : s.ulMakeIndex) = 0;
        (download ? s.dlModelIndex : s.ulModelIndex) = 0;
        (download ? s.dlModel : s.ulModel) = "QVA3460";
        (download ? s.dlTypeIndex : s.ulTypeIndex) = typeIndex;
        (download ? s.dlType : s.ulType) = type;
        (download ? s.dlAddress : s.ulAddress) = "5";
        s.dlStretchIndex = 1;
        s.dlDestination = "";
        s.ulSource = "WAVE1";
    }
    // The timer's ticks, as many as the transfer takes.
    static void runTicks(TWFMform& w) {
        for (int i = 0; i < 100000 && PWForm1->Transfers.busy(); ++i)
            TTransferSession(w).ioTimerTimer();
    }
    // File > Exit while a 60,000-point QVA347x transfer runs on its timer over RS-232, with
    // a window not saved: the first Exit is called off at its save question, the second goes
    // on and must end the program. What the instrument read, once it ends with `last`.
    std::string exitDuringSerialTransfer(bool download, const std::string& last) {
        sim::Instrument inst(sim::Family::ArbDef, "QUORVEX,QVA3472,0,1");
        sim::Store store;
        store.values.assign(60000, 5);
        inst.setStore("fw", store);
        sim::PtyAdapter pty(inst);
        choose(download, ifFirstSerial, pty.path());
        TransferSettings& s = PWForm1->TransferSettings;
        (download ? s.dlModelIndex : s.ulModelIndex) = 2;
        (download ? s.dlModel : s.ulModel) = "QVA347x";
        s.dlDestination = s.ulSource = "fw";
        TWFMform* w = windowWith(std::vector<uint16_t>(60000, 7));
        w->Doc.SaveState = 1;
        if (download)
            TTransferSession(*w).ExecuteDownload1Click();
        else
            TTransferSession::Executeupload1Click(w);
        ui.answer(platform::Answer::Cancel);
        ui.answer(platform::Answer::No);
        bool ranOn = false;
        QTimer::singleShot(100, [] { PWForm1->Exit1Click(); });
        QTimer::singleShot(200, [&ranOn] {
            ranOn = PWForm1->Transfers.busy() && !MessageWnd->bnCancel->isHidden();
            PWForm1->Exit1Click();
        });
        EXPECT_EQ(runUntilExit(), 0);
        EXPECT_TRUE(ranOn) << "an Exit called off leaves the transfer running";
        EXPECT_EQ(ui.count("message"), 2) << ui.lastMessage(); // the two questions only
        EXPECT_FALSE(PWForm1->Transfers.busy());
        EXPECT_FALSE(PWForm1->Transfers.link && PWForm1->Transfers.link->isOpen());
        EXPECT_FALSE(MessageWnd->isVisible());
        std::filesystem::remove(PWForm1->ProjectIniPath); // the next test starts without it
        std::string sent;
        for (int i = 0; i < 500 && !sent.ends_with(last); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            sent.clear();
            for (const std::string& bytes : inst.writes())
                sent += bytes;
        }
        return sent;
    }
};

const char* kIdentity = "QUORVEX,QVA3460,0,1.23";

} // namespace

TEST_F(EngineTest, GpibDownloadRunsOnTheTimerAndEndsClosed) {
    sim::Instrument inst(sim::Family::ArbDef, kIdentity);
    sim::GpibAdapter bus(inst);
    choose(true, ifGpib0, "GPIB");
    TWFMform* w = windowWith({0, 1, 2048, 4095});
    TTransferSession(*w).ExecuteDownload1Click();
    EXPECT_TRUE(w->ioTimer->isActive());
    EXPECT_EQ(w->ioTimer->interval(), 10);
    EXPECT_EQ(w->ioTimer->timerType(), Qt::PreciseTimer);
    EXPECT_EQ(platform::screenCursor(), platform::ScreenCursor::Busy);
    // The settings may change while it runs: the transfer keeps its own.
    PWForm1->TransferSettings.dlTypeIndex = ifLan;
    runTicks(*w);
    EXPECT_EQ(ui.messages(), std::vector<std::string>{});
    EXPECT_EQ(inst.writes(),
              (std::vector<std::string>{"*idn?\n", "ARBDEF wave1,4,#18",
                                        std::string("\0\0\0\1\x08\0\x0f\xff", 8), "\nlocal\n"}));
    EXPECT_EQ(inst.controls(), (std::vector<std::string>{"ibdev 0,5,0,15,0,0", "ibonl 1,0"}));
    EXPECT_FALSE(w->ioTimer->isActive());
    EXPECT_EQ(w->TransferState, stArbDefDownload);
    EXPECT_EQ(platform::screenCursor(), platform::ScreenCursor::Default);
    EXPECT_FALSE(MessageWnd->isVisible());
}

TEST_F(EngineTest, EntryRefusalsOpenNothing) {
    sim::Instrument inst(sim::Family::ArbDef, kIdentity);
    sim::GpibAdapter bus(inst);
    TWFMform* w = windowWith({1, 2});
    choose(true, ifLan, "LAN");
    TTransferSession(*w).ExecuteDownload1Click();
    choose(true, ifGpib0, "GPIB");
    TTransferSession(*w).ExecuteDownload1Click(); // this one runs
    TTransferSession(*w).ExecuteDownload1Click(); // and refuses a second
    TTransferSession::Executeupload1Click(w);
    EXPECT_EQ(ui.messages(), (std::vector<std::string>{kNoLanText, kBusyText, kBusyText}));
    runTicks(*w);
    EXPECT_EQ(inst.controls(), (std::vector<std::string>{"ibdev 0,5,0,15,0,0", "ibonl 1,0"}));
}

// A bit pattern goes only to the pulse/pattern generator, whose pattern stores take it; any
// other instrument, the largest oscilloscope included, refuses it before a link is opened.
TEST_F(EngineTest, OnlyThePatternGeneratorIsSentABitPattern) {
    const std::string refusal = "Bit patterns are not supported on the selected model\n"
                                "Select a supported pulse generator in 'Download setup'";
    struct Case {
        int make, model;
        const char* name;
        bool accepted;
    } cases[] = {
        {makeQuorvex, 11, "QVS51xx", true},   {makeTektronix, 11, "TDS7xx", false},
        {makeTektronix, 10, "TDS6xx", false}, {makeTektronix, 0, "TDS210", false},
        {makeQuorvex, 7, "QV7351A", false},   {makeQuorvex, 12, "QVR5242", false},
        {makeFluke, 0, "271", false},         {makeWavetek, 1, "29", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ui.clear();
        sim::Instrument inst(sim::Family::Pattern, "QUORVEX, QVS5100,0,1");
        sim::GpibAdapter bus(inst);
        choose(true, ifGpib0, "GPIB");
        TransferSettings& s = PWForm1->TransferSettings;
        s.dlMakeIndex = c.make, s.dlModelIndex = c.model, s.dlModel = c.name;
        s.dlDestination = "pattern1", s.dlDestinationIndex = 4;
        TWFMform* w = windowWith(std::vector<uint16_t>(16, 0xFFFF));
        w->Doc.SampleStream->assign(32768, std::vector<uint16_t>(16, 0xFFFF));
        w->Doc.FileType = workspace::WaveFileType::BitPattern;
        TTransferSession(*w).ExecuteDownload1Click();
        if (!c.accepted) {
            ASSERT_EQ(ui.events().size(), 1u);
            EXPECT_EQ(ui.events()[0].kind, "message");
            EXPECT_EQ(ui.events()[0].text, refusal);
            EXPECT_EQ(ui.events()[0].icon, platform::Icon::None);
            EXPECT_EQ(inst.controls(), std::vector<std::string>{});
            EXPECT_EQ(inst.writes(), std::vector<std::string>{});
            EXPECT_FALSE(w->ioTimer->isActive());
            EXPECT_FALSE(PWForm1->Transfers.busy());
            EXPECT_EQ(platform::screenCursor(), platform::ScreenCursor::Default);
            continue;
        }
        runTicks(*w);
        EXPECT_EQ(ui.messages(), std::vector<std::string>{});
        EXPECT_EQ(w->TransferState, stPatternDownload);
        const std::vector<std::string> writes = inst.writes();
        ASSERT_GE(writes.size(), 3u);
        EXPECT_EQ(writes[1], "PTTNDEF pattern1,wave1\n");
        EXPECT_EQ(writes[2], "PTTN1 #232");
        EXPECT_EQ(inst.controls().back(), "ibonl 1,0");
    }
}

TEST_F(EngineTest, WrongInstrumentGivesTheFailureBoxThenTheMismatch) {
    sim::Instrument inst(sim::Family::ArbDef, "FLUKE,271");
    sim::GpibAdapter bus(inst);
    choose(true, ifGpib0, "GPIB");
    TWFMform* w = windowWith({1, 2});
    // Every box finds the timer stopped.
    ui.onMessage([w](const platform::UiEvent&) { EXPECT_FALSE(w->ioTimer->isActive()); });
    TTransferSession(*w).ExecuteDownload1Click();
    TTransferSession(*w).ioTimerTimer();
    EXPECT_EQ(ui.messages(),
              (std::vector<std::string>{kDownloadError + "GPIB",
                                        "The instrument reports itself as\nFLUKE,271\n\nbut the "
                                        "expected type is\nQUORVEX,QVA3460"}));
    EXPECT_FALSE(PWForm1->Transfers.busy());
    EXPECT_EQ(inst.controls().back(), "ibonl 1,0");
    EXPECT_EQ(w->Doc.SampleStream->count(), 2); // a download leaves the window as it was
}

TEST_F(EngineTest, UsbUploadFillsANewWindowWhenTheActiveOneHoldsData) {
    sim::Instrument inst(sim::Family::ArbDef, kIdentity);
    sim::UsbAdapter usb(inst);
    sim::Store store;
    store.bytes = sim::wordsToBytes({5, 6, 4000});
    inst.setStore("WAVE1", store);
    PWForm1->TransferSettings.ulMakeIndex = 0;
    choose(false, ifUsb, "USB");
    PWForm1->TransferSettings.ulModelIndex = 3; // the QVA3420x has USB
    PWForm1->TransferSettings.ulModel = "QVA3420x";
    inst.setIdentity("QUORVEX,QVA3420B");
    TWFMform* first = windowWith({1, 2});
    TTransferSession::Executeupload1Click(first);
    TWFMform* target = CurrentWaveWindow;
    ASSERT_NE(target, first);
    runTicks(*target);
    EXPECT_EQ(ui.messages(), std::vector<std::string>{});
    EXPECT_EQ(target->Caption(), "QVA3420x  WAVE1 (Not Stored)");
    EXPECT_EQ(target->Doc.SampleStream->reference(), 2048);
    EXPECT_EQ(std::vector<uint16_t>(target->Doc.SampleStream->codes().begin(),
                                    target->Doc.SampleStream->codes().end()),
              (std::vector<uint16_t>{5, 6, 4000}));
    EXPECT_EQ(std::tie(target->Doc.SelectionStart, target->Doc.SelectionEnd, target->Doc.SaveState),
              std::make_tuple(0, 2, 1));
    EXPECT_EQ(target->Doc.FileType, workspace::WaveFileType::NotFromFile);
    EXPECT_EQ(first->Doc.SampleStream->count(), 2);
    EXPECT_EQ(usb.calls("AWG_Close"), 1);
}

TEST_F(EngineTest, ClosingTheWindowEndsItsTransfer) {
    sim::Instrument inst(sim::Family::ArbDef, kIdentity);
    sim::GpibAdapter bus(inst);
    choose(true, ifGpib0, "GPIB");
    TWFMform* w = windowWith(std::vector<uint16_t>(5000, 7));
    TTransferSession(*w).ExecuteDownload1Click();
    TTransferSession(*w).ioTimerTimer();
    ASSERT_TRUE(PWForm1->Transfers.busy());
    delete w;
    EXPECT_FALSE(PWForm1->Transfers.busy());
    EXPECT_EQ(inst.controls().back(), "ibonl 1,0");
}

TEST_F(EngineTest, ExitDuringASerialDownloadEndsItAsCancelDoes) {
    const std::string sent = exitDuringSerialTransfer(true, "\nLOCAL\n");
    // Cut short, and closed with the last value it carries.
    EXPECT_TRUE(sent.starts_with("*idn?\nARBDEFCSV fw,60000,-2041,")) << sent.substr(0, 40);
    EXPECT_TRUE(sent.ends_with(",-2041\nLOCAL\n"))
        << sent.substr(sent.size() - std::min<size_t>(sent.size(), 40));
    EXPECT_LT(sent.size(), 60000u * 6);
}

TEST_F(EngineTest, ExitDuringASerialUploadEndsItAsCancelDoes) {
    const std::string sent = exitDuringSerialTransfer(false, "local\r\n");
    EXPECT_EQ(sent, "*idn?\narblen? fw\r\narbdatacsv? fw\r\nlocal\r\n");
}

TEST_F(EngineTest, MemoryCardDownloadAndUploadThroughTheMenus) {
    namespace fs = std::filesystem;
    const fs::path card = fs::path(tempDir()) / "card";
    fs::create_directories(card / "ARB/WAVES");
    TransferSettings& s = PWForm1->TransferSettings;
    s.dlMakeIndex = 0, s.dlModelIndex = 5, s.dlModel = "QV7351", s.dlTypeIndex = ifCard;
    s.dlDriveLetter = card.string(), s.dlDestination = "";
    TWFMform* w = windowWith({0, 1, 4095});
    PWForm1->SaveType = workspace::WaveFileType::Normalised;
    const workspace::SampleStream before = *w->Doc.SampleStream;
    TTransferSession(*w).ExecuteDownload1Click();
    EXPECT_EQ(ui.messages(), std::vector<std::string>{});
    EXPECT_EQ(readFile((card / "ARB/WAVES/WAVE1.WFM").string()),
              std::string("\x00\x20\x00\x00\x04\x00\xfc\x3f", 8));
    EXPECT_EQ(*w->Doc.SampleStream, before);
    EXPECT_EQ(PWForm1->SaveType, workspace::WaveFileType::Internal);
    EXPECT_FALSE(w->ioTimer->isActive());
    EXPECT_EQ(platform::screenCursor(), platform::ScreenCursor::Default);

    s.ulMakeIndex = 0, s.ulModelIndex = 5, s.ulModel = "QV7351", s.ulTypeIndex = ifCard;
    s.ulDriveLetter = card.string(), s.ulSource = "WAVE1";
    TWFMform* empty = newWindow();
    TTransferSession::Executeupload1Click(empty);
    EXPECT_EQ(CurrentWaveWindow, empty);
    EXPECT_EQ(empty->Caption(), "QV7351 Mem Card WAVE1 (Not Stored)");
    EXPECT_EQ(empty->Doc.SampleStream->reference(), 8192);
    EXPECT_EQ(empty->Doc.SampleStream->count(), 3);

    s.ulSource = "nothere";
    TWFMform* other = newWindow();
    TTransferSession::Executeupload1Click(other);
    EXPECT_EQ(ui.lastMessage(), cardReadFailedText((card / "ARB/WAVES/nothere.WFM").string()));
    EXPECT_EQ(other->Caption(), "Untitled");
}

TEST_F(EngineTest, EachFaultEndsInItsBoxes) {
    const std::string mismatch =
        "The instrument reports itself as\nFLUKE,271\n\nbut the expected type is\nQUORVEX,QVA3460";
    struct Case {
        const char* name;
        bool download, usb;
        sim::Faults faults;
        long cardFree;
        std::vector<std::string> boxes;
    };
    auto f = [](auto set) {
        sim::Faults x;
        set(x);
        return x;
    };
    const Case cases[] = {
        {"silent gpib",
         true,
         false,
         silentFaults(),
         100,
         {kDownloadError + "GPIB", "GPIB error!\nFunction: ibrd\niberr = 6\n"}},
        {"silent usb", false, true, silentFaults(), 100, {kUploadError + "USB"}},
        {"wrong identity",
         false,
         false,
         f([](auto& x) { x.wrongIdentity = "FLUKE,271"; }),
         100,
         {kUploadError + "GPIB", mismatch}},
        {"short usb writes",
         true,
         true,
         shortWriteFaults(),
         100,
         {kDownloadError + "USB", "USB error!\nFunction: AWG_Write\nusberr = -7: Write error\n"}},
        {"bad block header",
         false,
         false,
         f([](auto& x) { x.blockHeader = sim::BlockFault::NonDigits; }),
         100,
         {kUploadError + "GPIB"}},
        {"data stop short",
         false,
         true,
         f([](auto& x) { x.blockDataShort = 3; }),
         100,
         {kUploadError + "USB"}},
        {"no card", true, true, {}, -1, {kNoCardInInstrumentText, kDownloadError + "USB"}},
    };
    for (const Case& c : cases) {
        ui.clear();
        sim::Instrument inst(sim::Family::ArbDef, "QUORVEX,QVA3460");
        sim::Store store;
        store.bytes = sim::wordsToBytes({1, 2, 3, 4});
        inst.setStore("WAVE1", store);
        inst.setCardFree(c.cardFree);
        std::unique_ptr<sim::GpibAdapter> bus;
        std::unique_ptr<sim::UsbAdapter> usb;
        if (c.usb)
            usb = std::make_unique<sim::UsbAdapter>(inst);
        else
            bus = std::make_unique<sim::GpibAdapter>(inst);
        choose(c.download, c.usb ? ifUsb : ifGpib0, c.usb ? "USB" : "GPIB");
        if (c.usb) {
            // The USB models; the QVA3420x also has the card that "CF?" asks about.
            TransferSettings& s = PWForm1->TransferSettings;
            (c.download ? s.dlModelIndex : s.ulModelIndex) = 4;
            (c.download ? s.dlModel : s.ulModel) = c.cardFree < 0 ? "QVA3420x" : "QV8201";
            if (c.cardFree < 0)
                s.dlModelIndex = 3;
            inst.setIdentity(c.cardFree < 0 ? "QUORVEX,QVA3420B" : "QUORVEX,QV8201");
        }
        inst.setFaults(c.faults);
        TWFMform* w = windowWith({1, 2, 3});
        if (c.download)
            TTransferSession(*w).ExecuteDownload1Click();
        else
            TTransferSession::Executeupload1Click(w);
        runTicks(*CurrentWaveWindow);
        EXPECT_EQ(ui.messages(), c.boxes) << c.name;
        EXPECT_FALSE(PWForm1->Transfers.busy()) << c.name;
        EXPECT_FALSE(PWForm1->Transfers.link && PWForm1->Transfers.link->isOpen()) << c.name;
        EXPECT_EQ(platform::screenCursor(), platform::ScreenCursor::Default) << c.name;
        if (!c.download) {
            EXPECT_EQ(CurrentWaveWindow->Caption(), "Untitled") << c.name;
        }
    }
}
