#include "transfer/forms/setcoms.h"

TSetRS232* SetRS232 = nullptr;

TSetRS232::TSetRS232(QWidget* parent) : Form("SetRS232", parent) {}
