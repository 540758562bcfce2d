#include "transfer/core/instrument_tables.h"
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

TEST(InstrumentTables, MakesAndModels) {
    EXPECT_EQ(makeNames(), (Rows{"Quorvex", "Tektronix", "Fluke", "Wavetek"}));
    EXPECT_EQ(modelNames(0).size(), 16u);
    EXPECT_EQ(modelNames(0)[7], "QV7351A");
    EXPECT_EQ(modelNames(0)[11], "QVS51xx");
    EXPECT_EQ(modelNames(0)[15], "QVR6242/6322");
    EXPECT_EQ(modelNames(1).size(), 12u);
    EXPECT_EQ(modelNames(1)[8], "TDS4xx");
    EXPECT_EQ(modelNames(2), (Rows{"271", "28x", "29x"}));
    EXPECT_EQ(modelNames(3), (Rows{"39", "29", "39A", "195"}));
    EXPECT_TRUE(modelNames(-1).empty());
    EXPECT_TRUE(modelNames(4).empty());
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

TEST(InstrumentTables, UsbCapableInstrumentsAndFlowPresets) {
    std::set<std::pair<int, int>> usb;
    forEveryRow([&](int make, int model, int) {
        if (supportsUsb(make, model))
            usb.insert({make, model});
    });
    EXPECT_EQ(usb, (std::set<std::pair<int, int>>{{0, 3}, {0, 4}, {2, 2}}));
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
