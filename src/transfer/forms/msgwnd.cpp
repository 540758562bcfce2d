#include "transfer/forms/msgwnd.h"

TMessageWnd* MessageWnd = nullptr;

TMessageWnd::TMessageWnd(QWidget* parent) : Form("MessageWnd", parent) {}

void TMessageWnd::SetStayOnTop() { setWindowFlag(Qt::WindowStaysOnTopHint, true); }
