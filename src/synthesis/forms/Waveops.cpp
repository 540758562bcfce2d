#include "synthesis/forms/Waveops.h"

#include "platform/posix/folders.h"
#include "platform/qstring.h"
#include "platform/screen_cursor.h"
#include "synthesis/core/sample_maths.h"
#include "workspace/forms/frame_host.h"
#include "workspace/forms/wfmchild.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <algorithm>
#include <functional>

using namespace plotwell;

TMathopdlg* Mathopdlg = nullptr;

namespace {
// A click on a source field chooses which source the next double-click binds.
class ClickFilter : public QObject {
public:
    ClickFilter(QObject* parent, std::function<void()> click) : QObject(parent), click_(std::move(click)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonRelease)
            click_();
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> click_;
};

QString shownName(const TWFMform& w) {
    return platform::toQString(platform::fileNameOnly(w.Doc.WaveName));
}
} // namespace

TMathopdlg::TMathopdlg(QWidget* parent) : TPreviewOperationForm("Mathopdlg", parent) {
    setWindowTitle("Waveform add");
    auto* grid = new QGridLayout(this);
    auto name = [this](const char* n) {
        auto* e = new QLineEdit(this);
        platform::nameInput(e, n);
        e->setReadOnly(true);
        return e;
    };
    Wave1 = name("Wave1");
    Wave2 = name("Wave2");
    Wave3 = name("Wave3");
    Wave3->setFocusPolicy(Qt::NoFocus);
    Wave1->installEventFilter(new ClickFilter(Wave1, [this] { Wave1Click(); }));
    Wave2->installEventFilter(new ClickFilter(Wave2, [this] { Wave2Click(); }));
    Operand = platform::named(new QLabel("+", this), "Operand");
    Operand->setAlignment(Qt::AlignCenter);
    WaveList = new QListWidget(this);
    platform::nameInput(WaveList, "WaveList");
    connect(WaveList, &QListWidget::itemDoubleClicked, this, [this] { WaveListDblClick(); });
    Start = new QLineEdit("0", this);
    End = new QLineEdit("0", this);
    platform::nameInput(Start, "Start");
    platform::nameInput(End, "End");
    range_ = std::make_unique<synthesis::RangeFields>(*this, Start, End,
                                                      synthesis::RangeFields::ExitRule::WhenModified);
    FitAmpl = new QCheckBox("Fit to amplitude", this);
    platform::nameInput(FitAmpl, "FitAmpl");

    grid->addWidget(Wave1, 0, 0);
    grid->addWidget(Operand, 0, 1);
    grid->addWidget(Wave2, 0, 2);
    grid->addWidget(new QLabel("=", this), 0, 3);
    grid->addWidget(Wave3, 0, 4);
    grid->addWidget(WaveList, 1, 0, 4, 3);
    grid->addWidget(new QLabel("Start point", this), 1, 3);
    grid->addWidget(Start, 1, 4);
    grid->addWidget(new QLabel("End point", this), 2, 3);
    grid->addWidget(End, 2, 4);
    grid->addWidget(FitAmpl, 3, 3, 1, 2);
    grid->addLayout(Buttons(), 5, 0, 1, 5);
}

TMathopdlg::~TMathopdlg() = default;

void TMathopdlg::FormActivate() {
    Changed = 1;
    Gain = 1.0;
    static const char* const kOperands[] = {"+", "-", "x"};
    static const char* const kCaptions[] = {"Waveform add", "Waveform subtract", "Waveform multiply"};
    const int op = std::clamp(MathOp, 0, 2);
    Operand->setText(kOperands[op]);
    setWindowTitle(kCaptions[op]);
    Wave3->setText(Target ? shownName(*Target) : QString());
    for (Source& s : Sources)
        s = Source();
    Wave1->clear();
    Wave2->clear();
    NextSource = 0;
    Wave1->setFocus();
    range_->Activate();
    LastPoint = range_->LastPoint;
    OK->setEnabled(false);
    Preview->setEnabled(false);
    // The list row is the window's place in creation order, as the frame lists them.
    WaveList->clear();
    listed_.clear();
    if (FrameHost)
        for (TWFMform* w : FrameHost->WaveWindows()) {
            listed_.emplace_back(w);
            WaveList->addItem(shownName(*w));
        }
}

void TMathopdlg::Wave1Click() {
    NextSource = 0;
}
void TMathopdlg::Wave2Click() {
    NextSource = 1;
}

void TMathopdlg::WaveListDblClick() {
    const QList<QListWidgetItem*> selected = WaveList->selectedItems();
    if (selected.isEmpty())
        return;
    const int row = WaveList->row(selected.front());
    TWFMform* w = row >= 0 && row < int(listed_.size()) ? listed_[size_t(row)].data() : nullptr;
    // A window closed since the list was filled, or one without samples, has nothing to give.
    if (!w || !w->Doc.SampleStream || !w->Doc.SampleStream->hasPoints())
        return;
    const int s = NextSource == 1 ? 1 : 0;
    (s == 0 ? Wave1 : Wave2)->setText(selected.front()->text());
    Source& src = Sources[s];
    src.window = w;
    src.SourceData = w->Doc.SelectionStart;
    src.SourceRef = w->Doc.SampleStream->midCode();
    src.SourceCount = w->Doc.SelectionEnd - w->Doc.SelectionStart + 1;
    src.tag = true;
    NextSource = 1 - s;
    const bool both = Sources[0].tag && Sources[1].tag;
    OK->setEnabled(both);
    Preview->setEnabled(both);
}

bool TMathopdlg::PreviewClick() {
    if (!Target || !Target->Doc.SampleStream || !Sources[0].tag || !Sources[1].tag)
        return true;
    // A source's selection, read from its live samples; the target itself is read as it was
    // before this run, since the run writes over it.
    auto codesOf = [this](const Source& s) -> synthesis::MathSource {
        const TWFMform* w = s.window;
        const workspace::SampleStream* samples = w == Target ? &SavedSamples
                                                 : w         ? w->Doc.SampleStream.get()
                                                             : nullptr;
        if (!samples || s.SourceData < 0 || s.SourceData >= samples->count() || s.SourceCount < 1)
            return {{}, s.SourceRef};
        const auto all = samples->codes();
        const size_t count = std::min(size_t(s.SourceCount), all.size() - size_t(s.SourceData));
        return {all.subspan(size_t(s.SourceData), count), s.SourceRef};
    };
    synthesis::CombineResult result;
    {
        platform::BusyCursor busy;
        RestoreSnapshot();
        result = synthesis::CombineWaveforms(
            codesOf(Sources[0]), codesOf(Sources[1]), Target->Doc.SampleStream->codes(), range_->TypedRange(),
            MidCode, synthesis::MathOp(std::clamp(MathOp, 0, 2)), FitAmpl->isChecked());
        Gain = result.gain;
    }
    if (result.clipped)
        synthesis::WarnClipped();
    Target->ShowChangedSamples();
    Gain = 1.0;
    return true;
}
