#pragma once
// The splash window at start-up, shown again as the about box.

#include "platform/form.h"

class QLabel;
class QPushButton;
class QTimer;
class QFrame;

class TIntroForm1 : public plotwell::platform::Form {
    Q_OBJECT
public:
    explicit TIntroForm1(QWidget* parent = nullptr);

    QFrame* Panel1 = nullptr; // white, holds the picture
    QLabel* Image1 = nullptr;
    QLabel* Label1 = nullptr; // product name and version
    QFrame* Panel2 = nullptr; // lower panel with a line of text
    QLabel* Panel2Text = nullptr;
    QPushButton* ExitButton = nullptr;
    QTimer* Timer1 = nullptr;

    void Timer1Timer();
    // Help > About: shows the form again, modeless, until a click.
    void ShowAbout();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
};

extern TIntroForm1* IntroForm1;
