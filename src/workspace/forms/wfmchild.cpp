#include "workspace/forms/wfmchild.h"

#include "common/numtext.h"
#include "platform/posix/folders.h"
#include "platform/qstring.h"
#include "platform/ui.h"
#include "workspace/core/file_types.h"
#include "workspace/forms/askclall.h"
#include "workspace/forms/frame_host.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMdiSubWindow>
#include <QRadioButton>
#include <QTimer>

using namespace plotwell;
using workspace::WaveFileType;

TWFMform::TWFMform(QWidget* owner) : QWidget(owner) {
    setObjectName("WFMform");
    setAttribute(Qt::WA_OpaquePaintEvent);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    setPalette(pal);
    setAutoFillBackground(true);
    setWindowTitle(DefaultWaveName);
    ioTimer = platform::named(new QTimer(this), "ioTimer");
    ioTimer->setInterval(10);
    ioTimer->setTimerType(Qt::PreciseTimer);
    resize(413, 211);
    FormCreate();
    CreateViewControls();
    CreateDrawControls();
}

TWFMform::~TWFMform() {
    if (CurrentWaveWindow == this)
        CurrentWaveWindow = nullptr;
}

void TWFMform::FormCreate() {
    SuppressStatus = 0;
    Doc.WaveName = DefaultWaveName;
    // The layout's client height of 211 gives a width of 274.
    resize(int(height() * 1.3), height());
    MouseHeld = 0;
    ViewFirst = -1;
    SavedView[2] = -1;
    SpareFlag = 0;
}

std::string TWFMform::Caption() const {
    return windowTitle().toStdString();
}

void TWFMform::SetCaption(const std::string& caption) {
    setWindowTitle(platform::toQString(caption));
}

void TWFMform::MarkModified() {
    static const std::string mark = " (Modified)";
    const std::string c = Caption();
    if (c.size() < mark.size() || c.compare(c.size() - mark.size(), mark.size(), mark) != 0)
        SetCaption(c + mark);
}

QMdiSubWindow* TWFMform::subWindow() const {
    return qobject_cast<QMdiSubWindow*>(parentWidget());
}

bool TWFMform::Close1Click() {
    if (QMdiSubWindow* sw = subWindow())
        return sw->close();
    return close();
}

void TWFMform::closeEvent(QCloseEvent* event) {
    const bool queried = closeQueried_;
    closeQueried_ = false;
    if (!queried && !FormCloseQuery()) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
}

bool TWFMform::FormCloseQuery() {
    if (Zoomed)
        Doc.SelectWhole();
    if (FrameHost->ClosingNamed || Doc.SaveState == 0)
        return true;
    return AskToSave();
}

bool TWFMform::AskToSave() {
    FrameHost->ActivateWaveWindow(this);
    setFocus();
    return OfferToSave(); // false: the window stays open, still modified
}

bool TWFMform::OfferToSave() {
    const auto answer = platform::askYesNoCancel(
        common::cformat("%s.\nWaveform data not saved.\nDo you want to save it now?", Caption().c_str()));
    if (answer == platform::Answer::No)
        return true;
    if (answer != platform::Answer::Yes)
        return false;
    // The data are about to go, so the whole waveform is saved, whatever part is selected;
    // the user's selection is put back when no file was written.
    const int32_t oldStart = Doc.SelectionStart, oldEnd = Doc.SelectionEnd;
    Doc.SelectWhole();
    FrameHost->SaveCancelled = false;
    const bool written = Save1Click();
    if (FrameHost->SaveCancelled || !written) {
        Doc.SelectionStart = oldStart;
        Doc.SelectionEnd = oldEnd;
        return false;
    }
    return true;
}

void TWFMform::FormClose() {
    const workspace::FileTypeRow* type = workspace::FindFileType(Doc.FileType);
    if (!FrameHost->ClosingNamed && type && type->multiWaveform) {
        AskCloseAllDlg->Label1->setText(platform::toQString(common::cformat(
            "File %s contains multiple waveforms", platform::fileNameOnly(Doc.WaveName).c_str())));
        AskCloseAllDlg->ShowModal();
        FrameHost->CloseName = Doc.WaveName;
        if (AskCloseAllDlg->rbCloseAll->isChecked()) {
            FrameHost->CloseWindowsNamed(this);
        } else if (type->channelReader) {
            // The first channel's window carries the file's type; it goes to the next
            // window of the same file.
            for (TWFMform* w : FrameHost->WaveWindows()) {
                if (w != this && w->Doc.WaveName == Doc.WaveName) {
                    w->Doc.FileType = Doc.FileType;
                    break;
                }
            }
        }
    }
    FrameHost->ClearCursorInfo();
    Doc.SampleStream.reset();
    closed_ = true;
}

void TWFMform::New1Click() {
    FrameHost->New1Click();
}
void TWFMform::OpenInternalClick() {
    FrameHost->OpenInternalClick();
}
void TWFMform::OpenNormalisedClick() {
    FrameHost->OpenNormalisedClick();
}
void TWFMform::OpenWaveCADwavClick() {
    FrameHost->OpenWaveCADwavClick();
}
void TWFMform::OpenWaveCADascClick() {
    FrameHost->OpenWaveCADascClick();
}
void TWFMform::OpenTektronixClick() {
    FrameHost->OpenTektronixClick();
}
void TWFMform::TypeInternalClick() {
    FrameHost->TypeInternalClick();
}
void TWFMform::TypeNormalisedClick() {
    FrameHost->TypeNormalisedClick();
}
void TWFMform::TypeWaveCADwavClick() {
    FrameHost->TypeWaveCADwavClick();
}
void TWFMform::TypeWaveCADascClick() {
    FrameHost->TypeWaveCADascClick();
}
void TWFMform::TypeTektronixClick() {
    FrameHost->TypeTektronixClick();
}
void TWFMform::Open1Click() {
    FrameHost->Open1Click();
}
void TWFMform::Exit1Click() {
    FrameHost->Exit1Click();
}
