#include "app/Plotdesk.h"

#include "app/wfmmenus.h"
#include "common/numtext.h"
#include "platform/posix/folders.h"
#include "platform/qstring.h"
#include "synthesis/forms/select.h"
#include "transfer/core/instrument_models.h"
#include "transfer/forms/msgwnd.h"
#include "workspace/forms/wfmchild.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>

#include <memory>

using namespace plotwell;
using workspace::WaveFileType;

QWidget* TPWForm1::FrameWidget() {
    return this;
}

void TPWForm1::ShowStatusNote(const std::string& text, int ms) {
    if (MessageWnd)
        MessageWnd->ShowStatus(ms, text, false);
}

workspace::WaveCadForm TPWForm1::DownloadWaveCadForm() const {
    // By the rows, as the transfers choose their worker: a model text alone would not tell
    // the Wavetek 29 from another make's model of that name.
    const transfer::InstrumentModel& m =
        transfer::instrumentModel(TransferSettings.dlMakeIndex, TransferSettings.dlModelIndex);
    return m.tenBitWaveCad ? workspace::WaveCadForm::TenBit : workspace::WaveCadForm::TwelveBit;
}

transfer::TransferSettings& TPWForm1::TransferRecord() {
    return TransferSettings;
}

TWFMform* TPWForm1::UploadTarget(TWFMform* active) {
    if (active && active->Doc.FileType == workspace::WaveFileType::None)
        return active;
    TWFMform* w = CreateWaveWindow();
    w->Doc.CreateSampleStream();
    return w;
}

void TPWForm1::UpdateTypeMenus(TWFMform& w) {
    WaveMenus->UpdateTypeMenus(w);
}

void TPWForm1::UpdateZoomAreaItem(TWFMform& w) {
    // The frame's one set of View items shows the state of the window that is active.
    if (!WaveMenus || !WaveMenus->Zoomarea1 || ActiveWaveWindow() != &w)
        return;
    WaveMenus->Zoomarea1->setEnabled(w.ZoomAreaEnabled);
    WaveMenus->Zoomfull1->setEnabled(w.Zoomed);
    WaveMenus->Zoomout1->setEnabled(w.Zoomed);
}

void TPWForm1::SelectLimits(TWFMform& w) {
    TSelectDialog* d = SelectDialog;
    if (!d)
        return;
    for (;;) {
        // Not while a zoom band is held, and only on data that has a span to select in.
        if (w.MouseHeld || w.Doc.FileType == WaveFileType::None || w.Doc.PointCount() < 2)
            return;
        w.dimStartCursorImage->hide();
        w.dimEndCursorImage->hide();
        d->setWindowTitle(platform::toQString(
            common::cformat("Select limits of %s", platform::fileNameOnly(w.Doc.WaveName).c_str())));
        if (d->LastAnswer == TSelectDialog::AnswerCancel || d->LastAnswer == TSelectDialog::AnswerOk) {
            d->bnCancel->setEnabled(true);
            d->bnOK->setEnabled(false);
        } else if (d->LastAnswer == TSelectDialog::AnswerApply) {
            d->bnCancel->setEnabled(false);
            d->bnOK->setEnabled(true);
        }
        d->bnApply->setEnabled(false);
        auto saved = std::make_unique<workspace::SampleStream>(*w.Doc.SampleStream);
        // A selection left past the end by whatever shortened the samples would show a limit
        // with no value; the dialog starts from the limits the shading shows.
        w.Doc.NormaliseSelection();
        d->EndPoint = w.Doc.SelectionEnd;
        d->StartPoint = w.Doc.SelectionStart;
        d->SavedSamples = saved.get();
        d->PointCount = w.Doc.PointCount();
        d->UnsignedDisplay = w.Doc.UnsignedDisplay;
        d->UpdateLimits();
        const int answer = d->ShowModal();
        d->LastAnswer = answer;
        if (answer == TSelectDialog::AnswerOk || answer == TSelectDialog::AnswerApply) {
            w.Doc.SelectionStart = d->StartPoint;
            w.Doc.SelectionEnd = d->EndPoint;
            w.DrawSelectionShading(false);
            w.PublishStatus();
            if (ActiveWaveWindow() != &w)
                ActivateWaveWindow(&w);
            w.setFocus();
        }
        d->SavedSamples = nullptr;
        saved.reset();
        if (answer != TSelectDialog::AnswerApply)
            return;
    }
}
