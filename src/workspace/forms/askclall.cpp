#include "workspace/forms/askclall.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using plotwell::platform::named;
using plotwell::platform::nameInput;

TAskCloseAllDlg* AskCloseAllDlg = nullptr;

TAskCloseAllDlg::TAskCloseAllDlg(QWidget* parent) : Form("AskCloseAllDlg", parent) {
    setWindowTitle("Multiple waveform file close");
    auto* box = new QVBoxLayout(this);
    Label1 = named(new QLabel(this), "Label1");
    Label1->setTextFormat(Qt::PlainText);
    rbCloseThis = new QRadioButton("Close this waveform only", this);
    nameInput(rbCloseThis, "rbCloseThis");
    rbCloseAll = new QRadioButton("Close all waveforms for this file", this);
    nameInput(rbCloseAll, "rbCloseAll");
    rbCloseAll->setChecked(true);
    bnOK = named(new QPushButton("OK", this), "bnOK");
    bnOK->setDefault(true);
    box->addWidget(Label1);
    box->addWidget(rbCloseThis);
    box->addWidget(rbCloseAll);
    box->addWidget(bnOK, 0, Qt::AlignHCenter);
    connect(bnOK, &QPushButton::clicked, this, &TAskCloseAllDlg::bnOKClick);
    // The dialog has only OK: Escape and the close box answer the same.
    setCancelResult(plotwell::platform::mrOk);
    // One line of text over the choices: the height stays; the width follows the file's name
    // and the caption, which a width fixed here would cut.
    setFixedHeight(sizeHint().height());
}

void TAskCloseAllDlg::bnOKClick() {
    setModalResult(plotwell::platform::mrOk);
}
