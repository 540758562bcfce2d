#include "app_fixture.h"

#include "app/Plotdesk.h"
#include "workspace/forms/CSVPreview.h"
#include "workspace/forms/ProcessCSV.h"
#include "workspace/forms/wfmchild.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>

using plotwell::workspace::WaveFileType;

namespace {

struct Seen {
    QStringList columns;
    QString label2, info, note;
    bool busyDuringPasses = false;
    QSize size;
    bool infoFits = false;
};

// Open As > Comma Separated Values with `file`; the dialog's script picks `column`
// (1-based), sets the pattern box and clicks `button`.
Seen importCsv(plotwell::platform::ScriptedUi& ui, const std::string& file, int column, bool pattern,
               const char* button) {
    Seen seen;
    // Nothing may re-enter the conversion while its passes run.
    const auto watch = QObject::connect(CSVProcess, &QWidget::windowTitleChanged, [&] {
        seen.busyDuringPasses = !ImportCSV->CSVSelect->isEnabled() && !ImportCSV->OK->isEnabled() &&
                                !ImportCSV->Cancel->isEnabled();
    });
    ui.chooseFile(file);
    ui.onDialog([&](QDialog&) {
        for (int i = 0; i < ImportCSV->CSVSelect->count(); ++i)
            seen.columns << ImportCSV->CSVSelect->itemText(i);
        if (column > 1) {
            ImportCSV->CSVSelect->setCurrentIndex(column - 1);
            emit ImportCSV->CSVSelect->activated(column - 1);
        }
        seen.label2 = ImportCSV->Label2->text();
        seen.info = ImportCSV->InfoLabel->text();
        seen.note = ImportCSV->ColumnNote->text();
        QCoreApplication::processEvents(); // the layout settles as on screen
        seen.size = ImportCSV->size();
        const QLabel* info = ImportCSV->InfoLabel;
        seen.infoFits = info->width() >= info->fontMetrics().horizontalAdvance(info->text());
        ImportCSV->pattern_check->setChecked(pattern);
        ImportCSV->findChild<QPushButton*>(button)->click();
    });
    PWForm1->OpenCsvClick();
    QObject::disconnect(watch);
    return seen;
}

} // namespace

TEST_F(AppTest, CsvImportOpensTheChosenColumn) {
    const std::string file = tempFile("scope.csv");
    writeFile(file, "time,volts\r\n0,0.5\r\n1,-1\r\nx,y\r\n");
    const Seen seen = importCsv(ui, file, 2, false, "OK");
    EXPECT_EQ(seen.columns, (QStringList{"1", "2"}));
    EXPECT_EQ(seen.label2, "Selected CSV file contains 2");
    EXPECT_EQ(seen.info, "Column = 2 points - Some illegal rows were found");
    EXPECT_TRUE(seen.busyDuringPasses);
    ASSERT_EQ(PWForm1->WaveWindows().size(), 1u);
    TWFMform* w = PWForm1->WaveWindows().front();
    EXPECT_EQ(w->Caption(), "Imported CSV (Not Stored)");
    EXPECT_EQ(w->Doc.FileType, WaveFileType::NotFromFile);
    EXPECT_EQ(w->Doc.WaveName, file);
    EXPECT_EQ(w->Doc.SaveState, 1);
    EXPECT_EQ(w->Doc.SelectionEnd, 1);
    EXPECT_EQ(w->Doc.SampleStream->toBytes(), std::string("\x00\x80\xFE\xBF\x00\x00", 6));
    EXPECT_EQ(PWForm1->OpenType, PWForm1->GlobalFileType);
    EXPECT_FALSE(CSVProcess->isVisible());
    std::vector<std::string> panel;
    for (QLabel* l : {PWForm1->WaveInfo1, PWForm1->WaveInfo2, PWForm1->WaveInfo3, PWForm1->WaveInfo4,
                      PWForm1->WaveInfo5, PWForm1->WaveInfo6})
        panel.push_back(l->text().toStdString());
    EXPECT_EQ(panel, (std::vector<std::string>{"   Status scope.csv:", "   Start 0:", "Value +16382:",
                                               "   End 1:", "Value -32768:", "   Length 2:"}));
}

// A line of millions of fields must not become a list of millions of entries.
TEST_F(AppTest, CsvImportOffersAtMost256Columns) {
    const std::string file = tempFile("wide.csv");
    for (const int columns : {256, 257}) {
        std::string line = "1";
        for (int i = 1; i < columns; ++i)
            line += ",1";
        writeFile(file, line + "\n2\n");
        const Seen seen = importCsv(ui, file, 256, false, "Cancel");
        EXPECT_EQ(seen.columns.size(), 256);
        EXPECT_EQ(seen.columns.back(), "256");
        EXPECT_EQ(seen.label2, QString("Selected CSV file contains %1").arg(columns));
        EXPECT_EQ(seen.note, columns > 256 ? "Only the first 256 columns can be chosen" : "");
        EXPECT_EQ(seen.info, "No valid data was found in selected column");
    }
}

TEST_F(AppTest, CsvPreviewKeepsItsSizeWhateverTheInfoText) {
    const std::string small = tempFile("small.csv"), large = tempFile("large.csv");
    writeFile(small, "0\n1\n");
    std::string rows;
    for (int i = 0; i < 100010; ++i)
        rows += "1\n";
    writeFile(large, rows + "x\n");
    const QSize first = importCsv(ui, small, 1, false, "Cancel").size;
    for (const std::string& file : {large, small}) {
        const Seen seen = importCsv(ui, file, 1, false, "Cancel");
        EXPECT_EQ(seen.size, first) << seen.info.toStdString();
        EXPECT_TRUE(seen.infoFits) << seen.info.toStdString();
    }
}

TEST_F(AppTest, CsvImportAsBitPattern) {
    const std::string file = tempFile("bits.csv");
    writeFile(file, "0.9\n-1\n1\n0\n");
    importCsv(ui, file, 1, true, "OK");
    ASSERT_EQ(PWForm1->WaveWindows().size(), 1u);
    TWFMform* w = PWForm1->WaveWindows().front();
    EXPECT_EQ(w->Doc.FileType, WaveFileType::BitPattern);
    EXPECT_EQ(w->Doc.IsBitPattern, 1);
    const auto codes = w->Doc.SampleStream->codes();
    EXPECT_EQ(std::vector<uint16_t>(codes.begin(), codes.end()), (std::vector<uint16_t>{65535, 0, 65535, 0}));
}

TEST_F(AppTest, CsvImportRefusesABitPatternLongerThanOneCanBe) {
    const std::string file = tempFile("long.csv");
    std::string rows;
    for (int i = 0; i < 65536; ++i)
        rows += i % 2 ? "1\n" : "-1\n";
    writeFile(file, rows);
    ui.chooseFile(file);
    ui.onDialog([&](QDialog&) {
        ImportCSV->pattern_check->setChecked(true);
        ImportCSV->OK->click();
        EXPECT_EQ(ui.lastMessage(), "A bit pattern holds at most 65535 bits");
        EXPECT_TRUE(PWForm1->WaveWindows().empty()) << "the dialog stays, nothing is made";
        ImportCSV->pattern_check->setChecked(false);
        ImportCSV->OK->click();
    });
    PWForm1->OpenCsvClick();
    ASSERT_EQ(PWForm1->WaveWindows().size(), 1u);
    EXPECT_EQ(PWForm1->WaveWindows().front()->Doc.PointCount(), 65536);
}

TEST_F(AppTest, CsvImportWithTooFewPointsOrCancelCreatesNothing) {
    const std::string file = tempFile("one.csv");
    writeFile(file, "volts\n1.5\n");
    const Seen seen = importCsv(ui, file, 1, false, "OK");
    EXPECT_EQ(seen.info, "No valid data was found in selected column");
    writeFile(file, "1\n2\n");
    importCsv(ui, file, 1, false, "Cancel");
    EXPECT_TRUE(PWForm1->WaveWindows().empty());
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(AppTest, CsvImportOfAnUnreadableFile) {
    const std::string file = tempFile("missing.csv");
    ui.chooseFile(file);
    PWForm1->OpenCsvClick();
    EXPECT_EQ(ui.messages(), (std::vector<std::string>{"Unable to read from\n" + file}));
    EXPECT_EQ(ui.count("exec"), 0);
    EXPECT_EQ(ImportCSV->result(), 2);
    EXPECT_TRUE(PWForm1->WaveWindows().empty());
}
