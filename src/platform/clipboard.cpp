#include "platform/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace plotwell::platform {

std::string clipboardText(std::size_t maxChars) {
    const QString text = QGuiApplication::clipboard()->text();
    const QByteArray bytes = text.left(qsizetype(maxChars)).toLatin1();
    return std::string(bytes.constData(), std::size_t(bytes.size()));
}

void setClipboard(const std::string& text, const QByteArray& svg, const QImage& image) {
    auto* mime = new QMimeData;
    mime->setText(QString::fromLatin1(text.data(), qsizetype(text.size())));
    mime->setData(kSvgMimeType, svg);
    mime->setImageData(image);
    QGuiApplication::clipboard()->setMimeData(mime);
}

} // namespace plotwell::platform
