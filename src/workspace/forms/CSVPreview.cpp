#include "workspace/forms/CSVPreview.h"

#include "common/numtext.h"
#include "platform/posix/atomic_file.h"
#include "platform/ui.h"
#include "workspace/core/csv_import.h"
#include "workspace/core/limits.h"
#include "workspace/forms/ProcessCSV.h"
#include "workspace/forms/frame_host.h"
#include "workspace/forms/wfmchild.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>

using namespace plotwell;
using common::cformat;
using workspace::WaveFileType;

TImportCSV* ImportCSV = nullptr;

namespace {
constexpr int kThumbWidth = 302, kThumbHeight = 124;
constexpr const char* kIllegalRowsInfo = "Column = %d points - Some illegal rows were found";
} // namespace

TImportCSV::TImportCSV(QWidget* parent) : Form("ImportCSV", parent) {
    setWindowTitle(QStringLiteral("CSV Preview and Select"));
    Thumbnail = platform::named(new QLabel(this), "Thumbnail");
    Thumbnail->setFixedSize(kThumbWidth, kThumbHeight);
    CSVSelect = platform::named(new QComboBox(this), "CSVSelect");
    platform::nameInput(CSVSelect, "CSVSelect");
    CSVSelect->setEnabled(false);
    OK = platform::named(new QPushButton(QStringLiteral("OK"), this), "OK");
    Cancel = platform::named(new QPushButton(QStringLiteral("Cancel"), this), "Cancel");
    InfoLabel = platform::named(new QLabel(this), "InfoLabel");
    Label2 = platform::named(new QLabel(QStringLiteral("Selected CSV file contains %d"), this), "Label2");
    pattern_check =
        platform::named(new QCheckBox(QStringLiteral("Open as Bit Pattern"), this), "pattern_check");
    platform::nameInput(pattern_check, "pattern_check");
    ColumnNote = platform::named(new QLabel(this), "ColumnNote");
    for (QLabel* l : {InfoLabel, Label2, ColumnNote})
        l->setTextFormat(Qt::PlainText);

    auto* grid = new QGridLayout(this);
    grid->addWidget(Thumbnail, 0, 0, 1, 3);
    grid->addWidget(Label2, 1, 0, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("potential column(s) of waveform"), this), 2, 0, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("data"), this), 3, 0, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Select from drop down below to"), this), 4, 0, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("preview and click OK to confirm"), this), 5, 0, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Column"), this), 6, 0);
    grid->addWidget(CSVSelect, 6, 1);
    grid->addWidget(pattern_check, 6, 2);
    grid->addWidget(InfoLabel, 7, 0, 1, 3);
    grid->addWidget(ColumnNote, 8, 0, 1, 3);
    grid->addWidget(OK, 9, 1);
    grid->addWidget(Cancel, 9, 2);
    // One size whatever the file gives: the info line has room for its longest text and the
    // note keeps its line when empty, so nothing grows the dialog or spreads its lines apart.
    const QFontMetrics fm = InfoLabel->fontMetrics();
    InfoLabel->setMinimumWidth(
        fm.horizontalAdvance(QString::fromStdString(cformat(kIllegalRowsInfo, workspace::kMaxPoints))));
    for (QLabel* l : {InfoLabel, ColumnNote})
        l->setMinimumHeight(fm.height());
    setFixedSize(sizeHint());

    connect(CSVSelect, &QComboBox::activated, this, [this] { CSVSelectChange(); });
    connect(OK, &QPushButton::clicked, this, [this] { OKClick(); });
    connect(Cancel, &QPushButton::clicked, this, [this] { CancelClick(); });
}

int TImportCSV::ShowImport(const std::string& path, const std::string& name) {
    path_ = path;
    name_ = name;
    // Read-only: an import never needs to write the file.
    auto text = platform::readFileBytes(path, workspace::kCsvMaxFileBytes);
    if (!text) {
        platform::errorBox(cformat("Unable to read from\n%s", path.c_str()));
        setResult(platform::mrCancel);
        return platform::mrCancel;
    }
    fileText_ = std::move(*text);
    const int answer = ShowModal();
    fileText_.clear();
    fileText_.shrink_to_fit();
    IllegalRows = 0;
    return answer;
}

void TImportCSV::FormActivate() {
    QImage black(Thumbnail->size(), QImage::Format_RGB32);
    black.fill(Qt::black);
    Thumbnail->setPixmap(QPixmap::fromImage(black));
    if (CSVProcess)
        CSVProcess->Start();
    const workspace::CsvLayout layout = workspace::CsvFindLayout(fileText_);
    DataStart = layout.dataStart;
    CSVSelect->clear();
    const int offered = std::min(layout.columns, workspace::kCsvMaxColumns);
    for (int i = 1; i <= offered; ++i)
        CSVSelect->addItem(QString::number(i));
    Label2->setText(QString::fromStdString(cformat("Selected CSV file contains %d", layout.columns)));
    ColumnNote->setText(offered < layout.columns ? QString::fromStdString(cformat(
                                                       "Only the first %d columns can be chosen", offered))
                                                 : QString());
    CSVSelect->setCurrentIndex(0);
    CSVSelectChange();
}

void TImportCSV::setBusy(bool busy) {
    converting_ = busy;
    CSVSelect->setEnabled(!busy);
    OK->setEnabled(!busy);
    Cancel->setEnabled(!busy);
}

void TImportCSV::CSVSelectChange() {
    if (converting_)
        return;
    const int column = std::max(0, CSVSelect->currentIndex());
    setBusy(true);
    PointCount = 0;
    IllegalRows = 0;
    const std::string_view data = std::string_view(fileText_).substr(std::min(DataStart, fileText_.size()));
    workspace::CsvColumn result = workspace::CsvConvertColumn(
        data, column,
        [](int stage) {
            if (!CSVProcess)
                return;
            CSVProcess->setWindowTitle(
                QString::fromStdString(cformat("Processing CSV File - Stage %d", stage)));
            CSVProcess->Start();
        },
        [] {
            if (CSVProcess)
                CSVProcess->StepIt();
        });
    setBusy(false);
    PreviewStream = std::move(result.preview);
    if (result.tooLong) {
        PointCount = 0;
        platform::errorBox(cformat("The column holds more than %d points, more than a waveform can hold",
                                   workspace::kMaxPoints));
    } else {
        PointCount = result.pointCount;
        IllegalRows = result.illegalRows ? 1 : 0;
    }
    if (PointCount < 2)
        InfoLabel->setText(QStringLiteral("No valid data was found in selected column"));
    else if (IllegalRows == 1)
        InfoLabel->setText(QString::fromStdString(cformat(kIllegalRowsInfo, PointCount)));
    else
        InfoLabel->setText(QString::fromStdString(cformat("Column = %d points", PointCount)));
    IllegalRows = 0;
    drawThumbnail();
    if (CSVProcess)
        CSVProcess->hide();
}

void TImportCSV::drawThumbnail() {
    const int w = Thumbnail->width(), h = Thumbnail->height();
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::black);
    const auto points = workspace::CsvThumbnail(PreviewStream.codes(), w, h);
    if (!points.empty()) {
        QPainter p(&image);
        p.setPen(QPen(QColor(0x00, 0xFF, 0x00), 1, Qt::SolidLine));
        for (std::size_t i = 1; i < points.size(); ++i)
            p.drawLine(points[i - 1].x, points[i - 1].y, points[i].x, points[i].y);
    }
    Thumbnail->setPixmap(QPixmap::fromImage(image));
}

void TImportCSV::OKClick() {
    if (converting_)
        return;
    if (PointCount < 2 || !FrameHost) {
        PreviewStream.clear();
        done(platform::mrCancel);
        return;
    }
    const bool pattern = pattern_check->isChecked();
    if (pattern && PointCount > workspace::kMaxPatternBits) {
        // The dialog stays open: the column can still be opened as a waveform.
        platform::errorBox(workspace::kTooManyBits);
        return;
    }
    TWFMform* w = FrameHost->CreateWaveWindow();
    if (pattern)
        workspace::CsvToBitPattern(PreviewStream);
    w->Doc.SampleStream = std::make_unique<TWFMform::SampleStreamType>(std::move(PreviewStream));
    PreviewStream.clear();
    w->SetCaption("Imported CSV (Not Stored)");
    w->Doc.SelectionStart = 0;
    w->Doc.SelectionEnd = w->Doc.PointCount() - 1;
    w->Doc.FileType = pattern ? WaveFileType::BitPattern : WaveFileType::NotFromFile;
    w->Doc.IsBitPattern = pattern ? 1 : 0;
    w->Doc.WaveName = name_;
    w->Doc.SaveState = 1;
    w->LengthChanged();
    w->update();
    // The window was activated while it was still empty: the status panel and the type
    // menus show what it holds now.
    w->FormActivate();
    done(platform::mrOk);
}

void TImportCSV::CancelClick() {
    if (converting_)
        return;
    PreviewStream.clear();
    done(platform::mrCancel);
}

void TImportCSV::CancelPath() {
    PreviewStream.clear();
}

void TImportCSV::reject() {
    if (!converting_)
        Form::reject();
}
