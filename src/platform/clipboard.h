#pragma once

#include <QByteArray>
#include <QString>

namespace qm {

// The clipboard: plain text, and data of one private type together with
// the text that stands for it in other programs.
class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual void setText(const QString &text) = 0;
    virtual QString text() const = 0;
    virtual void setData(const QString &mimeType, const QByteArray &data, const QString &text) = 0;
    // Empty when the clipboard holds nothing of that type.
    virtual QByteArray data(const QString &mimeType) const = 0;
};

// The system clipboard of the running application.
class SystemClipboard : public Clipboard {
public:
    void setText(const QString &text) override;
    QString text() const override;
    void setData(const QString &mimeType, const QByteArray &data, const QString &text) override;
    QByteArray data(const QString &mimeType) const override;
};

} // namespace qm
