#include "platform/form.h"

#include "platform/ui.h"

#include <QKeyEvent>
#include <QShowEvent>

namespace plotwell::platform {

Form::Form(const char* instanceName, QWidget* parent) : QDialog(parent) {
    setObjectName(QString::fromLatin1(instanceName));
}

int Form::ShowModal() {
    return ui().execModal(*this);
}

void Form::reject() {
    CancelPath();
    done(cancelResult_);
}

void Form::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormActivate();
}

void Form::keyPressEvent(QKeyEvent* event) {
    if (swallowEscape_ && event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    if (helpContext_ != 0 && event->key() == Qt::Key_F1) {
        ui().showHelp(helpContext_);
        return;
    }
    QDialog::keyPressEvent(event);
}

void nameInput(QWidget* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    widget->setAccessibleName(QString::fromLatin1(name));
}

} // namespace plotwell::platform
