#include "workspace/forms/wfmchild.h"

#include "workspace/forms/Plotdesk.h"

#include <QPainter>

void TWFMform::paintEvent(QPaintEvent*) { FormPaint(); }

void TWFMform::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    FormResize();
}

void TWFMform::FormPaint() {
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
}

void TWFMform::FormResize() { update(); }

void TWFMform::FormActivate() {}
void TWFMform::FormDeactivate() {}
void TWFMform::PublishStatus() {}

void TWFMform::Selectall1Click() {
    const int n = PointCount();
    if (n < 2)
        return;
    SelectionStart = 0;
    SelectionEnd = n - 1;
    PublishStatus();
    update();
}
