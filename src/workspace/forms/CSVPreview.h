#pragma once
// The CSV import dialog: lists the columns of the chosen file, converts the chosen one
// with a thumbnail of it, and on OK opens it in a new waveform window (or as a bit
// pattern). The reading itself is workspace/core/csv_import.

#include "platform/form.h"
#include "workspace/core/sample_stream.h"

#include <cstddef>
#include <string>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

class TImportCSV : public plotwell::platform::Form {
    Q_OBJECT
public:
    explicit TImportCSV(QWidget* parent = nullptr);

    QLabel* Thumbnail = nullptr;
    QComboBox* CSVSelect = nullptr;
    QPushButton* OK = nullptr;
    QPushButton* Cancel = nullptr;
    QLabel* InfoLabel = nullptr;
    QLabel* Label2 = nullptr;
    QCheckBox* pattern_check = nullptr;
    // Says that the list stops short of the file's columns; empty when it offers them all.
    QLabel* ColumnNote = nullptr;

    // Shows the dialog modally for the file `path` (shown as `name` in the new window) and
    // returns its modal result: 2 when the file cannot be read.
    int ShowImport(const std::string& path, const std::string& name);

    void CSVSelectChange();
    void OKClick();
    void CancelClick();
    // Nothing closes the dialog while a column is being converted.
    void reject() override;

    // What the last preview found.
    int PointCount = 0;
    int IllegalRows = 0;
    std::size_t DataStart = 0;

protected:
    void FormActivate() override;
    void CancelPath() override;

private:
    void drawThumbnail();
    void setBusy(bool busy);

    std::string path_, name_;
    std::string fileText_;
    plotwell::workspace::SampleStream PreviewStream;
    bool converting_ = false;
};

extern TImportCSV* ImportCSV;
