#include "workspace/forms/wfmchild.h"

#include "common/numtext.h"
#include "platform/posix/folders.h"
#include "platform/qstring.h"
#include "platform/ui.h"
#include "workspace/forms/Plotdesk.h"
#include "workspace/forms/askclall.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMdiSubWindow>
#include <QRadioButton>
#include <QTimer>

using namespace plotwell;

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
}

TWFMform::~TWFMform() {
    if (CurrentWaveWindow == this)
        CurrentWaveWindow = nullptr;
}

void TWFMform::FormCreate() {
    SuppressStatus = 0;
    WaveName = DefaultWaveName;
    // The layout's client height of 211 gives a width of 274.
    resize(int(height() * 1.3), height());
    MouseHeld = 0;
    ViewFirst = -1;
    SavedView[2] = -1;
    SpareFlag = 0;
}

void TWFMform::CreateSampleStream() { SampleStream = std::make_unique<SampleStreamType>(); }

std::string TWFMform::Caption() const { return windowTitle().toStdString(); }

void TWFMform::SetCaption(const std::string& caption) {
    setWindowTitle(platform::toQString(caption));
}

void TWFMform::MarkModified() {
    static const std::string mark = " (Modified)";
    const std::string c = Caption();
    if (c.size() < mark.size() || c.compare(c.size() - mark.size(), mark.size(), mark) != 0)
        SetCaption(c + mark);
}

QMdiSubWindow* TWFMform::subWindow() const { return qobject_cast<QMdiSubWindow*>(parentWidget()); }

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
    const int n = PointCount();
    if (Zoomed && n >= 1) {
        SelectionStart = 0;
        SelectionEnd = n - 1;
    }
    if (PWForm1->ClosingNamed || SaveState == 0)
        return true;
    return AskToSave();
}

bool TWFMform::AskToSave() {
    const int n = PointCount();
    PWForm1->ActivateWaveWindow(this);
    setFocus();
    const auto answer = platform::askYesNoCancel(
        common::cformat("%s.\nWaveform data not saved.\nDo you want to save it now?", Caption().c_str()));
    if (answer == platform::Answer::No)
        return true;
    if (answer != platform::Answer::Yes)
        return false;
    // Closing saves the whole waveform, whatever part is selected; a selection left
    // after a failed save is put back.
    const int32_t oldStart = SelectionStart, oldEnd = SelectionEnd;
    if (n >= 1) {
        SelectionStart = 0;
        SelectionEnd = n - 1;
    }
    PWForm1->SaveCancelled = false;
    const bool written = Save1Click();
    if (PWForm1->SaveCancelled || !written) {
        SelectionStart = oldStart;
        SelectionEnd = oldEnd;
        return false; // the window stays open, still modified
    }
    return true;
}

void TWFMform::FormClose() {
    if (!PWForm1->ClosingNamed && (FileType == 10 || FileType == 11 || FileType == -2)) {
        AskCloseAllDlg->Label1->setText(platform::toQString(common::cformat(
            "File %s contains multiple waveforms", platform::fileNameOnly(WaveName).c_str())));
        AskCloseAllDlg->ShowModal();
        PWForm1->CloseName = WaveName;
        if (AskCloseAllDlg->rbCloseAll->isChecked()) {
            PWForm1->CloseWindowsNamed(this);
        } else if (FileType == 10 || FileType == 11) {
            // The first channel's type goes to the next window of the same file.
            for (TWFMform* w : PWForm1->WaveWindows()) {
                if (w != this && w->WaveName == WaveName) {
                    w->FileType = FileType;
                    break;
                }
            }
        }
    }
    PWForm1->ClearCursorInfo();
    SampleStream.reset();
    closed_ = true;
}

void TWFMform::New1Click() { PWForm1->New1Click(); }
void TWFMform::OpenInternalClick() { PWForm1->OpenInternalClick(); }
void TWFMform::OpenNormalisedClick() { PWForm1->OpenNormalisedClick(); }
void TWFMform::OpenWaveCADwavClick() { PWForm1->OpenWaveCADwavClick(); }
void TWFMform::OpenWaveCADascClick() { PWForm1->OpenWaveCADascClick(); }
void TWFMform::OpenTektronixClick() { PWForm1->OpenTektronixClick(); }
void TWFMform::TypeInternalClick() { PWForm1->TypeInternalClick(); }
void TWFMform::TypeNormalisedClick() { PWForm1->TypeNormalisedClick(); }
void TWFMform::TypeWaveCADwavClick() { PWForm1->TypeWaveCADwavClick(); }
void TWFMform::TypeWaveCADascClick() { PWForm1->TypeWaveCADascClick(); }
void TWFMform::TypeTektronixClick() { PWForm1->TypeTektronixClick(); }
void TWFMform::Open1Click() { PWForm1->Open1Click(); }
void TWFMform::Exit1Click() { PWForm1->Exit1Click(); }
