#include "synthesis/forms/explibrary.h"

#include "common/numtext.h"
#include "platform/posix/atomic_file.h"
#include "platform/qstring.h"
#include "synthesis/core/expression_library.h"
#include "synthesis/forms/Askname.h"
#include "synthesis/forms/expression.h"
#include "workspace/core/project_paths.h"

#include <QAbstractListModel>
#include <QComboBox>
#include <QGridLayout>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>

#include <filesystem>

using namespace plotwell;
using common::cformat;

TLibraryForm* LibraryForm = nullptr;

// The lines of a library list, kept as the file holds them so that an entry nobody edited
// is written back byte for byte. The list shows them as UTF-8, a byte that is none as the
// replacement character: which encoding such bytes meant is not known. A list of millions
// of lines costs a string a line, not a widget item.
class LibraryLinesModel : public QAbstractListModel {
public:
    using QAbstractListModel::QAbstractListModel;

    const std::vector<std::string>& lines() const { return lines_; }
    void assign(std::vector<std::string> lines) {
        beginResetModel();
        lines_ = std::move(lines);
        endResetModel();
    }
    void insert(std::size_t row, std::string line) {
        beginInsertRows({}, int(row), int(row));
        lines_.insert(lines_.begin() + std::ptrdiff_t(row), std::move(line));
        endInsertRows();
    }
    void erase(std::size_t row) {
        beginRemoveRows({}, int(row), int(row));
        lines_.erase(lines_.begin() + std::ptrdiff_t(row));
        endRemoveRows();
    }

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : int(lines_.size());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || index.row() < 0 || std::size_t(index.row()) >= lines_.size())
            return {};
        return platform::toQString(lines_[std::size_t(index.row())]);
    }

private:
    std::vector<std::string> lines_;
};

namespace {

// The first line of every message about a library file that cannot be read or written.
std::string unableText(const char* verb, const std::string& path) {
    return cformat("Unable to %s the expression library\n%s", verb, path.c_str());
}

// The library file's lines; nullopt (a message shown) when the file cannot be read or
// holds more than `maxBytes`. A missing file is an empty library when `missingIsEmpty`.
// Lines that are no entry are left out; when `reportUnread`, a message counts them, since
// the next save drops them.
std::optional<std::vector<std::string>> readLibraryFile(const std::string& path, std::int64_t maxBytes,
                                                        bool missingIsEmpty, bool reportUnread) {
    const auto bytes = platform::readFileBytes(path, maxBytes);
    if (!bytes) {
        std::error_code ec;
        if (missingIsEmpty && !std::filesystem::exists(path, ec))
            return std::vector<std::string>{};
        platform::errorBox(unableText("read", path));
        return std::nullopt;
    }
    std::size_t unread = 0;
    auto lines = synthesis::ReadLibrary(*bytes, &unread);
    if (reportUnread && unread > 0)
        platform::ui().message(cformat("%zu %s of the expression library\n%s\ncannot be read and will be "
                                       "dropped when the library is saved.",
                                       unread, unread == 1 ? "line" : "lines", path.c_str()),
                               platform::Icon::Warning, platform::ButtonOk, false);
    return lines;
}

QListView* libraryList(QWidget* parent, LibraryLinesModel* lines, const char* name) {
    auto* list = platform::named(new QListView(parent), name);
    // Every line is one line of text: the view need not measure a million of them.
    list->setUniformItemSizes(true);
    list->setModel(lines);
    return list;
}

} // namespace

TLibraryForm::TLibraryForm(QWidget* parent) : Form("LibraryForm", parent) {
    setHelpContext(kHelpContext);
    setWindowTitle(QStringLiteral("Expression Library Manager"));
    setSwallowEscape(true);
    lines_ = new LibraryLinesModel(this);
    ExpList = libraryList(this, lines_, "ExpList");
    platform::nameInput(ExpList, "ExpList");
    ExpList->setSelectionMode(QAbstractItemView::SingleSelection);
    ExpList->setMinimumWidth(420);
    importLines_ = new LibraryLinesModel(this);
    ImportList = libraryList(this, importLines_, "ImportList");
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
    connect(ExpList->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (ExpList->selectionModel()->hasSelection())
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
    if (!reload(true))
        lines_->assign({});
}

std::vector<std::string> TLibraryForm::Lines() const {
    return lines_->lines();
}

bool TLibraryForm::reload(bool reportUnread) {
    auto lines = readLibraryFile(ExpressionLibraryFile, MaxFileBytes, true, reportUnread);
    if (!lines) {
        unreadFile_ = ExpressionLibraryFile;
        return false;
    }
    unreadFile_.clear();
    std::vector<std::string> sorted;
    synthesis::AddToLibrary(sorted, std::move(*lines));
    lines_->assign(std::move(sorted));
    return true;
}

void TLibraryForm::FormActivate() {
    BRemoveExp->setEnabled(false);
    BExpRecall->setEnabled(false);
    ExpList->clearSelection();
    ExpList->setCurrentIndex({});
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
    lines_->insert(synthesis::LibrarySortedIndex(lines_->lines(), *line), std::move(*line));
}

void TLibraryForm::BExpRecallClick() {
    const int row = ExpList->currentIndex().row();
    if (row < 0 || !ExpressionForm)
        return;
    const QString text = platform::toQString(synthesis::RecallExpression(lines_->lines()[std::size_t(row)]));
    ExpressionForm->Expr->setEditText(text);
    ExpressionForm->EdExpr->setText(text);
}

void TLibraryForm::BRemoveExpClick() {
    const int row = ExpList->currentIndex().row();
    if (row >= 0)
        lines_->erase(std::size_t(row));
    FormActivate();
}

void TLibraryForm::BImportClick() {
    ImportDialog.initialDir = HomeDir;
    if (!platform::ui().openFile(ImportDialog))
        return;
    auto lines = readLibraryFile(ImportDialog.fileName, MaxFileBytes, false, true);
    if (!lines)
        return;
    importLines_->assign(std::move(*lines));
    // The chosen entry stays chosen where the imported lines move it.
    const int current = ExpList->currentIndex().row();
    std::vector<std::string> all = lines_->lines();
    const std::size_t row = synthesis::AddToLibrary(all, importLines_->lines(), std::size_t(current));
    lines_->assign(std::move(all));
    if (current >= 0)
        ExpList->setCurrentIndex(lines_->index(int(row)));
}

void TLibraryForm::BOKClick() {
    const std::string& path = ExpressionLibraryFile;
    // Each refusal leaves the file as it is and the dialog open, the list in memory.
    if (!unreadFile_.empty() && unreadFile_ == path) {
        platform::errorBox(unableText("write", path) +
                           "\nIt could not be read, so the list does not hold its entries and saving "
                           "would lose them.\nThe file is left as it is.");
        return;
    }
    const std::string bytes = synthesis::WriteLibrary(Lines());
    if (std::int64_t(bytes.size()) > MaxFileBytes) {
        platform::errorBox(unableText("write", path) +
                           cformat("\nIt would be %zu bytes long, more than the %lld bytes that can be read "
                                   "back.\nDelete entries, or Cancel to keep the file as it is.",
                                   bytes.size(), static_cast<long long>(MaxFileBytes)));
        return;
    }
    if (!platform::writeFileAtomically(path, bytes)) {
        platform::errorBox(unableText("write", path));
        return;
    }
    done(platform::mrOk);
}

void TLibraryForm::BCancelClick() {
    if (reload(false))
        done(platform::mrCancel);
}
