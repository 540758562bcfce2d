#include "transfer/core/instrument_tables.h"

#include "transfer/core/transfer_settings.h"

namespace plotwell::transfer {

namespace {

using Rows = std::vector<std::string>;

const Rows kEmpty;
const Rows kOneEmptyRow = {""};
const Rows kStores = {"1", "2", "3", "4", "5"};
const Rows kArbs = {"arb1", "arb2", "arb3", "arb4"};
const Rows kArbsPatternsNoise = {"arb1",     "arb2",     "arb3",     "arb4", "pattern1",
                                 "pattern2", "pattern3", "pattern4", "noise"};

bool inRange(int v, int lo, int hi) {
    return v >= lo && v <= hi;
}

// The rows make 0 offers for both directions; `interpolate` only matters for downloads.
DestinationRows quorvexRows(int model, int typeIndex) {
    using S = ComboStyle;
    using T = StretchRows;
    const bool card = typeIndex == ifCard;
    if (model == 0 || model == 2 || model == 3)
        return {S::FreeText, kOneEmptyRow, T::YesNo, false};
    if (model == 1)
        return {S::List, kStores, T::OnlyYes, false};
    if (model == 4)
        return {S::List, kArbs, T::YesNo, false};
    if (inRange(model, 5, 10) || inRange(model, 12, 15))
        return card ? DestinationRows{S::FreeText, kOneEmptyRow, T::YesNo, true}
                    : DestinationRows{S::List, kArbs, T::YesNo, true};
    if (model == 11)
        return card ? DestinationRows{S::FreeText, kOneEmptyRow, T::Unchanged, false}
                    : DestinationRows{S::List, kArbsPatternsNoise, T::YesNo, true};
    return {};
}

// Fluke and Wavetek: one model has five numbered stores, the others take a typed name.
DestinationRows storeOrNameRows(int model, int storeModel, int modelCount) {
    if (model == storeModel)
        return {ComboStyle::List, kStores, StretchRows::OnlyYes, false};
    if (inRange(model, 0, modelCount - 1))
        return {ComboStyle::FreeText, kOneEmptyRow, StretchRows::YesNo, false};
    return {};
}

} // namespace

const std::vector<std::string>& makeNames() {
    static const Rows names = {"Quorvex", "Tektronix", "Fluke", "Wavetek"};
    return names;
}

const std::vector<std::string>& modelNames(int makeIndex) {
    static const Rows models[4] = {
        {"QVA3460", "QV3030/A", "QVA347x", "QVA3420x", "QV8201", "QV7351", "QV6741", "QV7351A", "QV6741A",
         "QV7352A", "QV6742A", "QVS51xx", "QVR5242", "QVR5162", "QVR6082/6162", "QVR6242/6322"},
        {"TDS210", "TDS220", "TDS310", "TDS320", "TDS340", "TDS350", "TDS360", "TDS380", "TDS4xx", "TDS5xx",
         "TDS6xx", "TDS7xx"},
        {"271", "28x", "29x"},
        {"39", "29", "39A", "195"},
    };
    return inRange(makeIndex, 0, 3) ? models[makeIndex] : kEmpty;
}

DestinationRows destinationRows(int makeIndex, int modelIndex, int typeIndex) {
    switch (makeIndex) {
    case makeQuorvex:
        return quorvexRows(modelIndex, typeIndex);
    case makeTektronix: {
        DestinationRows d{ComboStyle::List, {}, StretchRows::YesNo, false};
        if (inRange(modelIndex, 0, 1))
            d.rows = {"REFA", "REFB"};
        else if (inRange(modelIndex, 2, 7))
            d.rows = {"REF1", "REF2"};
        else if (inRange(modelIndex, 8, 11))
            d.rows = {"REF1", "REF2", "REF3", "REF4"};
        else
            return {};
        return d;
    }
    case makeFluke:
        return storeOrNameRows(modelIndex, 0, 3);
    case makeWavetek:
        return storeOrNameRows(modelIndex, 1, 4);
    default:
        return {};
    }
}

SourceRows sourceRows(int makeIndex, int modelIndex, int typeIndex) {
    if (makeIndex == makeTektronix) {
        Rows rows = {"CH1", "CH2"};
        auto add = [&rows](std::initializer_list<const char*> more) {
            rows.insert(rows.end(), more.begin(), more.end());
        };
        switch (modelIndex) {
        case 0:
        case 1:
            add({"MATH", "REFA", "REFB"});
            break;
        case 2:
        case 3:
        case 5:
            add({"MATH1", "REF1", "REF2"});
            break;
        case 4:
        case 6:
        case 7:
            add({"MATH", "MATH1", "REF1", "REF2"});
            break;
        case 8:
        case 9:
        case 10:
        case 11:
            add({"CH3", "CH4", "MATH1", "MATH2", "MATH3", "REF1", "REF2", "REF3", "REF4"});
            break;
        default:
            return {};
        }
        return {ComboStyle::List, rows};
    }
    const DestinationRows d = destinationRows(makeIndex, modelIndex, typeIndex);
    return {d.style, d.rows};
}

int flowControlPreset(int makeIndex) {
    return makeIndex == makeTektronix ? 2 : 1;
}

} // namespace plotwell::transfer
