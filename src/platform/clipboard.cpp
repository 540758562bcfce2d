#include "platform/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include <algorithm>

namespace plotwell::platform {

std::string clipboardText(std::size_t maxChars) {
    const QString text = QGuiApplication::clipboard()->text();
    // Straight into the result: a long text is neither copied whole nor converted twice.
    std::string out(std::min(std::size_t(text.size()), maxChars), '\0');
    for (std::size_t i = 0; i < out.size(); ++i) {
        const char16_t c = text[qsizetype(i)].unicode();
        out[i] = c < 256 ? char(c) : '?';
    }
    return out;
}

void setClipboard(const std::string& text, const QByteArray& svg, const QImage& image) {
    auto* mime = new QMimeData;
    mime->setText(QString::fromLatin1(text.data(), qsizetype(text.size())));
    mime->setData(kSvgMimeType, svg);
    mime->setImageData(image);
    QGuiApplication::clipboard()->setMimeData(mime);
}

} // namespace plotwell::platform
