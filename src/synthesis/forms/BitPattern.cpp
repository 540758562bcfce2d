#include "synthesis/forms/BitPattern.h"

#include "platform/ui.h"
#include "synthesis/core/bit_pattern.h"
#include "workspace/forms/frame_host.h"
#include "workspace/forms/wfmchild.h"

#include <QAbstractTableModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

using namespace plotwell;
using workspace::WaveFileType;

TBitPatternForm* BitPatternForm = nullptr;

namespace {
constexpr int kRowHeight = 18;

// Keys the grid keeps: moving and extending the selection, the focus moves and the pop-up
// menu. No other key may search the rows, select them all or press a button.
bool gridKeeps(int key) {
    switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Menu:
        return true;
    default:
        return false;
    }
}
} // namespace

// The grid's rows over the window's samples themselves: nothing is copied, so 65,535 rows
// cost nothing until they are drawn.
class BitPatternModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    TWFMform* target = nullptr;

    int bits() const {
        return target && target->Doc.SampleStream ? std::max(0, target->Doc.PointCount()) : 0;
    }
    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : bits(); }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : 2; }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || !index.isValid() || index.row() >= bits())
            return {};
        if (index.column() == 0)
            return QString::number(index.row());
        return target->Doc.SampleStream->code(std::size_t(index.row())) ? QStringLiteral("1")
                                                                        : QStringLiteral("0");
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return {};
        return section == 0 ? QStringLiteral("      Bit") : QStringLiteral("Value");
    }
    void reset() {
        beginResetModel();
        endResetModel();
    }
    void changed(int firstRow, int lastRow) {
        if (firstRow <= lastRow)
            emit dataChanged(index(firstRow, 0), index(lastRow, 1));
    }
    void inserted(int row) {
        beginInsertRows({}, row, row);
        endInsertRows();
    }
    void removed(int row) {
        beginRemoveRows({}, row, row);
        endRemoveRows();
    }
};

TBitPatternForm::TBitPatternForm(QWidget* parent) : TOperationForm("BitPatternForm", parent) {
    setWindowTitle(QStringLiteral("Bit Pattern"));
    // Escape is ignored like every other key but 1, 0 and the grid's moves: only the Cancel
    // button throws the edits away.
    setSwallowEscape(true);
    model_ = new BitPatternModel(this);
    StringGrid1 = platform::named(new QTableView(this), "StringGrid1");
    platform::nameInput(StringGrid1, "StringGrid1");
    StringGrid1->setModel(model_);
    StringGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    StringGrid1->setSelectionMode(QAbstractItemView::ContiguousSelection);
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    StringGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StringGrid1->verticalHeader()->hide();
    StringGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    StringGrid1->verticalHeader()->setDefaultSectionSize(kRowHeight);
    StringGrid1->horizontalHeader()->setFixedHeight(kRowHeight);
    StringGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    StringGrid1->setColumnWidth(0, 64);
    StringGrid1->setColumnWidth(1, 39);
    StringGrid1->verticalScrollBar()->setSingleStep(1);
    // The header row and 32 bit rows in view.
    const int frame = 2 * StringGrid1->frameWidth();
    StringGrid1->setFixedSize(64 + 39 + StringGrid1->verticalScrollBar()->sizeHint().width() + frame,
                              kRowHeight * (synthesis::kBitPatternVisibleBits + 1) + frame);
    StringGrid1->installEventFilter(this);
    StringGrid1->setContextMenuPolicy(Qt::CustomContextMenu);

    bit_pattern_popup = platform::named(new QMenu(this), "bit_pattern_popup");
    Delete1 = bit_pattern_popup->addAction(QStringLiteral("Delete Bit"));
    Delete1->setObjectName(QStringLiteral("Delete1"));
    Insert1 = bit_pattern_popup->addAction(QStringLiteral("Insert Bit Before"));
    Insert1->setObjectName(QStringLiteral("Insert1"));
    InsertBitAfter1 = bit_pattern_popup->addAction(QStringLiteral("Insert Bit After"));
    InsertBitAfter1->setObjectName(QStringLiteral("InsertBitAfter1"));

    BOk = platform::named(new QPushButton(QStringLiteral("OK"), this), "BOk");
    BCancel = platform::named(new QPushButton(QStringLiteral("Cancel"), this), "BCancel");

    auto* side = new QVBoxLayout;
    side->addWidget(new QLabel(QStringLiteral("Fill with 1s"), this));
    side->addWidget(new QLabel(QStringLiteral("Fill with 0s"), this));
    side->addStretch();
    side->addWidget(BOk);
    side->addWidget(BCancel);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(StringGrid1);
    layout->addLayout(side);

    connect(StringGrid1->verticalScrollBar(), &QScrollBar::valueChanged, this,
            [this] { StringGrid1TopLeftChanged(); });
    connect(StringGrid1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { bit_pattern_popup->popup(StringGrid1->viewport()->mapToGlobal(at)); });
    connect(Delete1, &QAction::triggered, this, [this] { Delete1Click(); });
    connect(Insert1, &QAction::triggered, this, [this] { Insert1Click(); });
    connect(InsertBitAfter1, &QAction::triggered, this, [this] { InsertBitAfter1Click(); });
    connect(BOk, &QPushButton::clicked, this, [this] { BOkClick(); });
    connect(BCancel, &QPushButton::clicked, this, [this] { BCancelClick(); });
}

int TBitPatternForm::RowCount() const {
    return model_->bits() + 1;
}

QString TBitPatternForm::Cell(int column, int row) const {
    if (row == 0)
        return model_->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
    return model_->data(model_->index(row - 1, column), Qt::DisplayRole).toString();
}

void TBitPatternForm::FormActivate() {
    model_->target = Target;
    model_->reset();
    if (!Target || !Target->Doc.SampleStream)
        return;
    Target->Doc.FileType = WaveFileType::BitPattern;
    Target->Doc.IsBitPattern = 1;
    Target->UpdateTypeMenus();
    StringGrid1->scrollToTop();
    StringGrid1->setCurrentIndex(model_->index(0, 0));
    StringGrid1->setFocus();
    followGrid();
}

int TBitPatternForm::currentBit() const {
    const QModelIndex i = StringGrid1->currentIndex();
    return i.isValid() ? i.row() : -1;
}

bool TBitPatternForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == StringGrid1 && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        if (text == QLatin1String("1") || text == QLatin1String("0")) {
            StringGrid1KeyPress(text[0].toLatin1());
            return true;
        }
        if (!gridKeeps(key->key()))
            return true;
    }
    return TOperationForm::eventFilter(watched, event);
}

void TBitPatternForm::StringGrid1KeyPress(char key) {
    if ((key != '1' && key != '0') || !Target || !Target->Doc.SampleStream)
        return;
    const uint16_t code = key == '1' ? 0xFFFF : 0;
    auto codes = Target->Doc.SampleStream->codes();
    int lo = model_->bits(), hi = -1;
    for (const QModelIndex& row : StringGrid1->selectionModel()->selectedRows()) {
        if (row.row() >= int(codes.size()))
            continue;
        codes[std::size_t(row.row())] = code;
        lo = std::min(lo, row.row());
        hi = std::max(hi, row.row());
    }
    if (hi < 0)
        return;
    Changed = 1;
    model_->changed(lo, hi);
    Target->update();
}

void TBitPatternForm::followGrid() {
    if (!Target)
        return;
    const int top = std::max(0, StringGrid1->rowAt(0));
    const synthesis::BitView v = synthesis::BitPatternView(top, model_->bits());
    Target->Zoomed = 1;
    Target->ViewFirst = v.first;
    Target->ViewLast = v.last;
    Target->update();
}

void TBitPatternForm::StringGrid1TopLeftChanged() {
    if (!Target)
        return;
    Target->AxisLabelsShown = 0;
    followGrid();
}

void TBitPatternForm::edit(int what) {
    const int bit = currentBit();
    if (!Target || !Target->Doc.SampleStream || bit < 0)
        return;
    const auto kind = synthesis::BitEdit(what);
    if (!synthesis::EditBitPattern(*Target->Doc.SampleStream, SavedSamples.reference(), kind, bit)) {
        platform::errorBox(kind == synthesis::BitEdit::Delete ? "A bit pattern holds at least 1 bit"
                                                              : workspace::kTooManyBits);
        return;
    }
    Changed = 1;
    switch (kind) {
    case synthesis::BitEdit::Delete:
        model_->removed(bit);
        break;
    case synthesis::BitEdit::InsertBefore:
        model_->inserted(bit);
        break;
    case synthesis::BitEdit::InsertAfter:
        model_->inserted(bit + 1);
        break;
    }
    // The point numbers of the moved rows.
    model_->changed(bit, model_->bits() - 1);
    Target->Doc.NormaliseSelection();
    followGrid();
}

void TBitPatternForm::Delete1Click() {
    edit(int(synthesis::BitEdit::Delete));
}
void TBitPatternForm::Insert1Click() {
    edit(int(synthesis::BitEdit::InsertBefore));
}
void TBitPatternForm::InsertBitAfter1Click() {
    edit(int(synthesis::BitEdit::InsertAfter));
}

void TBitPatternForm::endZoom() {
    if (!Target)
        return;
    Target->Zoomed = 0;
    Target->ViewFirst = -1;
    Target->SavedView[2] = -1;
    Target->Doc.FileType = WaveFileType::BitPattern;
}

void TBitPatternForm::BOkClick() {
    if (Target) {
        Target->Doc.IsBitPattern = 1;
        Target->Doc.SelectionEnd = Target->Doc.PointCount() - 1;
        Target->Doc.NormaliseSelection();
        endZoom();
        Target->update();
    }
    done(platform::mrOk);
    if (Target)
        Target->PublishStatus();
}

void TBitPatternForm::CancelPath() {
    if (!Target)
        return;
    endZoom();
    Target->MarkerAmplitude = 0;
}

void TBitPatternForm::BCancelClick() {
    CancelPath();
    done(platform::mrCancel);
}
