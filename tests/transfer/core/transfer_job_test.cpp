#include "transfer/core/transfer_job.h"

#include <gtest/gtest.h>

using namespace plotwell::transfer;
using V = EntryCheck::Verdict;

namespace {

TransferJob job(Direction d, int make, int model, int type, int targetRow = 0) {
    TransferJob j;
    j.direction = d;
    j.makeIndex = make;
    j.modelIndex = model;
    j.typeIndex = type;
    j.targetIndex = targetRow;
    return j;
}

constexpr Direction kDown = Direction::Download;
constexpr Direction kUp = Direction::Upload;
constexpr int kWave = 1;
constexpr int kPattern = 13;
constexpr int kCom1 = ifFirstSerial;

} // namespace

TEST(TransferEntry, EveryRefusalWithItsText) {
    const char* arbDest = "A bit pattern cannot be downloaded to an arb destination.\n"
                          "Select an arb destination in 'Download setup'";
    const char* patternDest = "An arb cannot be downloaded to a pattern destination.\n"
                              "Select a pattern destination in 'Download setup'";
    const char* noiseDest = "A bit pattern cannot be downloaded to a noise destination.\n"
                            "Select a noise destination in 'Download setup'";
    const char* notPulse = "Bit patterns are not supported on the selected model\n"
                           "Select a supported pulse generator in 'Download setup'";
    struct Case {
        TransferJob job;
        int points, fileType;
        bool busy;
        V verdict;
        const char* text;
    } cases[] = {
        {job(kDown, 0, 0, ifGpib0), 0, kWave, false, V::Silent, ""},
        {job(kDown, 0, 0, ifGpib0), 0, kWave, true, V::Silent, ""},
        {job(kDown, 0, 0, ifGpib0), 10, kWave, true, V::Error, kBusyText},
        {job(kDown, 0, 0, ifGpib0), 10, kWave, false, V::Go, ""},
        {job(kDown, 0, 7, ifGpib0), 10, kPattern, false, V::Plain, notPulse},
        {job(kDown, 1, 11, ifGpib0), 10, kPattern, false, V::Plain, notPulse}, // the TDS7xx
        {job(kDown, 1, 11, ifGpib0), 10, kWave, false, V::Go, ""},
        {job(kDown, 2, 0, ifGpib0), 10, kPattern, false, V::Plain, notPulse},
        {job(kDown, 0, 11, ifGpib0, 2), 10, kPattern, false, V::Plain, arbDest},
        {job(kDown, 0, 11, ifGpib0, 2), 10, kWave, false, V::Go, ""},
        {job(kDown, 0, 11, ifGpib0, 5), 10, kWave, false, V::Plain, patternDest},
        {job(kDown, 0, 11, ifGpib0, 5), 10, kPattern, false, V::Go, ""},
        {job(kDown, 0, 11, ifGpib0, 8), 10, kPattern, false, V::Plain, noiseDest},
        {job(kDown, 0, 11, ifGpib0, 8), 10, kWave, false, V::Go, ""},
        {job(kDown, 0, 0, ifUsb), 10, kWave, false, V::Error, kNoUsbText},
        {job(kDown, 0, 3, ifUsb), 10, kWave, false, V::Go, ""},
        {job(kDown, 0, 4, ifUsb), 10, kWave, false, V::Go, ""},
        {job(kDown, 2, 2, ifUsb), 10, kWave, false, V::Go, ""},
        {job(kDown, 2, 1, ifUsb), 10, kWave, false, V::Error, kNoUsbText},
        {job(kDown, 0, 4, ifCard), 10, kWave, false, V::Error, kNoCardText},
        {job(kDown, 0, 3, ifCard), 10, kWave, false, V::Go, ""},
        {job(kDown, 0, 15, ifCard), 10, kWave, false, V::Go, ""},
        {job(kDown, 2, 2, ifCard), 10, kWave, false, V::Error, kNoCardText}, // no directory on its card
        {job(kDown, 0, 0, ifLan), 10, kWave, false, V::Error, kNoLanText},
        {job(kDown, 1, 3, ifLan), 10, kWave, false, V::Error, kNoLanText},
        {job(kDown, 0, 7, ifLan), 10, kWave, false, V::Go, ""},
        {job(kDown, 0, 11, ifLan, 8), 10, kWave, false, V::Go, ""},
        {job(kDown, 3, 1, kCom1 + 3), 10, kWave, false, V::Go, ""},
    };
    for (const Case& c : cases) {
        const EntryCheck e = checkDownloadEntry(c.job, c.points, c.fileType, c.busy);
        EXPECT_EQ(e.verdict, c.verdict)
            << c.job.makeIndex << "/" << c.job.modelIndex << "/" << c.job.typeIndex;
        EXPECT_EQ(e.text, c.text);
    }

    struct UpCase {
        TransferJob job;
        bool busy;
        V verdict;
        const char* text;
    } up[] = {
        {job(kUp, 0, 0, ifGpib1), true, V::Error, kBusyText},
        {job(kUp, 0, 0, ifGpib1), false, V::Go, ""},
        {job(kUp, 0, 2, ifUsb), false, V::Error, kNoUsbText},
        {job(kUp, 2, 2, ifUsb), false, V::Go, ""},
        {job(kUp, 0, 10, ifCard), false, V::Go, ""},
        {job(kUp, 0, 12, ifCard), false, V::Error, kNoCardText},
        {job(kUp, 2, 2, ifCard), false, V::Error, kNoCardText},
        {job(kUp, 0, 0, ifLan), false, V::Error, kNoLanText},
        {job(kUp, 1, 9, ifLan), false, V::Error, kNoLanText},
        {job(kUp, 0, 12, ifLan), false, V::Go, ""},
        {job(kUp, 1, 9, kCom1), false, V::Go, ""},
    };
    for (const UpCase& c : up) {
        const EntryCheck e = checkUploadEntry(c.job, c.busy);
        EXPECT_EQ(e.verdict, c.verdict)
            << c.job.makeIndex << "/" << c.job.modelIndex << "/" << c.job.typeIndex;
        EXPECT_EQ(e.text, c.text);
    }
}

TEST(TransferJobCopy, TakesEveryFieldOfItsDirection) {
    TransferSettings s;
    s.dlMakeIndex = 2, s.dlModelIndex = 1, s.dlTypeIndex = 6, s.dlStretchIndex = 0, s.dlDestinationIndex = -1;
    s.dlMake = "Fluke", s.dlModel = "28x", s.dlType = "/dev/ttyS1", s.dlDestination = "WAVE";
    s.dlAddress = "7", s.dlIPAddress = "10.0.0.2", s.dlTCPPort = "5025", s.dlDriveLetter = "/media/card";
    s.ulMakeIndex = 3, s.ulModelIndex = 2, s.ulTypeIndex = 0, s.ulSourceIndex = 1;
    s.ulMake = "Wavetek", s.ulModel = "39A", s.ulType = "GPIB", s.ulSource = "ARB2";
    s.ulAddress = "9", s.ulIPAddress = "10.0.0.3", s.ulTCPPort = "9221", s.ulDriveLetter = "/mnt/u";

    const TransferJob d = downloadJob(s, true, true);
    EXPECT_TRUE(d.download());
    EXPECT_EQ(std::tie(d.makeIndex, d.modelIndex, d.typeIndex, d.stretchIndex, d.targetIndex),
              std::make_tuple(2, 1, 6, 0, -1));
    EXPECT_EQ(std::tie(d.make, d.model, d.type, d.target, d.address, d.ipAddress, d.tcpPort, d.drive),
              std::make_tuple("Fluke", "28x", "/dev/ttyS1", "WAVE", "7", "10.0.0.2", "5025", "/media/card"));
    EXPECT_TRUE(d.skipIdentity && d.interpolate && d.stretch());

    const TransferJob u = uploadJob(s, false);
    EXPECT_FALSE(u.download());
    EXPECT_EQ(std::tie(u.makeIndex, u.modelIndex, u.typeIndex, u.targetIndex), std::make_tuple(3, 2, 0, 1));
    EXPECT_EQ(std::tie(u.make, u.model, u.type, u.target, u.address, u.ipAddress, u.tcpPort, u.drive),
              std::make_tuple("Wavetek", "39A", "GPIB", "ARB2", "9", "10.0.0.3", "9221", "/mnt/u"));
    EXPECT_FALSE(u.skipIdentity);

    // The job is a copy: later changes of the record leave it as it was.
    s.dlTypeIndex = 0;
    EXPECT_EQ(d.typeIndex, 6);
}
