#include "synthesis/forms/Pregress.h"

TExpPregress* ExpPregress = nullptr;

TExpPregress::TExpPregress(QWidget* parent) : Form("ExpPregress", parent) {}
