#pragma once
// The whole application with the stub GPIB and USB libraries in place of the drivers, and
// short waits for silent instruments: the fixture of the transfer form tests.

#include "app_fixture.h"

#include "app/Plotdesk.h"
#include "sim/adapters.h"
#include "transfer/core/instrument_libraries.h"
#include "transfer/core/link.h"
#include "transfer/forms/setdload.h"
#include "transfer/forms/setuload.h"
#include "transfer/forms/transfer_session.h"

#include <QCheckBox>

#include <chrono>
#include <cstdlib>
#include <string>

namespace plotwell::transfer::formsrig {

using namespace std::chrono_literals;

class LinkFormsTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        ::setenv(kGpibLibraryVariable, sim::gpibStubPath().c_str(), 1);
        ::setenv(kUsbLibraryVariable, sim::usbStubPath().c_str(), 1);
        LinkDeadlines& d = PWForm1->Transfers.deadlines;
        // The USB stub answers in the test's own thread, so its wait only ever runs out on
        // a silent instrument: short. The LAN instrument answers from its own thread and
        // every LAN reply here comes: room for a loaded machine.
        d.usbReply = 600ms;
        d.tcpReplyByte = 5000ms;
        d.tcpReply = 5000ms;
        d.tcpData = 5000ms;
        d.gpibQueryPause = 0ms;
    }
    void TearDown() override {
        AppTest::TearDown();
        ::unsetenv(kGpibLibraryVariable);
        ::unsetenv(kUsbLibraryVariable);
    }
    // Opens a link as a transfer from `w` would: the interface row, the address and the
    // direction.
    static bool openLink(TWFMform& w, int typeIndex, const std::string& address, bool download = true) {
        TransferJob job;
        job.direction = download ? Direction::Download : Direction::Upload;
        job.typeIndex = typeIndex;
        job.address = address;
        return TTransferSession(w).OpenLink(job);
    }
    // The "Skip identification query" box of a direction's dialog.
    static void setSkip(bool download, bool on) {
        QWidget* dialog = download ? static_cast<QWidget*>(SetDownload) : static_cast<QWidget*>(SetUpload);
        const char* name = download ? "SkipID1" : "SkipID";
        auto* box = dialog->findChild<QCheckBox*>(name);
        if (!box) {
            box = new QCheckBox(dialog);
            box->setObjectName(name);
        }
        box->setChecked(on);
    }
};

inline sim::Faults silentFaults() {
    sim::Faults f;
    f.silent = true;
    return f;
}

inline sim::Faults shortWriteFaults() {
    sim::Faults f;
    f.shortWrites = true;
    return f;
}

inline const std::string kDownloadError = "Error downloading waveform data\nto ";
inline const std::string kUploadError = "Error uploading waveform data\nfrom ";

} // namespace plotwell::transfer::formsrig
