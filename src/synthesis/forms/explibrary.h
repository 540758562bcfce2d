#pragma once
// The expression library manager: the project's named expressions, stored from and
// recalled into the expression dialog. The list lives here from project load to the next
// one; OK writes it to the project's library file, Cancel reads it back. Escape does
// nothing, and the close box leaves the list as it is, unsaved, for a later OK or Cancel.

#include "platform/form.h"
#include "platform/ui.h"
#include "synthesis/core/expression_library.h"

#include <cstdint>
#include <string>
#include <vector>

class QListView;
class QPushButton;
class LibraryLinesModel;

class TLibraryForm : public plotwell::platform::Form {
    Q_OBJECT
public:
    explicit TLibraryForm(QWidget* parent = nullptr);

    QListView* ExpList = nullptr;
    QListView* ImportList = nullptr; // hidden
    QPushButton* BExprStore = nullptr;
    QPushButton* BExpRecall = nullptr;
    QPushButton* BRemoveExp = nullptr;
    QPushButton* BImport = nullptr;
    QPushButton* BOK = nullptr;
    QPushButton* BCancel = nullptr;
    QPushButton* BHelp = nullptr;
    plotwell::platform::FileDialogState ImportDialog;

    // The project's library file and home folder, set when a project is loaded.
    std::string ExpressionLibraryFile;
    std::string HomeDir;
    // The largest library file read, and so the largest OK writes; a member, so that a test
    // need not build files of megabytes.
    std::int64_t MaxFileBytes = plotwell::synthesis::kLibraryMaxFileBytes;

    // Loads the library of the project in `homeDir` named `project` (a project without a
    // library file has an empty one). Lines that are no entry are counted in a message.
    void LoadProjectLibrary(const std::string& homeDir, const std::string& project);
    // The lines of ExpList in their order.
    std::vector<std::string> Lines() const;

    void ExpListClick();
    void BExprStoreClick();
    void BExpRecallClick();
    void BRemoveExpClick();
    void BImportClick();
    void BOKClick();
    void BCancelClick();

    static constexpr int kHelpContext = 10002;

protected:
    void FormActivate() override;

private:
    // Reads the library file into ExpList; false (a message shown) when it exists but
    // cannot be read. `reportUnread` counts the lines that are no entry in a message.
    bool reload(bool reportUnread);

    // The library file whose last read failed while it was there: its entries are not in
    // the list, so OK must not write the list over them. Cleared by the next read of the
    // library that succeeds.
    std::string unreadFile_;

    // The lines of ExpList and ImportList as their files hold them.
    LibraryLinesModel* lines_ = nullptr;
    LibraryLinesModel* importLines_ = nullptr;
};

extern TLibraryForm* LibraryForm;
