#pragma once
// "Download parameters": which instrument, interface and destination a download goes to.

#include "transfer/forms/settransfer.h"

class TSetDownload : public TSetTransfer {
    Q_OBJECT
public:
    explicit TSetDownload(QWidget* parent = nullptr);

    QComboBox* Destination = nullptr;
    QComboBox* Stretch = nullptr; // " Adjust to fit": "Yes", "No"
    QCheckBox* Interpolate = nullptr;
    QCheckBox* SkipID1 = nullptr;

    void FillDestinations();
    void FillTargets() override { FillDestinations(); }
    void SkipID1Click() {}
    plotwell::transfer::TransferSide side() override;

protected:
    void ShowInfo() override;
    void activateExtra() override;
    void commitExtra() override;
    void restoreExtra() override;
};

extern TSetDownload* SetDownload;
