#include "transfer/core/instrument_models.h"
#include "transfer/core/session.h"
#include "transfer/core/transfer_settings.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>

using namespace plotwell::transfer;

namespace {

using Rows = std::vector<std::string>;
const Rows kName = {""};
const Rows kStores = {"1", "2", "3", "4", "5"};
const Rows kArbs = {"arb1", "arb2", "arb3", "arb4"};
const Rows kNine = {"arb1", "arb2", "arb3", "arb4", "pattern1", "pattern2", "pattern3", "pattern4", "noise"};

enum Iface { Any, Card, NotCard };

// One line of the destination table as the dialog documents it.
struct Line {
    int make;
    std::set<int> models;
    Iface iface;
    ComboStyle style;
    Rows rows;
    StretchRows stretch;
    bool interpolate;
};

using S = ComboStyle;
using T = StretchRows;

const std::vector<Line> kDestinations = {
    {0, {0, 2, 3}, Any, S::FreeText, kName, T::YesNo, false},
    {0, {1}, Any, S::List, kStores, T::OnlyYes, false},
    {0, {4}, Any, S::List, kArbs, T::YesNo, false},
    {0, {5, 6, 7, 8, 9, 10, 12, 13, 14, 15}, Card, S::FreeText, kName, T::YesNo, true},
    {0, {5, 6, 7, 8, 9, 10, 12, 13, 14, 15}, NotCard, S::List, kArbs, T::YesNo, true},
    {0, {11}, Card, S::FreeText, kName, T::Unchanged, false},
    {0, {11}, NotCard, S::List, kNine, T::YesNo, true},
    {1, {0, 1}, Any, S::List, {"REFA", "REFB"}, T::YesNo, false},
    {1, {2, 3, 4, 5, 6, 7}, Any, S::List, {"REF1", "REF2"}, T::YesNo, false},
    {1, {8, 9, 10, 11}, Any, S::List, {"REF1", "REF2", "REF3", "REF4"}, T::YesNo, false},
    {2, {0}, Any, S::List, kStores, T::OnlyYes, false},
    {2, {1, 2}, Any, S::FreeText, kName, T::YesNo, false},
    {3, {1}, Any, S::List, kStores, T::OnlyYes, false},
    {3, {0, 2, 3}, Any, S::FreeText, kName, T::YesNo, false},
};

bool matches(const Line& l, int make, int model, int iface) {
    return l.make == make && l.models.count(model) &&
           (l.iface == Any || (l.iface == Card) == (iface == ifCard));
}

// Every make, every model of it, every interface row (a serial port included).
void forEveryRow(const std::function<void(int, int, int)>& f) {
    for (int make = 0; make < 4; ++make)
        for (int model = 0; model < int(modelNames(make).size()); ++model)
            for (int iface = ifGpib0; iface <= ifFirstSerial + 1; ++iface)
                f(make, model, iface);
}

} // namespace

// Every model with what it can do. `has`: U USB, L LAN, D a card for downloads, C a card
// for uploads, B bit patterns let through, F the card's free space asked, S slow to store
// (an RS-232 download waits 40 s for each write, not 5 s), W the 10-bit WaveCAD forms saved
// for it. Identities: as any transfer expects it but an upload over a bus (GPIB, the LAN),
// which expects `busUpload`. Points: the largest waveform a download may send to "arb2"
// and to "arb1".
TEST(InstrumentModels, EveryModelRow) {
    struct Want {
        int make;
        const char* name;
        int download, upload, recordLength, reference, points;
        const char* has;
        const char* identity;
        const char* busUpload;
        int maxPoints, arb1Points;
    } rows[] = {
        {0, "QVA3460", 0, 1, 0, 2048, -1, "S", "QUORVEX,QVA3460", "QUORVEX,QVA3460", 65536, 65536},
        {0, "QV3030/A", 2, 3, 0, 512, 1024, "W", "QUORVEX,QV3030", "QUORVEX,QV3030", 0, 0},
        {0, "QVA347x", 0, 1, 0, 2048, -1, "S", "QUORVEX,QVA347x", "QUORVEX,QVA347x", 65536, 65536},
        {0, "QVA3420x", 0, 1, 0, 2048, -1, "UDCF", "QUORVEX,QVA3420x", "QUORVEX,QVA3420x", 1048576, 1048576},
        {0, "QV8201", 0, 1, 0, 2048, -1, "U", "QUORVEX,QV8201", "QUORVEX,QV8201", 65536, 65536},
        {0, "QV7351", 6, 7, 0, 8192, -1, "LDC", "QUORVEX, QV7351", "QUORVEX, QV7351", 65536, 131072},
        {0, "QV6741", 6, 7, 0, 8192, -1, "LDC", "QUORVEX, QV6741", "QUORVEX, QV6741", 65536, 131072},
        {0, "QV7351A", 6, 7, 0, 8192, -1, "LDC", "QUORVEX, QV7351A", "QUORVEX, QV7351A", 65536, 131072},
        {0, "QV6741A", 6, 7, 0, 8192, -1, "LDC", "QUORVEX, QV6741A", "QUORVEX, QV6741A", 65536, 131072},
        {0, "QV7352A", 6, 7, 0, 8192, -1, "LDC", "QUORVEX, QV7352A", "QUORVEX, QV7352A", 65536, 131072},
        {0, "QV6742A", 6, 7, 0, 8192, -1, "LDC", "QUORVEX, QV6742A", "QUORVEX, QV6742A", 65536, 131072},
        {0, "QVS51xx", 8, 7, 0, 32768, -1, "LDB", "QUORVEX, QVS5", "QUORVEX, QVS5", 4096, 4096},
        {0, "QVR5242", 6, 7, 0, 32768, -1, "LD", "QUORVEX, QVR5242", "QUORVEX, QVR5", 8192, 8192},
        {0, "QVR5162", 6, 7, 0, 32768, -1, "LD", "QUORVEX, QVR5162", "QUORVEX, QVR5", 8192, 8192},
        {0, "QVR6082/6162", 6, 7, 0, 32768, -1, "LD", "QUORVEX, QVR6", "QUORVEX, QVR6", 8192, 8192},
        {0, "QVR6242/6322", 6, 7, 0, 32768, -1, "LD", "QUORVEX, QVR6", "QUORVEX, QVR6", 8192, 8192},
        {1, "TDS210", 4, 5, 2500, 128, 2500, "", "TEKTRONIX,TDS 210", "TEKTRONIX,TDS 210", 0, 0},
        {1, "TDS220", 4, 5, 2500, 128, 2500, "", "TEKTRONIX,TDS 220", "TEKTRONIX,TDS 220", 0, 0},
        {1, "TDS310", 4, 5, 1000, 128, 1000, "", "TEKTRONIX,TDS 310", "TEKTRONIX,TDS 310", 0, 0},
        {1, "TDS320", 4, 5, 1000, 128, 1000, "", "TEKTRONIX,TDS 320", "TEKTRONIX,TDS 320", 0, 0},
        {1, "TDS340", 4, 5, 1000, 128, 1000, "", "TEKTRONIX,TDS 340", "TEKTRONIX,TDS 340", 0, 0},
        {1, "TDS350", 4, 5, 1000, 128, 1000, "", "TEKTRONIX,TDS 350", "TEKTRONIX,TDS 350", 0, 0},
        {1, "TDS360", 4, 5, 1000, 128, 1000, "", "TEKTRONIX,TDS 360", "TEKTRONIX,TDS 360", 0, 0},
        {1, "TDS380", 4, 5, 1000, 128, 1000, "", "TEKTRONIX,TDS 380", "TEKTRONIX,TDS 380", 0, 0},
        {1, "TDS4xx", 4, 5, -1, 128, 0, "", "TEKTRONIX,TDS 4xx", "TEKTRONIX,TDS 4xx", 0, 0},
        {1, "TDS5xx", 4, 5, -1, 128, 0, "", "TEKTRONIX,TDS 5xx", "TEKTRONIX,TDS 5xx", 0, 0},
        {1, "TDS6xx", 4, 5, -1, 128, 0, "", "TEKTRONIX,TDS 6xx", "TEKTRONIX,TDS 6xx", 0, 0},
        {1, "TDS7xx", 4, 5, -1, 128, 0, "", "TEKTRONIX,TDS 7xx", "TEKTRONIX,TDS 7xx", 0, 0},
        {2, "271", 2, 3, 0, 512, 1024, "W", "FLUKE,271", "FLUKE,271", 0, 0},
        {2, "28x", 0, 1, 0, 2048, -1, "", "FLUKE,28x", "FLUKE,28x", 65536, 65536},
        {2, "29x", 0, 1, 0, 2048, -1, "U", "FLUKE,29x", "FLUKE,29x", 1048576, 1048576},
        {3, "39", 0, 1, 0, 2048, -1, "", "WAVETEK,39", "WAVETEK,39", 65536, 65536},
        {3, "29", 2, 3, 0, 512, 1024, "W", "WAVETEK,MODEL 29", "WAVETEK,MODEL 29", 0, 0},
        {3, "39A", 0, 1, 0, 2048, -1, "", "WAVETEK,39A", "WAVETEK,39A", 65536, 65536},
        {3, "195", 0, 1, 0, 2048, -1, "", "WAVETEK,195", "WAVETEK,195", 65536, 65536},
    };
    EXPECT_EQ(makeNames(), (Rows{"Quorvex", "Tektronix", "Fluke", "Wavetek"}));
    std::size_t listed = 0;
    for (int make = 0; make < 4; ++make)
        listed += modelNames(make).size();
    EXPECT_EQ(listed, std::size(rows));
    std::vector<int> next(4, 0);
    for (const Want& w : rows) {
        const int model = next[std::size_t(w.make)]++;
        SCOPED_TRACE(w.name);
        ASSERT_LT(std::size_t(model), modelNames(w.make).size());
        EXPECT_EQ(modelNames(w.make)[std::size_t(model)], w.name);
        const StateChoice d = downloadState(w.make, model);
        EXPECT_EQ(d.state, w.download);
        EXPECT_EQ(d.asksRecordLength, w.recordLength == -1);
        EXPECT_EQ(d.scopeRecordLength, std::max(w.recordLength, 0));
        const StateChoice u = uploadState(w.make, model);
        EXPECT_EQ(std::tie(u.state, u.reference, u.points), std::make_tuple(w.upload, w.reference, w.points));
        const InstrumentModel& m = instrumentModel(w.make, model);
        const auto has = [&w](char c) { return std::string_view(w.has).find(c) != std::string_view::npos; };
        EXPECT_EQ(supportsUsb(w.make, model), has('U'));
        EXPECT_EQ(m.lan, has('L'));
        EXPECT_EQ(m.cardDownload, has('D'));
        EXPECT_EQ(m.cardUpload, has('C'));
        EXPECT_EQ(m.bitPatterns, has('B'));
        EXPECT_EQ(m.asksCardFree, has('F'));
        EXPECT_EQ(m.tenBitWaveCad, has('W'));
        EXPECT_EQ(m.serialWriteWait, has('S') ? 40000 : 5000);
        for (LinkKind kind : {LinkKind::Serial, LinkKind::Gpib, LinkKind::Usb, LinkKind::Tcp}) {
            const bool bus = kind != LinkKind::Serial;
            EXPECT_EQ(expectedIdentity(m, w.name, false, kind), w.identity);
            EXPECT_EQ(expectedIdentity(m, w.name, true, kind), bus ? w.busUpload : w.identity);
        }
        EXPECT_EQ(storeMaxPoints(m, "arb2"), w.maxPoints);
        EXPECT_EQ(storeMaxPoints(m, "arb1"), w.arb1Points);
    }
    // The large stores are "arb1" and "arb3"; any other name is a small store.
    EXPECT_EQ(storeMaxPoints(instrumentModel(0, 10), "arb3"), 131072);
    EXPECT_EQ(storeMaxPoints(instrumentModel(0, 7), "arb4"), 65536);
    EXPECT_EQ(storeMaxPoints(instrumentModel(0, 7), "user1"), 65536);
    EXPECT_EQ(storeMaxPoints(instrumentModel(0, 15), "arb3"), 8192);
    // The identity takes the transfer's model text, not the row's name.
    EXPECT_EQ(expectedIdentity(instrumentModel(1, 0), "TDS", false, LinkKind::Serial), "TEKTRONIX,TDS ");

    for (auto [make, model] : {std::pair{0, 16}, {4, 0}, {-1, 0}, {0, -1}}) {
        EXPECT_TRUE(findInstrumentModel(make, model) == nullptr);
        EXPECT_EQ(downloadState(make, model).state, stIdle);
        const StateChoice u = uploadState(make, model);
        EXPECT_EQ(std::tie(u.state, u.reference, u.points), std::make_tuple(int(stIdle), uint16_t(0), -1));
        EXPECT_FALSE(supportsUsb(make, model));
    }
    EXPECT_TRUE(modelNames(-1).empty());
    EXPECT_TRUE(modelNames(4).empty());
}

namespace {
// A link that only tells its kind: making a worker moves no byte.
class KindLink : public Link {
public:
    explicit KindLink(LinkKind kind) : kind_(kind) {}
    LinkKind kind() const override { return kind_; }
    bool isOpen() const override { return true; }
    IoResult write(const void*, std::size_t) override { return {}; }
    IoResult read(void*, std::size_t) override { return {}; }
    IoResult readReply(std::string&, std::size_t) override { return {}; }
    void close() override {}

private:
    LinkKind kind_;
};

class NoStatus : public TransferStatus {
public:
    void showStatus(const std::string&, bool) override {}
    bool cancelled() const override { return false; }
};
} // namespace

TEST(InstrumentModels, EveryInterfaceARowOffersHasItsWorkers) {
    NoStatus status;
    for (int make = 0; make < 4; ++make)
        for (int model = 0; model < int(modelNames(make).size()); ++model) {
            const InstrumentModel& m = instrumentModel(make, model);
            for (LinkKind kind : {LinkKind::Serial, LinkKind::Gpib, LinkKind::Usb, LinkKind::Tcp}) {
                if ((kind == LinkKind::Usb && !m.usb) || (kind == LinkKind::Tcp && !m.lan))
                    continue;
                KindLink link(kind);
                TransferJob job;
                job.makeIndex = make;
                job.modelIndex = model;
                EXPECT_TRUE(makeWorker(m.downloadState, job, link, status, {})) << m.name;
                job.direction = Direction::Upload;
                EXPECT_TRUE(makeWorker(m.uploadState, job, link, status, {})) << m.name;
            }
        }
}

TEST(InstrumentTables, DestinationRowsForEveryInstrumentAndInterface) {
    int checked = 0;
    forEveryRow([&](int make, int model, int iface) {
        SCOPED_TRACE(testing::Message() << "make " << make << " model " << model << " interface " << iface);
        const Line* want = nullptr;
        for (const Line& l : kDestinations)
            if (matches(l, make, model, iface)) {
                ASSERT_EQ(want, nullptr) << "two table lines match";
                want = &l;
            }
        ASSERT_NE(want, nullptr);
        const DestinationRows got = destinationRows(make, model, iface);
        EXPECT_EQ(got.style, want->style);
        EXPECT_EQ(got.rows, want->rows);
        EXPECT_EQ(got.stretch, want->stretch);
        EXPECT_EQ(got.interpolate, want->interpolate);
        ++checked;
    });
    EXPECT_EQ(checked, (16 + 12 + 3 + 4) * 7);
}

TEST(InstrumentTables, SourceRowsForEveryInstrumentAndInterface) {
    const std::vector<std::pair<std::set<int>, Rows>> tektronix = {
        {{0, 1}, {"CH1", "CH2", "MATH", "REFA", "REFB"}},
        {{2, 3, 5}, {"CH1", "CH2", "MATH1", "REF1", "REF2"}},
        {{4, 6, 7}, {"CH1", "CH2", "MATH", "MATH1", "REF1", "REF2"}},
        {{8, 9, 10, 11},
         {"CH1", "CH2", "CH3", "CH4", "MATH1", "MATH2", "MATH3", "REF1", "REF2", "REF3", "REF4"}},
    };
    forEveryRow([&](int make, int model, int iface) {
        SCOPED_TRACE(testing::Message() << "make " << make << " model " << model << " interface " << iface);
        const SourceRows got = sourceRows(make, model, iface);
        if (make == makeTektronix) {
            EXPECT_EQ(got.style, S::List);
            for (const auto& [models, rows] : tektronix) {
                if (models.count(model)) {
                    EXPECT_EQ(got.rows, rows);
                }
            }
            return;
        }
        // The other makes offer what they can be sent to.
        for (const Line& l : kDestinations)
            if (matches(l, make, model, iface)) {
                EXPECT_EQ(got.style, l.style);
                EXPECT_EQ(got.rows, l.rows);
            }
    });
}

TEST(InstrumentTables, RowsOutsideTheListsGiveNoRows) {
    for (auto [make, model] : {std::pair{-1, 0}, {0, -1}, {0, 16}, {1, 12}, {2, 3}, {3, 4}, {4, 0}}) {
        const DestinationRows d = destinationRows(make, model, ifLan);
        EXPECT_TRUE(d.rows.empty());
        EXPECT_EQ(d.style, S::Unchanged);
        EXPECT_EQ(d.stretch, T::Unchanged);
        EXPECT_FALSE(d.interpolate);
        EXPECT_TRUE(sourceRows(make, model, ifLan).rows.empty());
    }
}

TEST(InstrumentTables, FlowPresetsOfTheMakes) {
    EXPECT_EQ(flowControlPreset(0), 1);
    EXPECT_EQ(flowControlPreset(1), 2);
    EXPECT_EQ(flowControlPreset(2), 1);
    EXPECT_EQ(flowControlPreset(3), 1);
}

TEST(TransferInfo, StatusLinesNameTheInstrumentAndTheGpibAddress) {
    TransferSettings s;
    applyTransferDefaults(s);
    EXPECT_EQ(downloadInfo(s), "   Download to:   Quorvex QV7351A via LAN");
    EXPECT_EQ(uploadInfo(s), "   Upload from:   Quorvex QV7351A via LAN");

    // Board 0 becomes "GPIB" in the record and the line names the address.
    s.dlTypeIndex = ifGpib0;
    s.dlType = "GPIB0";
    s.dlAddress = "7";
    EXPECT_EQ(downloadInfo(s), "   Download to:   Quorvex QV7351A via GPIB address 7");
    EXPECT_EQ(s.dlType, "GPIB");
    // Board 1 keeps its name and shows no address.
    s.ulTypeIndex = ifGpib1;
    s.ulType = "GPIB1";
    s.ulMake = "Tektronix";
    s.ulModel = "TDS220";
    EXPECT_EQ(uploadInfo(s), "   Upload from:   Tektronix TDS220 via GPIB1");
    EXPECT_EQ(s.ulType, "GPIB1");
    // A serial port is named by its path.
    s.ulTypeIndex = 5;
    s.ulType = "/dev/ttyUSB0";
    EXPECT_EQ(uploadInfo(s), "   Upload from:   Tektronix TDS220 via /dev/ttyUSB0");
}

TEST(TransferInfo, SidesReachTheirOwnFields) {
    TransferSettings s;
    applyTransferDefaults(s);
    TransferSide d = downloadSide(s);
    TransferSide u = uploadSide(s);
    d.target = "arb3";
    u.target = "CH2";
    d.flowControl = 0;
    EXPECT_EQ(s.dlDestination, "arb3");
    EXPECT_EQ(s.ulSource, "CH2");
    EXPECT_EQ(s.dlFlowControl, 0);
    EXPECT_EQ(s.ulFlowControl, 2);
    EXPECT_EQ(d.stretchIndex, &s.dlStretchIndex);
    EXPECT_EQ(u.stretchIndex, nullptr);
}
