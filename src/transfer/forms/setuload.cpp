#include "transfer/forms/setuload.h"

TSetUpload* SetUpload = nullptr;

TSetUpload::TSetUpload(QWidget* parent) : Form("SetUpload", parent) {}
