#include "transfer/core/instrument_models.h"

#include <algorithm>

namespace plotwell::transfer {

namespace {

using Rows = std::vector<std::string>;
using S = ComboStyle;
using T = StretchRows;

struct MakeRow {
    const char* name;
    int flowControl;        // the serial flow control choosing the make presets
    ComboStyle targetStyle; // the target combo's style when the make is chosen
};
constexpr MakeRow kMakes[] = {
    {"Quorvex", 1, S::FreeText},
    {"Tektronix", 2, S::List},
    {"Fluke", 1, S::FreeText},
    {"Wavetek", 1, S::FreeText},
};
constexpr int kMakeCount = int(std::size(kMakes));

// The generators' four arb stores.
Rows arbNames() {
    return {"arb1", "arb2", "arb3", "arb4"};
}

// A destination typed in full.
DestinationRows typedDestination() {
    return {S::FreeText, {""}, T::YesNo, false};
}
// The maker's generators: their arb stores, and a file name typed for the card.
DestinationRows generatorArbs() {
    return {S::List, arbNames(), T::YesNo, true};
}
DestinationRows generatorCard() {
    return {S::FreeText, {""}, T::YesNo, true};
}

// The shapes of the models that share them; a model that differs only in its name is
// made by one of these.

// The ARBDEF generators: named waveforms of 12-bit codes.
InstrumentModel arbDef(InstrumentMake make, const char* name, const char* identity) {
    return {.make = make,
            .name = name,
            .downloadState = stArbDefDownload,
            .uploadState = stArbDataUpload,
            .uploadReference = 2048,
            .destinations = typedDestination(),
            .identity = identity,
            .maxPoints = 65536};
}

// The generators with numbered stores of 1024 points: the download offers the first five,
// the upload reads any of 21.
InstrumentModel numberedStores(InstrumentMake make, const char* name, const char* identity) {
    InstrumentModel m{.make = make,
                      .name = name,
                      .downloadState = stStoreDownload,
                      .uploadState = stStoreUpload,
                      .uploadReference = 512,
                      .uploadPoints = 1024,
                      .identity = identity,
                      .downloadStores = 5,
                      .uploadStores = 21,
                      .tenBitWaveCad = true};
    m.destinations = {S::List, {}, T::OnlyYes, false};
    for (int k = 1; k <= m.downloadStores; ++k)
        m.destinations.rows.push_back(std::to_string(k));
    return m;
}

// The maker's generators with named arb stores: unsigned 14-bit codes, two large stores.
InstrumentModel arbStores(const char* name) {
    return {.make = makeQuorvex,
            .name = name,
            .downloadState = stMakerDownload,
            .uploadState = stMakerUpload,
            .uploadReference = 8192,
            .lan = true,
            .cardDownload = true,
            .cardUpload = true,
            .destinations = generatorArbs(),
            .cardDestinations = generatorCard(),
            .identity = "QUORVEX, %s",
            .maxPoints = 65536,
            .largeStorePoints = 131072,
            .codeRange = 8192,
            .cardDirectory = "ARB/WAVES"};
}

// The maker's generators with signed 16-bit codes.
InstrumentModel signedArbStores(const char* name, const char* identity, const char* busUploadIdentity,
                                const char* cardDirectory) {
    return {.make = makeQuorvex,
            .name = name,
            .downloadState = stMakerDownload,
            .uploadState = stMakerUpload,
            .uploadReference = 32768,
            .lan = true,
            .cardDownload = true,
            .destinations = generatorArbs(),
            .cardDestinations = generatorCard(),
            .identity = identity,
            .busUploadIdentity = busUploadIdentity,
            .maxPoints = 8192,
            .codeRange = 32768,
            .signedCodes = true,
            .cardDirectory = cardDirectory};
}

// The TDS oscilloscopes: 8-bit samples in reference memories. The upload asks for as many
// points as a reference holds, or for the scope's own record where the user chooses it.
InstrumentModel scope(const char* name, int32_t recordLength, float scale, float offset, Rows references,
                      Rows sources) {
    return {.make = makeTektronix,
            .name = name,
            .downloadState = stScopeDownload,
            .uploadState = stScopeUpload,
            .recordLength = recordLength,
            .uploadReference = 128,
            .uploadPoints = recordLength == kChosenRecordLength ? 0 : recordLength,
            .destinations = {S::List, std::move(references), T::YesNo, false},
            .sources = SourceRows{S::List, std::move(sources)},
            .identity = "TEKTRONIX,TDS %s",
            .identitySkip = 3,
            .scopeScale = scale,
            .scopeOffset = offset};
}
InstrumentModel smallScope(const char* name) {
    return scope(name, 2500, 128.0f, 0.0f, {"REFA", "REFB"}, {"CH1", "CH2", "MATH", "REFA", "REFB"});
}
InstrumentModel midScope(const char* name, Rows sources) {
    return scope(name, 1000, 117.5f, 20.0f, {"REF1", "REF2"}, std::move(sources));
}
InstrumentModel largeScope(const char* name) {
    return scope(name, kChosenRecordLength, 128.0f, 20.0f, {"REF1", "REF2", "REF3", "REF4"},
                 {"CH1", "CH2", "CH3", "CH4", "MATH1", "MATH2", "MATH3", "REF1", "REF2", "REF3", "REF4"});
}

// An RS-232 download to the slow generators waits 40 s for each write.
InstrumentModel slowToStore(InstrumentModel m) {
    m.serialWriteWait = 40000;
    return m;
}

// The rows in the order of the Model lists, make by make.
std::vector<InstrumentModel> buildModels() {
    const Rows traces310 = {"CH1", "CH2", "MATH1", "REF1", "REF2"};
    const Rows traces340 = {"CH1", "CH2", "MATH", "MATH1", "REF1", "REF2"};
    return {
        slowToStore(arbDef(makeQuorvex, "QVA3460", "QUORVEX,%s")),
        numberedStores(makeQuorvex, "QV3030/A", "QUORVEX,QV3030"),
        slowToStore(arbDef(makeQuorvex, "QVA347x", "QUORVEX,%s")),
        {.make = makeQuorvex,
         .name = "QVA3420x",
         .downloadState = stArbDefDownload,
         .uploadState = stArbDataUpload,
         .uploadReference = 2048,
         .usb = true,
         .cardDownload = true,
         .cardUpload = true,
         .destinations = typedDestination(),
         .identity = "QUORVEX,%s",
         .maxPoints = 1048576,
         .codeRange = 2048,
         .asksCardFree = true,
         .cardDirectory = "WAVES.ARB"},
        {.make = makeQuorvex,
         .name = "QV8201",
         .downloadState = stArbDefDownload,
         .uploadState = stArbDataUpload,
         .uploadReference = 2048,
         .usb = true,
         .destinations = {S::List, arbNames(), T::YesNo, false},
         .identity = "QUORVEX,%s",
         .maxPoints = 65536},
        arbStores("QV7351"),
        arbStores("QV6741"),
        arbStores("QV7351A"),
        arbStores("QV6741A"),
        arbStores("QV7352A"),
        arbStores("QV6742A"),
        // The pulse/pattern generator: arb, pattern and noise stores.
        {.make = makeQuorvex,
         .name = "QVS51xx",
         .downloadState = stPatternDownload,
         .uploadState = stMakerUpload,
         .uploadReference = 32768,
         .lan = true,
         .cardDownload = true,
         .bitPatterns = true,
         .destinations = {S::List,
                          {"arb1", "arb2", "arb3", "arb4", "pattern1", "pattern2", "pattern3", "pattern4",
                           "noise"},
                          T::YesNo,
                          true},
         .cardDestinations = DestinationRows{S::FreeText, {""}, T::Unchanged, false},
         .identity = "QUORVEX, QVS5",
         .maxPoints = 4096,
         .codeRange = 32768,
         .signedCodes = true,
         .cardDirectory = "QVS51XX/WAVES",
         .cardPatternDirectory = "QVS51XX/PATTERNS"},
        signedArbStores("QVR5242", "QUORVEX, %s", "QUORVEX, QVR5", "QVR5XX2/WAVES"),
        signedArbStores("QVR5162", "QUORVEX, %s", "QUORVEX, QVR5", "QVR5XX2/WAVES"),
        signedArbStores("QVR6082/6162", "QUORVEX, QVR6", "", "QVR6XX2/WAVES"),
        signedArbStores("QVR6242/6322", "QUORVEX, QVR6", "", "QVR6XX2/WAVES"),

        smallScope("TDS210"),
        smallScope("TDS220"),
        midScope("TDS310", traces310),
        midScope("TDS320", traces310),
        midScope("TDS340", traces340),
        midScope("TDS350", traces310),
        midScope("TDS360", traces340),
        midScope("TDS380", traces340),
        largeScope("TDS4xx"),
        largeScope("TDS5xx"),
        largeScope("TDS6xx"),
        largeScope("TDS7xx"),

        numberedStores(makeFluke, "271", "FLUKE,271"),
        arbDef(makeFluke, "28x", "FLUKE,%s"),
        {.make = makeFluke,
         .name = "29x",
         .downloadState = stArbDefDownload,
         .uploadState = stArbDataUpload,
         .uploadReference = 2048,
         .usb = true,
         .destinations = typedDestination(),
         .identity = "FLUKE,%s",
         .maxPoints = 1048576},

        arbDef(makeWavetek, "39", "WAVETEK,%s"),
        numberedStores(makeWavetek, "29", "WAVETEK,MODEL 29"),
        arbDef(makeWavetek, "39A", "WAVETEK,%s"),
        arbDef(makeWavetek, "195", "WAVETEK,%s"),
    };
}

const std::vector<InstrumentModel>& models() {
    static const std::vector<InstrumentModel> table = buildModels();
    return table;
}

// The rows of each make in the order of its Model list.
const std::vector<std::vector<const InstrumentModel*>>& rowsByMake() {
    static const auto byMake = [] {
        std::vector<std::vector<const InstrumentModel*>> v(kMakeCount);
        for (const InstrumentModel& m : models())
            v[std::size_t(m.make)].push_back(&m);
        return v;
    }();
    return byMake;
}

bool knownMake(int makeIndex) {
    return makeIndex >= 0 && makeIndex < kMakeCount;
}

} // namespace

const std::vector<std::string>& makeNames() {
    static const Rows names = [] {
        Rows n;
        for (const MakeRow& m : kMakes)
            n.emplace_back(m.name);
        return n;
    }();
    return names;
}

const std::vector<std::string>& modelNames(int makeIndex) {
    static const std::vector<Rows> names = [] {
        std::vector<Rows> n(kMakeCount);
        for (const InstrumentModel& m : models())
            n[std::size_t(m.make)].push_back(m.name);
        return n;
    }();
    static const Rows none;
    return knownMake(makeIndex) ? names[std::size_t(makeIndex)] : none;
}

const InstrumentModel* findInstrumentModel(int makeIndex, int modelIndex) {
    if (!knownMake(makeIndex))
        return nullptr;
    const auto& rows = rowsByMake()[std::size_t(makeIndex)];
    return modelIndex >= 0 && modelIndex < int(rows.size()) ? rows[std::size_t(modelIndex)] : nullptr;
}

const InstrumentModel& instrumentModel(int makeIndex, int modelIndex) {
    static const InstrumentModel none;
    const InstrumentModel* m = findInstrumentModel(makeIndex, modelIndex);
    return m ? *m : none;
}

int flowControlPreset(int makeIndex) {
    return knownMake(makeIndex) ? kMakes[makeIndex].flowControl : 1;
}

ComboStyle makeTargetStyle(int makeIndex) {
    return knownMake(makeIndex) ? kMakes[makeIndex].targetStyle : S::FreeText;
}

DestinationRows destinationRows(int makeIndex, int modelIndex, int typeIndex) {
    const InstrumentModel* m = findInstrumentModel(makeIndex, modelIndex);
    if (!m)
        return {};
    return typeIndex == ifCard && m->cardDestinations ? *m->cardDestinations : m->destinations;
}

SourceRows sourceRows(int makeIndex, int modelIndex, int typeIndex) {
    const InstrumentModel* m = findInstrumentModel(makeIndex, modelIndex);
    if (m && m->sources)
        return *m->sources;
    DestinationRows d = destinationRows(makeIndex, modelIndex, typeIndex);
    return {d.style, std::move(d.rows)};
}

StateChoice downloadState(int makeIndex, int modelIndex) {
    const InstrumentModel& m = instrumentModel(makeIndex, modelIndex);
    StateChoice c;
    c.state = m.downloadState;
    c.asksRecordLength = m.recordLength == kChosenRecordLength;
    c.scopeRecordLength = c.asksRecordLength ? 0 : m.recordLength;
    return c;
}

StateChoice uploadState(int makeIndex, int modelIndex) {
    const InstrumentModel& m = instrumentModel(makeIndex, modelIndex);
    StateChoice c;
    c.state = m.uploadState;
    c.reference = m.uploadReference;
    c.points = m.uploadPoints;
    return c;
}

bool supportsUsb(int makeIndex, int modelIndex) {
    return instrumentModel(makeIndex, modelIndex).usb;
}

std::string expectedIdentity(const InstrumentModel& m, const std::string& modelText, bool upload,
                             LinkKind kind) {
    const bool bus = upload && kind != LinkKind::Serial && !m.busUploadIdentity.empty();
    std::string text = bus ? m.busUploadIdentity : m.identity;
    if (const auto at = text.find("%s"); at != std::string::npos)
        text.replace(at, 2, modelText.substr(std::min(m.identitySkip, modelText.size())));
    return text;
}

int32_t storeMaxPoints(const InstrumentModel& m, const std::string& store) {
    const bool large = store == "arb1" || store == "arb3";
    return large && m.largeStorePoints ? m.largeStorePoints : m.maxPoints;
}

} // namespace plotwell::transfer
