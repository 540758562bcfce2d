#pragma once
// The harmonics generator: a sum of up to sixteen sine harmonics, each with its harmonic
// number, relative amplitude and phase, levelled as calculated or to the full peak-to-peak
// amplitude about the mid code.

#include "synthesis/core/generator_templates.h"
#include "workspace/forms/opdialog.h"

#include <array>
#include <string_view>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

class QTableWidget;

class THarmonicsForm : public TOperationForm {
    Q_OBJECT
public:
    explicit THarmonicsForm(QWidget* parent = nullptr);

    static constexpr int kRows = plotwell::synthesis::kHarmonicRows;
    // Row k (from 1) is CheckBoxk, ComboBoxk, Edit(2k-1) (amplitude) and Edit(2k) (phase).
    std::array<QCheckBox*, kRows> CheckBox{};
    std::array<QComboBox*, kRows> ComboBox{};
    std::array<QLineEdit*, kRows> AmplitudeEdit{};
    std::array<QLineEdit*, kRows> PhaseEdit{};
    // Carries the column headings; plays no further part.
    QTableWidget* StringGrid1 = nullptr;
    QLineEdit* Start = nullptr;
    QLineEdit* End = nullptr;
    QRadioButton* RadioButton1 = nullptr; // "Auto adjust pk-pk"
    QRadioButton* RadioButton2 = nullptr; // "As calculated"
    QPushButton* BOk = nullptr;
    QPushButton* BCancel = nullptr;
    QPushButton* BPreview = nullptr;

    int32_t AmplitudeCodes = 0;
    // The centre of the preview lines.
    int32_t MarkerOffsetCodes = 0;
    bool Previewed = false;
    // The next '.' typed into an amplitude or phase edit is the first since entering it.
    bool DotFresh = true;
    int32_t LastPoint = 0;
    int32_t LastError = 0;

    // Whether `key` typed into an amplitude or phase edit holding `text` goes through.
    static bool FilterKey(std::string_view text, char key, bool& dotFresh);

    void BPreviewClick();
    void BOkClick();
    void BCancelClick();

protected:
    void FormActivate() override;
    void CancelPath() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The range texts as numbers within the window; false (after saying so) when one is
    // not a number.
    bool takeRange();
    // Every amplitude and phase holds a number the program can hold; otherwise the first that
    // does not is refused.
    bool numbersFit();
    int32_t levelMode() const;
};

extern THarmonicsForm* HarmonicsForm;
