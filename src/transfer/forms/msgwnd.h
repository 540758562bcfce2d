#pragma once
#include "platform/form.h"

class TMessageWnd : public plotwell::platform::Form {
    Q_OBJECT
public:
    explicit TMessageWnd(QWidget* parent = nullptr);
    // Keeps the status window above the frame.
    void SetStayOnTop();
};

extern TMessageWnd* MessageWnd;
