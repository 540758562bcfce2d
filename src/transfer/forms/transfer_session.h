#pragma once
// The transfer steps that act on one waveform window: Execute Download and Execute
// Upload with their checks, the 10 ms timer's tick that drives the running worker, the
// endings, the identity checks, the opening of the link, and the failure routines of the
// two directions. The window keeps its transfer timer and state; the link and the running
// transfer are the instrument connection's (TransferConnection), the settings record is
// the frame's (TransferHost).

#include "transfer/core/transfer_job.h"
#include "transfer/core/transfer_worker.h"

#include <string>

class TWFMform;

class TTransferSession {
public:
    explicit TTransferSession(TWFMform& window) : window_(window) {}

    // Execute Download from this window's menu.
    void ExecuteDownload1Click();
    // Execute Upload from `active`'s menu (null without a window): the frame chooses the
    // window that receives the samples.
    static void Executeupload1Click(TWFMform* active);
    // The 10 ms tick of the window's transfer timer.
    void ioTimerTimer();
    // Ends the running transfer, if any, as its Cancel button would: the worker's next
    // ticks see Cancel and end it (a download with its closing command), the link is
    // closed and the status window hidden. A transfer whose first tick has not run has
    // sent nothing; its link is closed. For the program's end.
    static void CancelTransfer();

    // The identity checks of the first transfer tick. True when the transfer must stop
    // (the failure routine and the reports have run); false to go on. `expected` is cut
    // as the comparison needs it.
    bool CheckIdentitySerial(plotwell::transfer::Link& link, std::string& expected, bool download);
    bool CheckIdentityGpib(plotwell::transfer::Link& link, std::string& expected, bool download);
    bool CheckIdentityUsb(plotwell::transfer::Link& link, std::string& expected, bool download);
    bool CheckIdentityLan(plotwell::transfer::Link& link, std::string& expected, bool download);
    static int CompareIdentity(const std::string& reply, const std::string& expected);
    // Opens the link of `job` for this window, in place of the one before: no tick of the
    // window runs until a worker is started on it. False after the failure was reported.
    bool OpenLink(const plotwell::transfer::TransferJob& job);
    // The failure routines of the two directions: stop, report, close the link, hide the
    // status; an upload also empties the window.
    void DownloadFailed();
    void UploadFailed();

private:
    // Starts the worker of `state` on the link just opened and arms the timer; false when
    // the family has none there.
    bool StartTransfer(const plotwell::transfer::TransferJob& job, int state,
                       plotwell::transfer::DownloadSource source);
    void TransferFinished();
    void TransferFailed(const plotwell::transfer::TickOutcome& outcome);
    // The window takes an upload's samples: caption, name, whole selection, not stored.
    void CompleteUpload(const plotwell::workspace::SampleStream& samples, const std::string& caption,
                        const std::string& name);
    bool CheckIdentity(plotwell::transfer::Link& link, std::string& expected, bool download);
    TWFMform& window_;
};
