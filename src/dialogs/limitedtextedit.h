#pragma once

#include <QPlainTextEdit>

namespace qm {

class Prompts;

// A text box that never holds more than a given number of characters,
// counted as the design keeps its texts (a line break is CR LF, two
// characters), so that whatever it holds a project file can hold and Open
// can read back. A paste or drop that would go past the limit is cut before
// it goes in (a huge paste is never laid out); typing, input methods and
// anything else that puts text in past it are cut right after.
class LimitedTextEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit LimitedTextEdit(QWidget *parent = nullptr);

    void setMaxLength(qsizetype characters);
    qsizetype maxLength() const { return m_max; }

    // The length of an area text (line feeds, or Qt's paragraph and line
    // separators, between its lines) as the design counts it.
    static qsizetype designLength(QStringView areaText);

signals:
    // The user's text was cut at the limit.
    void lengthCut(qsizetype limit);

protected:
    void insertFromMimeData(const QMimeData *source) override;

private:
    void cutLastChange();

    qsizetype m_max = -1;
    bool m_cutting = false;
    int m_changeStart = 0;
    int m_changeAdded = 0;
};

// Makes `box` hold at most `limit` characters and tells the user through
// `prompts`, once the edit that was cut is done, that a `what` ("Title",
// "Blurb") text may have no more.
void limitText(LimitedTextEdit *box, qsizetype limit, Prompts *prompts, const QString &what);

} // namespace qm
