#pragma once
// The bit-pattern editor: a grid of the target window's bits, one row a bit. The keys 1 and
// 0 set the selected bits (no other key acts, beyond the grid's moves), the pop-up menu
// deletes and inserts bits. Every edit goes straight into the window's samples, and the
// window, zoomed to the 32 bits in view, follows the grid as it scrolls.

#include "workspace/forms/opdialog.h"

class QAction;
class QMenu;
class QPushButton;
class QTableView;
class BitPatternModel;

class TBitPatternForm : public TOperationForm {
    Q_OBJECT
public:
    explicit TBitPatternForm(QWidget* parent = nullptr);

    QTableView* StringGrid1 = nullptr;
    QMenu* bit_pattern_popup = nullptr;
    QAction* Delete1 = nullptr;
    QAction* Insert1 = nullptr;
    QAction* InsertBitAfter1 = nullptr;
    QPushButton* BOk = nullptr;
    QPushButton* BCancel = nullptr;

    // Rows of the grid: the header row and one per bit.
    int RowCount() const;
    // The grid's cell text (row 0 is the header).
    QString Cell(int column, int row) const;

    void StringGrid1KeyPress(char key);
    void StringGrid1TopLeftChanged();
    void Delete1Click();
    void Insert1Click();
    void InsertBitAfter1Click();
    void BOkClick();
    void BCancelClick();

protected:
    void FormActivate() override;
    void CancelPath() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The grid's current row as a bit index; -1 when there is none.
    int currentBit() const;
    void edit(int edit);
    // Sets the window's visible points from the grid's top row and redraws it.
    void followGrid();
    // Ends the zoom of the window (OK and Cancel).
    void endZoom();

    BitPatternModel* model_ = nullptr;
};

extern TBitPatternForm* BitPatternForm;
