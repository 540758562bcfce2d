#pragma once
// The transfer status window: a small modeless window that says what a transfer or a
// long file operation is doing, optionally with a Cancel button that the work polls.
//
//   MessageWnd->ShowStatus(0, "Downloading...", true);   // stays until hidden
//   ... if (MessageWnd->Cancelled) stop ...
//   MessageWnd->hide();
//   MessageWnd->ShowStatus(1000, "Saving...", false);    // hides itself after a second

#include "platform/form.h"

#include <string>

class QLabel;
class QPushButton;
class QTimer;

class TMessageWnd : public plotwell::platform::Form {
    Q_OBJECT
public:
    explicit TMessageWnd(QWidget* parent = nullptr);

    QLabel* Image1 = nullptr;
    QLabel* Panel1 = nullptr;
    QPushButton* bnCancel = nullptr;
    QTimer* Timer1 = nullptr;

    // Set by Cancel, cleared by each ShowStatus.
    bool Cancelled = false;

    // Shows `text` at once (painted before the caller goes on with blocking work). An
    // interval above 0 hides the window that many ms later; 0 leaves it to the caller.
    void ShowStatus(int intervalMs, const std::string& text, bool withCancel);
    void Timer1Timer();
    void bnCancelClick();
    // Keeps the status window above the frame.
    void SetStayOnTop();

    // Escape is the Cancel button; the window never closes itself on it.
    void reject() override;

    static constexpr int kHeightWithCancel = 95;
    static constexpr int kHeightPlain = 69;
};

extern TMessageWnd* MessageWnd;
