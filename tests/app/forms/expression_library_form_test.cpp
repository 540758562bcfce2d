#include "app_fixture.h"

#include "app/Plotdesk.h"
#include "synthesis/forms/Askname.h"
#include "synthesis/forms/explibrary.h"
#include "synthesis/forms/expression.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTest>

#include <cstdint>
#include <cstdio>
#include <filesystem>

namespace {

class LibraryTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        PWForm1->HomeDir = tempDir();
        PWForm1->PrjFile = "Lab";
        PWForm1->LoadExpressionLibrary();
    }
    std::string libFile() const { return tempFile("Lab.LIB"); }

    // Library... in the expression dialog; `script` acts in the open manager.
    int openLibrary(std::function<void()> script) {
        ui.onDialog([script](QDialog&) { script(); });
        ExpressionForm->BLibrary->click();
        return LibraryForm->result();
    }
    void store(const char* name, const char* expression) {
        ExpressionForm->EdExpr->setText(QString::fromLatin1(expression));
        ui.onDialog([name](QDialog&) {
            AskNameForm->ExpName->setText(QString::fromLatin1(name));
            AskNameForm->BOK->click();
        });
        LibraryForm->BExprStore->click();
    }
    static void clickRow(int row) {
        QListView* list = LibraryForm->ExpList;
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualRect(list->model()->index(row, 0)).center());
    }
};

using Lines = std::vector<std::string>;

} // namespace

TEST_F(LibraryTest, StoreRecallAndSave) {
    Lines seen;
    bool recallBefore = true, recallAfter = false;
    QString expr, edExpr;
    const int answer = openLibrary([&] {
        recallBefore = LibraryForm->BExpRecall->isEnabled();
        store("sine", "sin(omg*t)");
        store("Alpha", "t");
        seen = LibraryForm->Lines();
        ExpressionForm->EdExpr->clear();
        clickRow(1);
        recallAfter = LibraryForm->BExpRecall->isEnabled();
        LibraryForm->BExpRecall->click();
        expr = ExpressionForm->Expr->currentText();
        edExpr = ExpressionForm->EdExpr->text();
        LibraryForm->BOK->click();
    });
    EXPECT_EQ(answer, 1);
    EXPECT_EQ(seen, (Lines{"Alpha\t= t", "sine\t= sin(omg*t)"}));
    EXPECT_FALSE(recallBefore);
    EXPECT_TRUE(recallAfter);
    EXPECT_EQ(expr, "sin(omg*t)");
    EXPECT_EQ(edExpr, "sin(omg*t)");
    EXPECT_EQ(readFile(libFile()), "Alpha\t= t\r\nsine\t= sin(omg*t)\r\n");

    // The next project load reads it back.
    LibraryForm->LoadProjectLibrary(tempDir(), "Other");
    EXPECT_TRUE(LibraryForm->Lines().empty());
    PWForm1->LoadExpressionLibrary();
    EXPECT_EQ(LibraryForm->Lines(), (Lines{"Alpha\t= t", "sine\t= sin(omg*t)"}));
}

TEST_F(LibraryTest, CancelRestoresTheFileAndImportDoubles) {
    writeFile(libFile(), "b\t= 2\r\na\t= 1\r\n");
    PWForm1->LoadExpressionLibrary();
    EXPECT_EQ(LibraryForm->Lines(), (Lines{"a\t= 1", "b\t= 2"}));
    bool deleteAfterDelete = true;
    const int cancelled = openLibrary([&] {
        store("c", "3");
        clickRow(0);
        LibraryForm->BRemoveExp->click();
        deleteAfterDelete = LibraryForm->BRemoveExp->isEnabled() || LibraryForm->BExpRecall->isEnabled();
        LibraryForm->BCancel->click();
    });
    EXPECT_EQ(cancelled, 2);
    EXPECT_FALSE(deleteAfterDelete);
    EXPECT_EQ(LibraryForm->Lines(), (Lines{"a\t= 1", "b\t= 2"}));

    ui.chooseFile(libFile());
    openLibrary([] {
        LibraryForm->BImport->click();
        LibraryForm->BOK->click();
    });
    ASSERT_FALSE(ui.fileDialogs().empty());
    EXPECT_EQ(ui.fileDialogs().back().title, "Import library");
    EXPECT_EQ(ui.fileDialogs().back().initialDir, tempDir());
    EXPECT_EQ(LibraryForm->Lines(), (Lines{"a\t= 1", "a\t= 1", "b\t= 2", "b\t= 2"}));
    EXPECT_EQ(readFile(libFile()), "a\t= 1\r\na\t= 1\r\nb\t= 2\r\nb\t= 2\r\n");
}

TEST_F(LibraryTest, MissingAndUnwritableFiles) {
    // A project whose library was never saved: Cancel still closes, with nothing to say.
    EXPECT_EQ(openLibrary([] { LibraryForm->BCancel->click(); }), 2);
    EXPECT_TRUE(ui.messages().empty());

    LibraryForm->ExpressionLibraryFile = tempFile("no such folder/Lab.LIB");
    bool openAfterFailedOk = false;
    openLibrary([&] {
        store("x", "t");
        LibraryForm->BOK->click();
        openAfterFailedOk = LibraryForm->isVisible();
        LibraryForm->BCancel->click();
    });
    EXPECT_TRUE(openAfterFailedOk);
    EXPECT_EQ(ui.messages(),
              (Lines{"Unable to write the expression library\n" + tempFile("no such folder/Lab.LIB")}));

    ui.clear();
    ui.chooseFile(tempFile("gone.lib"));
    openLibrary([] {
        LibraryForm->BImport->click();
        LibraryForm->BCancel->click();
    });
    EXPECT_EQ(ui.messages(), (Lines{"Unable to read the expression library\n" + tempFile("gone.lib")}));
}

// Lines the reader cannot take are counted once, at the load or the import that meets them.
std::string unreadText(std::size_t count, const std::string& file) {
    return std::to_string(count) + (count == 1 ? " line" : " lines") + " of the expression library\n" + file +
           "\ncannot be read and will be dropped when the library is saved.";
}

TEST_F(LibraryTest, EntriesNobodyEditedAreWrittenBackAsTheyWere) {
    const std::string tooLong = "n\t= " + std::string(196, 'x');
    writeFile(libFile(), "caf\xe9\t= t\r\nno entry\r\n" + tooLong + "\nb\t= \xff\x01\r\n");
    PWForm1->LoadExpressionLibrary();
    EXPECT_EQ(ui.messages(), (Lines{unreadText(2, libFile())}));
    QString shown;
    openLibrary([&] {
        shown = LibraryForm->ExpList->model()->index(1, 0).data().toString();
        LibraryForm->BCancel->click();
    });
    openLibrary([] { LibraryForm->BOK->click(); });
    EXPECT_EQ(shown, QStringLiteral("caf\uFFFD\t= t"));
    EXPECT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(readFile(libFile()), "b\t= \xff\x01\r\ncaf\xe9\t= t\r\n");
}

TEST_F(LibraryTest, ImportKeepsTheChosenEntryAndCountsUnreadLines) {
    writeFile(tempFile("more.lib"), "C\t= 9\xe9\nbinary\x01\x02\nA\t= 1\n");
    struct Case {
        int clicked, chosen;
        const char* recalled;
    };
    // The first entry too: row 0 is a chosen entry like any other.
    for (const Case& c : {Case{0, 0, "1"}, Case{1, 2, "3"}}) {
        SCOPED_TRACE(c.clicked);
        ui.clear();
        writeFile(libFile(), "a\t= 1\r\nc\t= 3\r\n");
        PWForm1->LoadExpressionLibrary();
        ui.chooseFile(tempFile("more.lib"));
        int chosen = -1;
        bool selected = false;
        QString recalled;
        openLibrary([&] {
            clickRow(c.clicked);
            LibraryForm->BImport->click();
            const QModelIndex current = LibraryForm->ExpList->currentIndex();
            chosen = current.row();
            selected = LibraryForm->ExpList->selectionModel()->isSelected(current);
            ExpressionForm->EdExpr->clear();
            LibraryForm->BExpRecall->click();
            recalled = ExpressionForm->EdExpr->text();
            LibraryForm->BOK->click();
        });
        EXPECT_EQ(chosen, c.chosen);
        EXPECT_TRUE(selected);
        EXPECT_EQ(recalled, c.recalled);
        EXPECT_EQ(ui.messages(), (Lines{unreadText(1, tempFile("more.lib"))}));
        EXPECT_EQ(readFile(libFile()), "a\t= 1\r\nA\t= 1\r\nc\t= 3\r\nC\t= 9\xe9\r\n");
    }
}

TEST_F(LibraryTest, TooLongAnEntryIsRefused) {
    openLibrary([this] {
        store("long", std::string(200, 'x').c_str());
        LibraryForm->BCancel->click();
    });
    EXPECT_EQ(ui.messages().size(), 1u);
    EXPECT_TRUE(LibraryForm->Lines().empty());
}

TEST_F(LibraryTest, KeysInTheManager) {
    writeFile(libFile(), "a\t= 1\r\n");
    PWForm1->LoadExpressionLibrary();
    std::vector<bool> enabled;
    std::string help;
    bool openAfterEscape = false;
    const int closed = openLibrary([&] {
        QListView* list = LibraryForm->ExpList;
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Down); // chooses the first entry
        enabled = {LibraryForm->BExpRecall->isEnabled(), LibraryForm->BRemoveExp->isEnabled()};
        QTest::keyClick(list, Qt::Key_F1);
        help = ui.events().back().kind + " " + ui.events().back().text;
        store("b", "2");
        QTest::keyClick(list, Qt::Key_Escape);
        openAfterEscape = LibraryForm->isVisible();
        LibraryForm->close();
    });
    EXPECT_EQ(enabled, (std::vector<bool>{true, true}));
    EXPECT_EQ(help, "help 10002");
    EXPECT_TRUE(openAfterEscape);
    // The close box answers Cancel but keeps what was stored, unsaved, for a later OK.
    EXPECT_EQ(closed, 2);
    EXPECT_EQ(LibraryForm->Lines(), (Lines{"a\t= 1", "b\t= 2"}));
    EXPECT_EQ(readFile(libFile()), "a\t= 1\r\n");
}

// What OK writes, the next load reads: a list whose file would be longer than the reader
// takes is refused, and a file that could not be read is never written over.
class LibraryLimitTest : public LibraryTest {
protected:
    // `count` entries of 30 characters, each followed by `end`.
    static std::string entries(int count, const char* end = "\r\n") {
        std::string bytes;
        char line[40];
        for (int i = 0; i < count; ++i) {
            std::snprintf(line, sizeof line, "e%07d\t= sin(omg*t*%08d)", i, i);
            bytes.append(line).append(end);
        }
        return bytes;
    }
    // OK, and the close box when OK left the manager open.
    static void okOrClose() {
        LibraryForm->BOK->click();
        if (LibraryForm->isVisible())
            LibraryForm->close();
    }
    void storeAndOk(const char* name, const char* expression) {
        openLibrary([=, this] {
            store(name, expression);
            okOrClose();
        });
    }
    static std::string tooLongText(const std::string& file, std::size_t bytes, std::int64_t limit) {
        return "Unable to write the expression library\n" + file + "\nIt would be " + std::to_string(bytes) +
               " bytes long, more than the " + std::to_string(limit) +
               " bytes that can be read back.\nDelete entries, or Cancel to keep the file as it is.";
    }
    static std::string notReadText(const std::string& file) {
        return "Unable to write the expression library\n" + file +
               "\nIt could not be read, so the list does not hold its entries and saving would lose "
               "them.\nThe file is left as it is.";
    }
    static std::string cannotReadText(const std::string& file) {
        return "Unable to read the expression library\n" + file;
    }
};

TEST_F(LibraryLimitTest, OkRefusesAListWhoseFileCouldNotBeReadBack) {
    struct Case {
        const char* what;
        std::string file;
        std::int64_t limit;
        bool importItself, storeOne;
        std::size_t written;
    };
    for (const Case& c : std::vector<Case>{
             {"an import doubles the file", entries(3), 110, true, false, 192},
             {"LF lines are written with CR LF", entries(3, "\n"), 93, false, false, 96},
             {"a stored entry passes the limit", entries(3), 100, false, true, 103},
         }) {
        SCOPED_TRACE(c.what);
        ui.clear();
        LibraryForm->MaxFileBytes = c.limit;
        writeFile(libFile(), c.file);
        PWForm1->LoadExpressionLibrary();
        const Lines loaded = LibraryForm->Lines();
        ASSERT_EQ(loaded.size(), 3u);
        if (c.importItself)
            ui.chooseFile(libFile());
        bool openAfterOk = false;
        const int answer = openLibrary([&] {
            if (c.importItself)
                LibraryForm->BImport->click();
            if (c.storeOne)
                store("s", "t");
            LibraryForm->BOK->click();
            openAfterOk = LibraryForm->isVisible();
            LibraryForm->BCancel->click();
        });
        EXPECT_TRUE(openAfterOk);
        EXPECT_EQ(answer, 2);
        EXPECT_EQ(ui.messages(), (Lines{tooLongText(libFile(), c.written, c.limit)}));
        EXPECT_EQ(readFile(libFile()), c.file);
        // The next start reads every entry back, and says nothing.
        PWForm1->LoadExpressionLibrary();
        EXPECT_EQ(LibraryForm->Lines(), loaded);
        EXPECT_EQ(ui.messages().size(), 1u);
    }
}

TEST_F(LibraryLimitTest, AFileThatCouldNotBeReadIsNeverWrittenOver) {
    LibraryForm->MaxFileBytes = 80;
    const std::string three = entries(3); // 96 bytes
    writeFile(libFile(), three);
    PWForm1->LoadExpressionLibrary();
    EXPECT_TRUE(LibraryForm->Lines().empty());
    bool openAfterOk = false, openAfterCancel = false;
    openLibrary([&] {
        store("s", "t");
        LibraryForm->BOK->click();
        openAfterOk = LibraryForm->isVisible();
        LibraryForm->BCancel->click();
        openAfterCancel = LibraryForm->isVisible();
        LibraryForm->close();
    });
    EXPECT_TRUE(openAfterOk);
    EXPECT_TRUE(openAfterCancel);
    EXPECT_EQ(ui.messages(),
              (Lines{cannotReadText(libFile()), notReadText(libFile()), cannotReadText(libFile())}));
    EXPECT_EQ(readFile(libFile()), three);

    // Another project's library is saved as ever; back in this one the file is again unread.
    ui.clear();
    LibraryForm->LoadProjectLibrary(tempDir(), "Other");
    storeAndOk("o", "1");
    EXPECT_EQ(readFile(tempFile("Other.LIB")), "o\t= 1\r\n");
    PWForm1->LoadExpressionLibrary();
    storeAndOk("s", "t");
    EXPECT_EQ(ui.messages(), (Lines{cannotReadText(libFile()), notReadText(libFile())}));
    EXPECT_EQ(readFile(libFile()), three);

    // Once the file can be read, Cancel reads it and OK saves again.
    ui.clear();
    const std::string two = entries(2);
    writeFile(libFile(), two);
    EXPECT_EQ(openLibrary([] { LibraryForm->BCancel->click(); }), 2);
    storeAndOk("s", "t");
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_EQ(readFile(libFile()), two + "s\t= t\r\n");
}

TEST_F(LibraryLimitTest, TheLimitIsEightMebibytesReadAndWritten) {
    constexpr std::int64_t limit = std::int64_t(8) << 20;
    ASSERT_EQ(LibraryForm->MaxFileBytes, limit);
    const int count = int(limit / 32);
    const std::string full = entries(count);
    ASSERT_EQ(std::int64_t(full.size()), limit);
    // Files of megabytes are compared without printing them.
    const auto fileIs = [this](const std::string& bytes) { return readFile(libFile()) == bytes; };

    // A file of exactly the limit is read, and OK writes it back as it was.
    writeFile(libFile(), full);
    PWForm1->LoadExpressionLibrary();
    EXPECT_EQ(LibraryForm->Lines().size(), std::size_t(count));
    EXPECT_EQ(openLibrary(okOrClose), 1);
    EXPECT_TRUE(fileIs(full));
    EXPECT_TRUE(ui.messages().empty());

    // One byte more is not read, and so not written over.
    writeFile(libFile(), full + "x");
    PWForm1->LoadExpressionLibrary();
    storeAndOk("s", "t");
    EXPECT_TRUE(fileIs(full + "x"));
    EXPECT_EQ(ui.messages(), (Lines{cannotReadText(libFile()), notReadText(libFile())}));

    // The shortest entry (5 bytes with its line end) stored into a file 5 bytes short of the
    // limit fills it to the byte; into one 4 bytes short it would pass the limit.
    ui.clear();
    for (const std::int64_t shortBy : {5, 4}) {
        const std::string start =
            entries(count - 1) + "z\t= " + std::string(std::size_t(26 - shortBy), '1') + "\r\n";
        ASSERT_EQ(std::int64_t(start.size()), limit - shortBy);
        writeFile(libFile(), start);
        PWForm1->LoadExpressionLibrary();
        storeAndOk("", "");
        EXPECT_TRUE(fileIs(shortBy == 5 ? "\t= \r\n" + start : start)) << shortBy;
    }
    EXPECT_EQ(ui.messages(), (Lines{tooLongText(libFile(), std::size_t(limit) + 1, limit)}));
}
