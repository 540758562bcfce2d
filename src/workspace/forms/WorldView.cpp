#include "workspace/forms/WorldView.h"

TWorld* World = nullptr;

TWorld::TWorld(QWidget* parent) : Form("World", parent) {}
