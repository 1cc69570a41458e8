#include "platform/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace qm {

void SystemClipboard::setText(const QString &text)
{
    if (QClipboard *clipboard = QGuiApplication::clipboard())
        clipboard->setText(text, QClipboard::Clipboard);
}

QString SystemClipboard::text() const
{
    if (QClipboard *clipboard = QGuiApplication::clipboard())
        return clipboard->text(QClipboard::Clipboard);
    return QString();
}

void SystemClipboard::setData(const QString &mimeType, const QByteArray &data, const QString &text)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return;
    auto *mime = new QMimeData;
    mime->setData(mimeType, data);
    mime->setText(text);
    clipboard->setMimeData(mime, QClipboard::Clipboard);
}

QByteArray SystemClipboard::data(const QString &mimeType) const
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    const QMimeData *mime = clipboard ? clipboard->mimeData(QClipboard::Clipboard) : nullptr;
    return mime && mime->hasFormat(mimeType) ? mime->data(mimeType) : QByteArray();
}

} // namespace qm
