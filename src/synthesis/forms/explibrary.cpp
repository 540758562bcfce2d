#include "synthesis/forms/explibrary.h"

#include "common/numtext.h"
#include "platform/posix/atomic_file.h"
#include "synthesis/core/expression_library.h"
#include "synthesis/forms/Askname.h"
#include "synthesis/forms/expression.h"
#include "workspace/core/project_paths.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <filesystem>

using namespace plotwell;
using common::cformat;

TLibraryForm* LibraryForm = nullptr;

namespace {

std::vector<std::string> linesOf(const QListWidget& list) {
    std::vector<std::string> lines;
    lines.reserve(std::size_t(list.count()));
    for (int i = 0; i < list.count(); ++i)
        lines.push_back(list.item(i)->text().toStdString());
    return lines;
}

// The library file's lines; nullopt (a message shown) when the file cannot be read. A
// missing file is an empty library when `missingIsEmpty`.
std::optional<std::vector<std::string>> readLibraryFile(const std::string& path, bool missingIsEmpty) {
    const auto bytes = platform::readFileBytes(path, synthesis::kLibraryMaxFileBytes);
    if (!bytes) {
        std::error_code ec;
        if (missingIsEmpty && !std::filesystem::exists(path, ec))
            return std::vector<std::string>{};
        platform::errorBox(cformat("Unable to read the expression library\n%s", path.c_str()));
        return std::nullopt;
    }
    return synthesis::ReadLibrary(*bytes);
}

} // namespace

TLibraryForm::TLibraryForm(QWidget* parent) : Form("LibraryForm", parent) {
    setHelpContext(kHelpContext);
    setWindowTitle(QStringLiteral("Expression Library Manager"));
    setSwallowEscape(true);
    ExpList = platform::named(new QListWidget(this), "ExpList");
    platform::nameInput(ExpList, "ExpList");
    ExpList->setSelectionMode(QAbstractItemView::SingleSelection);
    ExpList->setMinimumWidth(420);
    ImportList = platform::named(new QListWidget(this), "ImportList");
    ImportList->hide();
    auto* grid = new QGridLayout(this);
    grid->addWidget(ExpList, 0, 0, 7, 1);
    struct ButtonRow {
        QPushButton** button;
        const char *name, *text;
    };
    int row = 0;
    for (const ButtonRow& b :
         {ButtonRow{&BExprStore, "BExprStore", "Store expression"},
          ButtonRow{&BExpRecall, "BExpRecall", "Recall expression"},
          ButtonRow{&BRemoveExp, "BRemoveExp", "Delete expression"}, ButtonRow{&BImport, "BImport", "Import"},
          ButtonRow{&BOK, "BOK", "OK"}, ButtonRow{&BCancel, "BCancel", "Cancel"},
          ButtonRow{&BHelp, "BHelp", "Help"}}) {
        *b.button = platform::named(new QPushButton(QString::fromLatin1(b.text), this), b.name);
        grid->addWidget(*b.button, row++, 1);
    }

    ImportDialog.title = "Import library";
    ImportDialog.defaultExt = "lib";
    ImportDialog.filter = "Expression library files (*.lib)|*.lib";
    ImportDialog.fileMustExist = true;

    // An entry chosen with the mouse or the keyboard; not the focus alone, which may mark
    // an entry without choosing it.
    connect(ExpList, &QListWidget::itemSelectionChanged, this, [this] {
        if (!ExpList->selectedItems().isEmpty())
            ExpListClick();
    });
    connect(BExprStore, &QPushButton::clicked, this, [this] { BExprStoreClick(); });
    connect(BExpRecall, &QPushButton::clicked, this, [this] { BExpRecallClick(); });
    connect(BRemoveExp, &QPushButton::clicked, this, [this] { BRemoveExpClick(); });
    connect(BImport, &QPushButton::clicked, this, [this] { BImportClick(); });
    connect(BOK, &QPushButton::clicked, this, [this] { BOKClick(); });
    connect(BCancel, &QPushButton::clicked, this, [this] { BCancelClick(); });
    connect(BHelp, &QPushButton::clicked, this, [] { platform::ui().showHelp(kHelpContext); });
    // The expression dialog's Library... button opens the manager.
    if (ExpressionForm && ExpressionForm->BLibrary)
        connect(ExpressionForm->BLibrary, &QPushButton::clicked, this, [this] { ShowModal(); });
}

void TLibraryForm::LoadProjectLibrary(const std::string& homeDir, const std::string& project) {
    HomeDir = homeDir;
    ExpressionLibraryFile = workspace::projectPaths(homeDir, project).ExpressionLibrary;
    if (!reload())
        ExpList->clear();
}

std::vector<std::string> TLibraryForm::Lines() const {
    return linesOf(*ExpList);
}

bool TLibraryForm::reload() {
    const auto lines = readLibraryFile(ExpressionLibraryFile, true);
    if (!lines)
        return false;
    ExpList->clear();
    for (const std::string& line : *lines)
        addSorted(line);
    return true;
}

void TLibraryForm::addSorted(const std::string& line) {
    const std::size_t at = synthesis::LibrarySortedIndex(Lines(), line);
    ExpList->insertItem(int(at), QString::fromStdString(line));
}

void TLibraryForm::FormActivate() {
    BRemoveExp->setEnabled(false);
    BExpRecall->setEnabled(false);
    ExpList->clearSelection();
    ExpList->setCurrentRow(-1);
}

void TLibraryForm::ExpListClick() {
    BRemoveExp->setEnabled(true);
    BExpRecall->setEnabled(true);
    BOK->setEnabled(true);
}

void TLibraryForm::BExprStoreClick() {
    if (!AskNameForm || !ExpressionForm || AskNameForm->ShowModal() != platform::mrOk)
        return;
    const auto line = synthesis::LibraryLine(AskNameForm->ExpName->text().toStdString(),
                                             ExpressionForm->EdExpr->text().toStdString());
    if (!line) {
        platform::errorBox(cformat("The expression is too long for the library: a name and its expression "
                                   "hold at most %zu characters together",
                                   synthesis::kLibraryLineMax - 3));
        return;
    }
    addSorted(*line);
}

void TLibraryForm::BExpRecallClick() {
    QListWidgetItem* item = ExpList->currentItem();
    if (!item || !ExpressionForm)
        return;
    const QString text = QString::fromStdString(synthesis::RecallExpression(item->text().toStdString()));
    ExpressionForm->Expr->setEditText(text);
    ExpressionForm->EdExpr->setText(text);
}

void TLibraryForm::BRemoveExpClick() {
    const int row = ExpList->currentRow();
    if (row >= 0)
        delete ExpList->takeItem(row);
    FormActivate();
}

void TLibraryForm::BImportClick() {
    ImportDialog.initialDir = HomeDir;
    if (!platform::ui().openFile(ImportDialog))
        return;
    const auto lines = readLibraryFile(ImportDialog.fileName, false);
    if (!lines)
        return;
    ImportList->clear();
    for (const std::string& line : *lines)
        ImportList->addItem(QString::fromStdString(line));
    for (const std::string& line : linesOf(*ImportList))
        addSorted(line);
}

void TLibraryForm::BOKClick() {
    if (!platform::writeFileAtomically(ExpressionLibraryFile, synthesis::WriteLibrary(Lines()))) {
        platform::errorBox(
            cformat("Unable to write the expression library\n%s", ExpressionLibraryFile.c_str()));
        return;
    }
    done(platform::mrOk);
}

void TLibraryForm::BCancelClick() {
    if (reload())
        done(platform::mrCancel);
}
