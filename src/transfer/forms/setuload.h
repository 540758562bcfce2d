#pragma once
// "Upload parameters": which instrument, interface and source an upload reads from.

#include "transfer/forms/settransfer.h"

class TSetUpload : public TSetTransfer {
    Q_OBJECT
public:
    explicit TSetUpload(QWidget* parent = nullptr);

    QComboBox* Source = nullptr;
    QCheckBox* SkipID = nullptr;

    void FillSources();
    void FillTargets() override { FillSources(); }
    plotwell::transfer::TransferSide side() override;

protected:
    void ShowInfo() override;
};

extern TSetUpload* SetUpload;
