#pragma once
// What the download and upload set-up dialogs share: the instrument (Make, Model), the
// interface (Type) with its address, drive or TCP port, and the list of places on the
// instrument (Destination or Source), rebuilt from the instrument tables.
//
// The lists react to the user only (QComboBox::activated), as the handlers expect: rows
// that the program sets fire no change handler.

#include "platform/form.h"
#include "transfer/core/instrument_models.h"
#include "transfer/core/transfer_settings.h"

#include <QString>

#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;

class TSetTransfer : public plotwell::platform::Form {
    Q_OBJECT
public:
    QComboBox* Make = nullptr;
    QComboBox* Model = nullptr;
    QComboBox* Type = nullptr;
    QLabel* TargetLabel = nullptr; // "Destination" / "Source"
    QComboBox* Target = nullptr;   // Destination / Source
    QLabel* AddressLabel = nullptr;
    QLineEdit* Address = nullptr;
    QLabel* DriveLabel = nullptr; // "       At Drive"
    QComboBox* DriveLetter = nullptr;
    QCheckBox* Skip = nullptr; // SkipID1 / SkipID
    QLabel* TcpLabel = nullptr;
    QLineEdit* Tcp_Port = nullptr;
    QPushButton* bnOK = nullptr;
    QPushButton* bnCancel = nullptr;

    // The rows of the last activation; -1 after a list was rebuilt (and before the first).
    int RememberedMake = -1;
    int RememberedModel = -1;

    // `presetFlowControl` is false only while start-up pushes the stored rows in: the
    // stored flow control is the user's and stays.
    void MakeChange(bool presetFlowControl = true);
    void ModelChange();
    void TypeChange();
    // Rebuilds the Destination (Source) list from the current Make, Model and Type rows.
    virtual void FillTargets() = 0;

    // The record side this dialog edits.
    virtual plotwell::transfer::TransferSide side() = 0;
    // The Type text that makes Address the IP address.
    static constexpr const char* kLanText = "LAN";
    bool lanChosen() const;

    // True when the Destination (Source) takes typed text.
    bool targetIsFreeText() const;
    // Selects `row` of a list; a row outside it leaves none selected.
    static void selectRow(QComboBox* combo, int row);

    // The controls that the transfers read but the record does not hold.
    struct Controls {
        std::vector<bool> checked; // Skip, then the download's Interpolate
        QString address;
        QString tcpPort;
        int driveRow = -1;
        QString driveText;
    };
    Controls SaveControls() const;
    void RestoreControls(const Controls& c);

    // The rows and texts as they are shown, taken into the record (OK).
    void Commit();
    // Puts the stored rows back: Make, Model (with the stored make's list), Type, the
    // Destination (Source) list with its stored row or typed text, and Stretch.
    void RestoreStoredRows();

protected:
    TSetTransfer(const char* instanceName, const char* caption, const char* targetName,
                 const char* targetCaption, const char* skipName, QWidget* parent);
    void FormActivate() override;
    // Refreshes the frame's status line of this direction.
    virtual void ShowInfo() = 0;
    void setTargetStyle(plotwell::transfer::ComboStyle style);
    void fillTargetRows(plotwell::transfer::ComboStyle style, const std::vector<std::string>& rows);
    // Direction-specific rows and fields (the download's Stretch).
    virtual void activateExtra() {}
    virtual void commitExtra() {}
    virtual void restoreExtra() {}

    QGridLayout* grid_ = nullptr;
    std::vector<QCheckBox*> checks_;

private:
    void fillModels(int makeIndex);
};
