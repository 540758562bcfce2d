#pragma once
// The vertical adjustment dialog: moves the selection of a window up or down, scales it
// about the reference code and inverts it, live, from the samples as they were before the
// dialog opened. Every movement of a scroll bar and every Invert recomputes.
#include "workspace/forms/opdialog.h"

class QLabel;
class QPushButton;
class QScrollBar;

class TVertForm : public TOperationForm {
    Q_OBJECT
public:
    explicit TVertForm(QWidget* parent = nullptr);

    // The selection's length when the driver ran.
    int32_t PointCount = 0;
    bool Inverted = false;

    // ---- components -----------------------------------------------------------------
    QScrollBar* Offset = nullptr;
    QScrollBar* Amplitude = nullptr;
    QPushButton* Invert = nullptr;
    QPushButton* OK = nullptr;
    QPushButton* Cancel = nullptr;
    QLabel* Label1 = nullptr; // "Offset"
    QLabel* Label2 = nullptr; // "Amplitude"
    QLabel* Label3 = nullptr; // top of the offset bar
    QLabel* Label4 = nullptr; // bottom of the offset bar
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;

    void ApplyAdjustment();
    void OffsetChange();
    void AmplitudeChange();
    void InvertClick();
    void OKClick();
    void CancelClick();

    // The driver's preparation: the offset bar's range from the snapshot's reference, both
    // bars at 0, not inverted, the labels as they start.
    bool DriverBeforeShow() override;

private:
    void showOffsetEnds();
};

extern TVertForm* VertForm;
