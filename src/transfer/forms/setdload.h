#pragma once
#include "platform/form.h"

class TSetDownload : public plotwell::platform::Form {
    Q_OBJECT
public:
    explicit TSetDownload(QWidget* parent = nullptr);
};

extern TSetDownload* SetDownload;
