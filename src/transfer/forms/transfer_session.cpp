#include "transfer/forms/transfer_session.h"

#include "common/numtext.h"
#include "platform/screen_cursor.h"
#include "platform/ui.h"
#include "transfer/core/identity.h"
#include "transfer/core/instrument_abi.h"
#include "transfer/core/maker.h"
#include "transfer/core/memory_card.h"
#include "transfer/core/session.h"
#include "transfer/forms/TekRef.h"
#include "transfer/forms/instrument_links.h"
#include "transfer/forms/msgwnd.h"
#include "transfer/forms/setdload.h"
#include "transfer/forms/setuload.h"
#include "transfer/forms/transfer_host.h"
#include "workspace/forms/frame_host.h"
#include "workspace/forms/wfmchild.h"

#include <QCheckBox>
#include <QTimer>

using namespace plotwell;

TTransferHost* TransferHost = nullptr;

namespace {
// The "Skip identification query" box of the direction's settings dialog.
bool skipIdentity(bool download) {
    QWidget* dialog = download ? static_cast<QWidget*>(SetDownload) : static_cast<QWidget*>(SetUpload);
    if (!dialog)
        return false;
    auto* box = dialog->findChild<QCheckBox*>(download ? "SkipID1" : "SkipID");
    return box && box->isChecked();
}
} // namespace

bool TTransferSession::CheckIdentitySerial(transfer::Link& link, std::string& expected, bool download) {
    return CheckIdentity(link, expected, download);
}

bool TTransferSession::CheckIdentityGpib(transfer::Link& link, std::string& expected, bool download) {
    return CheckIdentity(link, expected, download);
}

bool TTransferSession::CheckIdentityUsb(transfer::Link& link, std::string& expected, bool download) {
    return CheckIdentity(link, expected, download);
}

bool TTransferSession::CheckIdentityLan(transfer::Link& link, std::string& expected, bool download) {
    return CheckIdentity(link, expected, download);
}

int TTransferSession::CompareIdentity(const std::string& reply, const std::string& expected) {
    return transfer::CompareIdentity(reply, expected);
}

bool TTransferSession::CheckIdentity(transfer::Link& link, std::string& expected, bool download) {
    using Outcome = transfer::IdentityCheck::Outcome;
    const transfer::IdentityCheck c = transfer::checkIdentity(link, expected, skipIdentity(download));
    if (!c.failed())
        return false;
    const transfer::LinkKind kind = link.kind();
    // The direction's own box comes first; the library's report or the mismatch follows.
    if (download)
        DownloadFailed();
    else
        UploadFailed();
    if (c.outcome == Outcome::Mismatch)
        platform::errorBox(transfer::identityMismatchText(c.reply, c.expected));
    else if (TransferConnection)
        ShowLinkError(TransferConnection->driverFailure(kind, c.io));
    return true;
}

bool TTransferSession::OpenLink(const transfer::TransferJob& job) {
    window_.ioTimer->stop();
    const transfer::LinkError e = TransferConnection->openLink(job, LibraryFilesNow());
    ShowLinkError(e);
    return !e;
}

namespace {
// The interface text a failure names: the running transfer's, else the record's.
std::string failedInterface(bool download) {
    if (!TransferHost || !TransferConnection)
        return {};
    if (const transfer::TransferJob* job = TransferConnection->job())
        return job->type;
    const auto& s = TransferHost->TransferRecord();
    return download ? s.dlType : s.ulType;
}

// The part both failure routines share: normal cursor, timer off, the box, the running
// transfer ended with its buffers and its link closed, the status window hidden.
void endFailedTransfer(QTimer* timer, const char* format, bool download) {
    platform::setScreenCursor(platform::ScreenCursor::Default);
    timer->stop();
    const std::string port = failedInterface(download);
    platform::errorBox(common::cformat(format, port.c_str()));
    if (TransferConnection)
        TransferConnection->end();
    if (MessageWnd)
        MessageWnd->hide();
}
} // namespace

void TTransferSession::DownloadFailed() {
    endFailedTransfer(window_.ioTimer, "Error downloading waveform data\nto %s", true);
}

void TTransferSession::UploadFailed() {
    endFailedTransfer(window_.ioTimer, "Error uploading waveform data\nfrom %s", false);
    window_.Doc.WaveName = TWFMform::DefaultWaveName;
    window_.Doc.CreateSampleStream();
    window_.SetCaption(TWFMform::DefaultWaveName);
    window_.update();
}

// ---- the engine: entries, ticks, endings ------------------------------------------------

namespace {

// The status window as the workers see it.
class MessageStatus : public transfer::TransferStatus {
public:
    void showStatus(const std::string& text, bool withCancel) override {
        if (MessageWnd)
            MessageWnd->ShowStatus(0, text, withCancel);
    }
    bool cancelled() const override { return MessageWnd && MessageWnd->Cancelled; }
};
MessageStatus& messageStatus() {
    static MessageStatus status;
    return status;
}

bool interpolateChecked() {
    auto* box = SetDownload ? SetDownload->findChild<QCheckBox*>("Interpolate") : nullptr;
    return box && box->isChecked();
}

// The window's WaveName without its folder.
std::string fileNameOf(const TWFMform& w) {
    const auto slash = w.Doc.WaveName.find_last_of("/\\");
    return slash == std::string::npos ? w.Doc.WaveName : w.Doc.WaveName.substr(slash + 1);
}

// What a download sends: a copy of the samples, so that the window may be edited, or
// closed, while the transfer runs.
transfer::DownloadSource sourceOf(const TWFMform& w) {
    transfer::DownloadSource s;
    if (w.Doc.SampleStream)
        s.samples = *w.Doc.SampleStream;
    s.selectionStart = w.Doc.SelectionStart;
    s.selectionEnd = w.Doc.SelectionEnd;
    s.fileName = fileNameOf(w);
    s.bitPattern = w.Doc.FileType == workspace::WaveFileType::BitPattern;
    return s;
}

// Shows a refusal; true when the request may go on.
bool entryAllows(const transfer::EntryCheck& e) {
    using V = transfer::EntryCheck::Verdict;
    switch (e.verdict) {
    case V::Go:
        return true;
    case V::Plain:
        platform::ui().message(e.text, platform::Icon::None, platform::ButtonOk, false);
        return false;
    case V::Error:
        platform::errorBox(e.text);
        return false;
    case V::Silent:
        return false;
    }
    return false;
}

// Ends the running transfer where it stands: worker and link gone, normal cursor, the
// status window hidden.
void dropTransfer(transfer::TransferSession& session) {
    session.end();
    platform::setScreenCursor(platform::ScreenCursor::Default);
    if (MessageWnd)
        MessageWnd->hide();
}

// Busy cursor, then the link of `owner`'s transfer. A LAN transfer holds the window from
// its connection to its end, so its `lanStatus` is shown first, without Cancel; a refused
// connection hides it again.
bool openFor(const transfer::TransferJob& job, TWFMform& owner, const std::string& lanStatus) {
    platform::setScreenCursor(platform::ScreenCursor::Busy);
    if (transfer::interfaceKind(job.typeIndex) == transfer::InterfaceKind::Lan && MessageWnd)
        MessageWnd->ShowStatus(0, lanStatus, false);
    if (!TTransferSession(owner).OpenLink(job)) {
        platform::setScreenCursor(platform::ScreenCursor::Default);
        return false;
    }
    return true;
}

} // namespace

void TTransferSession::ExecuteDownload1Click() {
    if (!TransferHost || !TransferConnection)
        return;
    transfer::TransferSession& session = *TransferConnection;
    const transfer::TransferJob job =
        transfer::downloadJob(TransferHost->TransferRecord(), skipIdentity(true), interpolateChecked());
    if (!entryAllows(transfer::checkDownloadEntry(
            job, window_.Doc.PointCount(), workspace::FileTypeCode(window_.Doc.FileType), session.busy())))
        return;

    if (transfer::interfaceKind(job.typeIndex) == transfer::InterfaceKind::Card) {
        const transfer::DownloadSource source = sourceOf(window_);
        transfer::CardOutcome r;
        {
            platform::BusyCursor busy;
            if (MessageWnd)
                MessageWnd->ShowStatus(
                    0,
                    transfer::downloadingText(source.fileName,
                                              transfer::cardInstrumentName(job.target, source.fileName)),
                    true);
            // The card file is in the program's own layout.
            if (FrameHost)
                FrameHost->SaveType = workspace::WaveFileType::Internal;
            r = transfer::downloadToCard(job, source,
                                         window_.Doc.FileType == workspace::WaveFileType::BitPattern);
            if (MessageWnd)
                MessageWnd->hide();
        }
        if (!r.ok)
            platform::errorBox(r.error);
        return;
    }

    // Only the maker's generators download over the LAN.
    if (!openFor(job, window_, transfer::makerDownloadStatus(job, fileNameOf(window_))))
        return;
    const transfer::StateChoice choice = transfer::downloadState(job.makeIndex, job.modelIndex);
    transfer::TransferJob sized = job;
    // The larger scopes are told the reference's record length chosen in the size dialog.
    if (choice.asksRecordLength &&
        (!SetTekRef || !SetTekRef->AskRecordLength(job.model, job.target, sized.recordLength))) {
        DownloadFailed();
        return;
    }
    if (!StartTransfer(sized, choice.state, sourceOf(window_)))
        DownloadFailed();
}

void TTransferSession::Executeupload1Click(TWFMform* active) {
    if (!TransferHost || !TransferConnection)
        return;
    transfer::TransferSession& session = *TransferConnection;
    const transfer::TransferJob job =
        transfer::uploadJob(TransferHost->TransferRecord(), skipIdentity(false));
    if (!entryAllows(transfer::checkUploadEntry(job, session.busy())))
        return;
    TWFMform* target = TransferHost->UploadTarget(active);
    if (!target)
        return;
    TTransferSession on(*target);

    if (transfer::interfaceKind(job.typeIndex) == transfer::InterfaceKind::Card) {
        transfer::CardOutcome r;
        {
            platform::BusyCursor busy;
            r = transfer::uploadFromCard(job);
            if (r.ok && MessageWnd)
                MessageWnd->ShowStatus(1000, "Uploading file " + r.path, false);
        }
        if (r.ok) {
            on.CompleteUpload(r.samples, transfer::cardUploadCaption(job.model, r.name),
                              target->Doc.WaveName);
        } else {
            target->Doc.WaveName = TWFMform::DefaultWaveName;
            target->Doc.CreateSampleStream();
            target->SetCaption(TWFMform::DefaultWaveName);
            target->update();
            platform::errorBox(r.error);
        }
        return;
    }

    if (!openFor(job, *target, transfer::uploadingText(job)))
        return;
    if (!on.StartTransfer(job, transfer::uploadState(job.makeIndex, job.modelIndex).state, {})) {
        on.UploadFailed();
        return;
    }
    // The LAN upload's own status stays up.
    if (MessageWnd && transfer::interfaceKind(job.typeIndex) != transfer::InterfaceKind::Lan)
        MessageWnd->ShowStatus(0, "Uploading", false);
}

bool TTransferSession::StartTransfer(const transfer::TransferJob& job, int state,
                                     transfer::DownloadSource source) {
    if (!TransferConnection->start(job, state, std::move(source), messageStatus(), &window_))
        return false;
    window_.TransferState = state;
    QTimer* timer = window_.ioTimer;
    // The timer and the window's end are tied to the engine once per window.
    if (!timer->property("transferTick").toBool()) {
        timer->setProperty("transferTick", true);
        TWFMform* w = &window_;
        QObject::connect(timer, &QTimer::timeout, timer, [w] { TTransferSession(*w).ioTimerTimer(); });
        QObject::connect(w, &QObject::destroyed, [w] {
            // Closing the window cancels its transfer and closes the link.
            if (TransferConnection && TransferConnection->owner() == w)
                dropTransfer(*TransferConnection);
        });
    }
    timer->setInterval(10);
    timer->setTimerType(Qt::PreciseTimer);
    timer->start();
    return true;
}

void TTransferSession::ioTimerTimer() {
    if (!TransferConnection)
        return;
    transfer::TransferSession& session = *TransferConnection;
    if (session.ticking)
        return; // a box of this transfer is up
    if (!session.worker() || session.owner() != &window_) {
        window_.ioTimer->stop();
        return;
    }
    session.ticking = true;
    session.started = true;
    const transfer::TickOutcome o = session.worker()->tick();
    if (o.kind == transfer::TickOutcome::Kind::Finished)
        TransferFinished();
    else if (o.kind == transfer::TickOutcome::Kind::Failed)
        TransferFailed(o);
    session.ticking = false;
}

void TTransferSession::CancelTransfer() {
    if (!TransferConnection)
        return;
    transfer::TransferSession& session = *TransferConnection;
    // The session knows the window it runs for only as its owner.
    auto* owner = const_cast<TWFMform*>(static_cast<const TWFMform*>(session.owner()));
    if (!session.busy() || !owner)
        return;
    owner->ioTimer->stop();
    // After Cancel a download takes two ticks (the slice that sees it, then the closing
    // command), an upload one; the rest is room to spare.
    for (int tick = 0; tick < 4 && session.worker() && session.started && MessageWnd; ++tick) {
        MessageWnd->bnCancelClick();
        TTransferSession(*owner).ioTimerTimer();
    }
    if (session.busy())
        dropTransfer(session);
}

void TTransferSession::TransferFinished() {
    transfer::TransferSession& session = *TransferConnection;
    const transfer::TransferJob job = *session.job();
    workspace::SampleStream uploaded;
    if (const workspace::SampleStream* s = session.worker()->uploaded())
        uploaded = *s;
    // Families that read the waveform's name from the instrument show it in place of the source.
    const std::string shown =
        session.worker()->instrumentName().empty() ? job.target : session.worker()->instrumentName();
    window_.ioTimer->stop();
    if (MessageWnd)
        MessageWnd->hide();
    platform::setScreenCursor(platform::ScreenCursor::Default);
    session.end();
    if (!job.download())
        CompleteUpload(uploaded, common::cformat("%s  %s (Not Stored)", job.model.c_str(), shown.c_str()),
                       job.model + "/" + shown);
}

void TTransferSession::TransferFailed(const transfer::TickOutcome& o) {
    transfer::TransferSession& session = *TransferConnection;
    // No tick may run while the boxes are up.
    window_.ioTimer->stop();
    const bool download = session.job()->download();
    const transfer::LinkKind kind = session.link->kind();
    auto libraryReport = [&](const transfer::IoResult& io) {
        ShowLinkError(session.driverFailure(kind, io));
    };
    for (const std::string& notice : o.notices)
        platform::errorBox(notice);
    if (!o.identity)
        libraryReport(o.io);
    // The direction's own box; an identity failure explains itself after it.
    if (download)
        DownloadFailed();
    else
        UploadFailed();
    for (const std::string& followUp : o.followUps)
        platform::errorBox(followUp);
    if (o.identity) {
        if (o.identity->outcome == transfer::IdentityCheck::Outcome::Mismatch)
            platform::errorBox(transfer::identityMismatchText(o.identity->reply, o.identity->expected));
        else
            libraryReport(o.identity->io);
    }
}

void TTransferSession::CompleteUpload(const workspace::SampleStream& samples, const std::string& caption,
                                      const std::string& name) {
    workspace::WaveDocument& doc = window_.Doc;
    doc.SampleStream = std::make_unique<workspace::SampleStream>(samples);
    doc.UnsignedDisplay = 0;
    doc.WaveName = name;
    window_.SetCaption(caption);
    doc.SelectionStart = 0;
    doc.SelectionEnd = samples.count() - 1;
    window_.ShadeStartX = window_.ShadeEndX = 0;
    doc.GenerationHistory.clear();
    doc.SaveState = 1;
    doc.FileType = workspace::WaveFileType::NotFromFile;
    window_.update();
    window_.PublishStatus();
}
