#pragma once

#include <QString>

namespace qm {

// The clipboard, as plain text.
class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual void setText(const QString &text) = 0;
    virtual QString text() const = 0;
};

// The system clipboard of the running application.
class SystemClipboard : public Clipboard {
public:
    void setText(const QString &text) override;
    QString text() const override;
};

} // namespace qm
