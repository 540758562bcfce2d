#pragma once
// The two-waveform arithmetic dialog: writes into a window, over its start..end range, the
// sum, difference or product of two sources chosen from the open windows, each taken over
// its own selection about its own reference code. A result that clips may be fitted into
// the code range by scaling it.
#include "synthesis/forms/maths_dialogs.h"

#include <QPointer>

#include <memory>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;

class TMathopdlg : public TPreviewOperationForm {
    Q_OBJECT
public:
    explicit TMathopdlg(QWidget* parent = nullptr);
    ~TMathopdlg() override;

    // 0 sum, 1 difference, 2 product; set by the menu item before the driver runs.
    int MathOp = 0;

    // A source as it was bound by its double-click: the window itself (it may close, and
    // its place among the windows may change), its first selected point, its reference
    // code (1 read as 32768) and its selection length.
    struct Source {
        QPointer<TWFMform> window;
        int32_t SourceData = 0;
        int32_t SourceRef = 32768;
        int32_t SourceCount = 0;
        bool tag = false;
    };
    Source Sources[2];
    double Gain = 1.0;
    int32_t LastPoint = 0;
    // 0: the next double-click fills Wave1, 1: Wave2.
    int NextSource = 0;

    // ---- components -----------------------------------------------------------------
    QLabel* Operand = nullptr;
    QLineEdit* Wave1 = nullptr;
    QLineEdit* Wave2 = nullptr;
    QLineEdit* Wave3 = nullptr;
    QListWidget* WaveList = nullptr;
    QLineEdit* Start = nullptr;
    QLineEdit* End = nullptr;
    QCheckBox* FitAmpl = nullptr;

    void WaveListDblClick();
    void Wave1Click();
    void Wave2Click();
    bool PreviewClick() override;

protected:
    void FormActivate() override;

private:
    // The windows of the list, row by row, as they were at activation.
    std::vector<QPointer<TWFMform>> listed_;
    std::unique_ptr<plotwell::synthesis::RangeFields> range_;
};

extern TMathopdlg* Mathopdlg;
