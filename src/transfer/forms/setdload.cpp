#include "transfer/forms/setdload.h"

TSetDownload* SetDownload = nullptr;

TSetDownload::TSetDownload(QWidget* parent) : Form("SetDownload", parent) {}
