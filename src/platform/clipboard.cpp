#include "platform/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

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

} // namespace qm
