#include "transfer/forms/settransfer.h"

#include "platform/posix/mount_points.h"
#include "platform/qstring.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

using namespace plotwell;
using transfer::ComboStyle;

namespace {

QComboBox* listCombo(QWidget* parent, const char* name) {
    auto* c = new QComboBox(parent);
    platform::nameInput(c, name);
    c->setMinimumWidth(160);
    return c;
}

QLabel* label(QWidget* parent, const char* text, const char* name) {
    auto* l = platform::named(new QLabel(QString::fromLatin1(text), parent), name);
    return l;
}

// A box for two widgets of which one shows at a time.
QWidget* turnTaking(QWidget* parent, QWidget* first, QWidget* second) {
    auto* box = new QWidget(parent);
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    row->addWidget(first);
    row->addWidget(second);
    return box;
}

} // namespace

TSetTransfer::TSetTransfer(const char* instanceName, const char* caption, const char* targetName,
                           const char* targetCaption, const char* skipName, QWidget* parent)
    : Form(instanceName, parent) {
    setWindowTitle(QString::fromLatin1(caption));
    grid_ = new QGridLayout(this);

    Make = listCombo(this, "Make");
    for (const auto& m : transfer::makeNames())
        Make->addItem(platform::toQString(m));
    Make->setCurrentIndex(-1);
    Model = listCombo(this, "Model");
    Type = listCombo(this, "Type");
    for (const char* t : {"GPIB0", "GPIB1", "USB", "Card/USB Memory", "LAN"})
        Type->addItem(QString::fromLatin1(t));
    TargetLabel = label(this, targetCaption, "TargetLabel");
    Target = listCombo(this, targetName);
    AddressLabel = label(this, "Address", "AddressLabel");
    Address = new QLineEdit(QStringLiteral("5"), this);
    platform::nameInput(Address, "Address");
    DriveLabel = label(this, "       At Drive", "DriveLabel");
    DriveLetter = listCombo(this, "DriveLetter");
    // Cards and USB drives are mounted folders here; a typed folder is taken as well.
    DriveLetter->setEditable(true);
    for (const auto& folder : platform::listMountFolders())
        DriveLetter->addItem(platform::toQString(folder));
    DriveLabel->hide();
    DriveLetter->hide();
    TcpLabel = label(this, "TCP Port", "TcpLabel");
    Tcp_Port = new QLineEdit(QString::fromLatin1(transfer::kDefaultTcpPort), this);
    platform::nameInput(Tcp_Port, "Tcp_Port");
    Skip = new QCheckBox(QStringLiteral("Skip identification query"), this);
    platform::nameInput(Skip, skipName);
    checks_.push_back(Skip);
    bnOK = platform::named(new QPushButton(QStringLiteral("OK"), this), "bnOK");
    bnCancel = platform::named(new QPushButton(QStringLiteral("Cancel"), this), "bnCancel");
    bnOK->setDefault(true);

    grid_->addWidget(label(this, "Make", "MakeLabel"), 0, 0);
    grid_->addWidget(Make, 0, 1);
    grid_->addWidget(label(this, "Model", "ModelLabel"), 1, 0);
    grid_->addWidget(Model, 1, 1);
    grid_->addWidget(label(this, "Interface", "TypeLabel"), 2, 0);
    grid_->addWidget(Type, 2, 1);
    grid_->addWidget(TargetLabel, 3, 0);
    grid_->addWidget(Target, 3, 1);
    // The address and the drive take turns in one place. Each cell holds one box for the two,
    // since the layout spaces a row by the field put into a cell last, shown or not.
    grid_->addWidget(turnTaking(this, AddressLabel, DriveLabel), 4, 0);
    grid_->addWidget(turnTaking(this, Address, DriveLetter), 4, 1);
    grid_->addWidget(TcpLabel, 5, 0);
    grid_->addWidget(Tcp_Port, 5, 1);
    grid_->addWidget(Skip, 8, 0, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(bnOK);
    buttons->addWidget(bnCancel);
    grid_->addLayout(buttons, 9, 0, 1, 2);

    connect(Make, &QComboBox::activated, this, [this] { MakeChange(); });
    connect(Model, &QComboBox::activated, this, [this] { ModelChange(); });
    connect(Type, &QComboBox::activated, this, [this] { TypeChange(); });
    connect(bnOK, &QPushButton::clicked, this, [this] { setModalResult(platform::mrOk); });
    connect(bnCancel, &QPushButton::clicked, this, [this] { setModalResult(platform::mrCancel); });
}

bool TSetTransfer::lanChosen() const {
    return Type->currentText() == QLatin1String(kLanText);
}

bool TSetTransfer::targetIsFreeText() const {
    return Target->isEditable();
}

void TSetTransfer::selectRow(QComboBox* combo, int row) {
    const QSignalBlocker block(combo);
    combo->setCurrentIndex(row >= 0 && row < combo->count() ? row : -1);
}

void TSetTransfer::fillModels(int makeIndex) {
    const QSignalBlocker block(Model);
    Model->clear();
    for (const auto& m : transfer::modelNames(makeIndex))
        Model->addItem(platform::toQString(m));
}

void TSetTransfer::setTargetStyle(ComboStyle style) {
    if (style == ComboStyle::Unchanged)
        return;
    const QSignalBlocker block(Target);
    Target->setEditable(style == ComboStyle::FreeText);
}

void TSetTransfer::fillTargetRows(ComboStyle style, const std::vector<std::string>& rows) {
    const QSignalBlocker block(Target);
    Target->clear();
    setTargetStyle(style);
    for (const auto& r : rows)
        Target->addItem(platform::toQString(r));
    Target->setCurrentIndex(Target->count() > 0 ? 0 : -1);
}

void TSetTransfer::MakeChange(bool presetFlowControl) {
    const int make = Make->currentIndex();
    if (make == RememberedMake)
        return;
    RememberedMake = -1;
    RememberedModel = -1;
    TargetLabel->setEnabled(false);
    Target->setEnabled(false);
    fillModels(-1);
    if (make >= 0 && make < int(transfer::makeNames().size())) {
        TargetLabel->setEnabled(true);
        Target->setEnabled(true);
        fillModels(make);
        selectRow(Model, 0);
        setTargetStyle(transfer::makeTargetStyle(make));
        if (presetFlowControl)
            side().flowControl = transfer::flowControlPreset(make);
    }
    FillTargets();
}

void TSetTransfer::ModelChange() {
    if (Model->currentIndex() == RememberedModel)
        return;
    RememberedModel = -1;
    FillTargets();
}

void TSetTransfer::TypeChange() {
    const int type = Type->currentIndex();
    const bool card = type == transfer::ifCard;
    AddressLabel->setVisible(!card);
    Address->setVisible(!card);
    DriveLabel->setVisible(card);
    DriveLetter->setVisible(card);
    if (card)
        DriveLetter->setEnabled(true);
    // A serial port has no address; it stays in view, greyed.
    Address->setEnabled(type <= transfer::ifLan);
    transfer::TransferSide s = side();
    Address->setText(platform::toQString(lanChosen() ? s.ipAddress : s.address));
    FillTargets();
}

void TSetTransfer::FormActivate() {
    transfer::TransferSide s = side();
    selectRow(Make, s.makeIndex);
    selectRow(Model, s.modelIndex);
    selectRow(Type, s.typeIndex);
    activateExtra();
    RememberedMake = s.makeIndex;
    RememberedModel = s.modelIndex;
    TypeChange();
    ShowInfo();
}

void TSetTransfer::Commit() {
    transfer::TransferSide s = side();
    s.makeIndex = Make->currentIndex();
    s.modelIndex = Model->currentIndex();
    s.typeIndex = Type->currentIndex();
    s.make = Make->currentText().toStdString();
    s.model = Model->currentText().toStdString();
    s.type = Type->currentText().toStdString();
    commitExtra();
    if (targetIsFreeText()) {
        s.targetIndex = -1;
        s.target = Target->currentText().toStdString();
    } else {
        s.targetIndex = Target->currentIndex();
        s.target = Target->currentText().toStdString();
    }
    s.driveLetterIndex = DriveLetter->currentIndex();
    s.driveLetter = DriveLetter->currentText().toStdString();
    s.tcpPort = Tcp_Port->text().toStdString();
    if (lanChosen())
        s.ipAddress = Address->text().toStdString();
    else
        s.address = Address->text().toStdString();
}

void TSetTransfer::RestoreStoredRows() {
    transfer::TransferSide s = side();
    selectRow(Make, s.makeIndex);
    fillModels(s.makeIndex);
    selectRow(Model, s.modelIndex);
    selectRow(Type, s.typeIndex);
    RememberedMake = s.makeIndex;
    RememberedModel = s.modelIndex;
    // The transfers read the Destination row, so it goes back too.
    FillTargets();
    if (targetIsFreeText()) {
        const QSignalBlocker block(Target);
        Target->setEditText(platform::toQString(s.target));
    } else {
        selectRow(Target, s.targetIndex);
    }
    restoreExtra();
}

TSetTransfer::Controls TSetTransfer::SaveControls() const {
    Controls c;
    for (const QCheckBox* box : checks_)
        c.checked.push_back(box->isChecked());
    c.address = Address->text();
    c.tcpPort = Tcp_Port->text();
    c.driveRow = DriveLetter->currentIndex();
    c.driveText = DriveLetter->currentText();
    return c;
}

void TSetTransfer::RestoreControls(const Controls& c) {
    for (std::size_t i = 0; i < checks_.size() && i < c.checked.size(); ++i)
        checks_[i]->setChecked(c.checked[i]);
    Address->setText(c.address);
    Tcp_Port->setText(c.tcpPort);
    selectRow(DriveLetter, c.driveRow);
    DriveLetter->setEditText(c.driveText);
}
