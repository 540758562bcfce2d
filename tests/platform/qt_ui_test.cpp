// The real dialogs of the UI seam, looked at without running them (or closed from a timer):
// the file dialogs' filter list as the user reads it, the pointer over a message box, and the
// help window shown from a modal dialog.

#include "platform/help_window.h"
#include "platform/qt_ui.h"
#include "platform/screen_cursor.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFileDialog>
#include <QGuiApplication>
#include <QTimer>
#include <gtest/gtest.h>

#include <memory>

using namespace plotwell;

TEST(FileDialogs, FiltersReadAsTheProgramWritesThem) {
    struct Row {
        const char* filter;
        QStringList shown;
    };
    const std::vector<Row> rows = {
        {"Project files (*.prj)|*.prj", {"Project files (*.prj)"}},
        {"Plotwell *.wfm files|*.wfm|All Files *.*|*.*", {"Plotwell *.wfm files", "All Files *.*"}},
        {"Plotwell Bit Pattern files *.ptn files|*.ptn", {"Plotwell Bit Pattern files *.ptn files"}},
    };
    for (const Row& row : rows) {
        QFileDialog dialog;
        platform::FileDialogState state;
        state.filter = row.filter;
        platform::prepareFileDialog(dialog, state);
        auto* combo = dialog.findChild<QComboBox*>("fileTypeCombo");
        ASSERT_NE(combo, nullptr);
        QStringList shown;
        for (int i = 0; i < combo->count(); ++i)
            shown << combo->itemText(i);
        EXPECT_EQ(shown.join(" | ").toStdString(), row.shown.join(" | ").toStdString());
        // The patterns still choose the files, in either case.
        EXPECT_TRUE(dialog.nameFilters().front().contains(".PRJ") ||
                    dialog.nameFilters().front().contains(".WFM") ||
                    dialog.nameFilters().front().contains(".PTN"))
            << row.filter;
    }
}

TEST(HelpWindow, HelpFromAModalDialogStandsInFrontOfItAndTakesInput) {
    QWidget frame;
    frame.setGeometry(300, 200, 800, 600);
    frame.show();
    auto dialog = std::make_unique<QDialog>(&frame);
    dialog->setModal(true);
    dialog->setGeometry(500, 400, 300, 200);
    dialog->show();
    ASSERT_EQ(QApplication::activeModalWidget(), dialog.get());

    platform::QtUi().showHelp(0);
    platform::HelpWindow& help = platform::HelpWindow::instance();
    EXPECT_TRUE(help.isVisible());
    EXPECT_TRUE(help.isWindow());
    // A window that belongs to the modal dialog is not blocked by it and stays in front of it.
    EXPECT_EQ(help.parentWidget(), dialog.get());
    EXPECT_TRUE(help.geometry().contains(dialog->geometry().center()))
        << "over the dialog, at " << help.x() << "," << help.y();

    // The dialog ends; the help stays open on its own and outlives it.
    dialog->hide();
    EXPECT_TRUE(help.isVisible());
    EXPECT_EQ(help.parentWidget(), nullptr);
    dialog.reset();
    platform::QtUi().showHelp(0);
    EXPECT_TRUE(platform::HelpWindow::instance().isVisible());
    platform::HelpWindow::instance().hide();
}

TEST(MessageBoxes, ABoxShowsTheNormalPointerOverBusyWork) {
    platform::BusyCursor busy;
    Qt::CursorShape whileOpen = Qt::WaitCursor;
    QTimer::singleShot(0, [&whileOpen] {
        whileOpen = QGuiApplication::overrideCursor()->shape();
        QApplication::activeModalWidget()->close();
    });
    platform::QtUi().message("Unable to read from\n/x", platform::Icon::Error, platform::ButtonOk, false);
    EXPECT_EQ(whileOpen, Qt::ArrowCursor);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor) << "the work goes on busy";
}
