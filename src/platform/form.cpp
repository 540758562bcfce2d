#include "platform/form.h"

#include "platform/ui.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLayout>
#include <QShowEvent>

#include <algorithm>

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

int captionWidth(const QString& caption) {
    // Window managers set captions in a bold face at about the program's size, and put
    // an icon on the left and up to three buttons on the right.
    QFont font = QFontDatabase::systemFont(QFontDatabase::TitleFont);
    font.setBold(true);
    const QFontMetrics metrics(font);
    return metrics.horizontalAdvance(caption) + 6 * metrics.height();
}

void Form::fitCaption() {
    int need = captionWidth(windowTitle());
    // An explicit minimum replaces the layout's own, so it carries that too.
    if (const QLayout* l = layout())
        need = std::max(need, l->totalMinimumSize().width());
    if (minimumWidth() != need && maximumWidth() >= need)
        setMinimumWidth(need);
}

void Form::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::WindowTitleChange || event->type() == QEvent::FontChange)
        fitCaption();
}

bool Form::event(QEvent* event) {
    const bool done = QDialog::event(event);
    // The layout has just taken its new measure.
    if (event->type() == QEvent::LayoutRequest)
        fitCaption();
    return done;
}

void Form::showEvent(QShowEvent* event) {
    fitCaption();
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
