#pragma once
#include "platform/form.h"

#include <string>

class TMessageWnd : public plotwell::platform::Form {
    Q_OBJECT
public:
    explicit TMessageWnd(QWidget* parent = nullptr);
    // Keeps the status window above the frame.
    void SetStayOnTop();
    // Shows `text`; hides again after `interval` ms (0: stays until hidden).
    void ShowStatus(int interval, const std::string& text, bool withCancel);
};

extern TMessageWnd* MessageWnd;
