#include "workspace/forms/wfmsetup.h"

TWaveSetup* WaveSetup = nullptr;

TWaveSetup::TWaveSetup(QWidget* parent) : Form("WaveSetup", parent) {}
