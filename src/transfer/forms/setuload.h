#pragma once
#include "platform/form.h"

class TSetUpload : public plotwell::platform::Form {
    Q_OBJECT
public:
    explicit TSetUpload(QWidget* parent = nullptr);
};

extern TSetUpload* SetUpload;
