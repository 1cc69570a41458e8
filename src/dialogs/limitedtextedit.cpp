#include "dialogs/limitedtextedit.h"

#include "platform/prompts.h"

#include <QMimeData>
#include <QScopedValueRollback>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>

namespace qm {

namespace {

bool isBreak(QChar c)
{
    return c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QChar::ParagraphSeparator
           || c == QChar::LineSeparator;
}

// How many leading characters of `text` fit in `room` design characters,
// never splitting a surrogate pair.
qsizetype fitting(QStringView text, qsizetype room)
{
    qsizetype used = 0;
    qsizetype i = 0;
    for (; i < text.size(); ++i) {
        const qsizetype w = isBreak(text.at(i)) && text.at(i) != QLatin1Char('\r') ? 2 : 1;
        if (used + w > room)
            break;
        used += w;
    }
    if (i > 0 && i < text.size() && text.at(i).isLowSurrogate() && text.at(i - 1).isHighSurrogate())
        --i;
    return i;
}

} // namespace

LimitedTextEdit::LimitedTextEdit(QWidget *parent)
    : QPlainTextEdit(parent)
{
    connect(document(), &QTextDocument::contentsChange, this, [this](int position, int, int added) {
        m_changeStart = position;
        m_changeAdded = added;
    });
    // Connected before any user of the box, so they see the text once cut.
    connect(this, &QPlainTextEdit::textChanged, this, &LimitedTextEdit::cutLastChange);
}

void LimitedTextEdit::setMaxLength(qsizetype characters)
{
    m_max = characters;
}

qsizetype LimitedTextEdit::designLength(QStringView areaText)
{
    qsizetype n = areaText.size();
    for (QChar c : areaText) {
        if (isBreak(c) && c != QLatin1Char('\r'))
            ++n;
    }
    return n;
}

void LimitedTextEdit::insertFromMimeData(const QMimeData *source)
{
    if (m_max < 0 || !source || !source->hasText() || isReadOnly())
        return QPlainTextEdit::insertFromMimeData(source);
    QString text = source->text();
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const qsizetype kept = designLength(document()->toRawText()) - designLength(textCursor().selectedText());
    const qsizetype room = qMax<qsizetype>(0, m_max - kept);
    if (designLength(text) <= room)
        return QPlainTextEdit::insertFromMimeData(source);
    QMimeData cut;
    cut.setText(text.left(fitting(text, room)));
    {
        const QScopedValueRollback<bool> cutting(m_cutting, true);
        QPlainTextEdit::insertFromMimeData(&cut);
    }
    emit lengthCut(m_max);
}

void LimitedTextEdit::cutLastChange()
{
    if (m_max < 0 || m_cutting || signalsBlocked())
        return;
    QTextDocument *doc = document();
    const QString all = doc->toRawText();
    const qsizetype excess = designLength(all) - m_max;
    if (excess <= 0)
        return;
    // Keep what stood before the change and as much of the change as fits;
    // a change that cannot be found (the program set a long text) is cut
    // at the end.
    int start = m_changeStart;
    int added = m_changeAdded;
    if (start < 0 || start > all.size())
        start = 0;
    added = qMin(added, int(all.size()) - start);
    if (added <= 0) {
        start = 0;
        added = int(all.size());
    }
    const QStringView change = QStringView(all).mid(start, added);
    const qsizetype room = designLength(change) - excess;
    const int keep = int(fitting(change, qMax<qsizetype>(0, room)));
    const QScopedValueRollback<bool> cutting(m_cutting, true);
    QTextCursor cursor(doc);
    cursor.setPosition(start + keep);
    cursor.setPosition(start + added, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    emit lengthCut(m_max);
}

void limitText(LimitedTextEdit *box, qsizetype limit, Prompts *prompts, const QString &what)
{
    box->setMaxLength(limit);
    if (!prompts)
        return;
    // The box is told after the paste or key press that was cut, not in the
    // middle of it; a run of cuts before then is one message.
    QObject::connect(box, &LimitedTextEdit::lengthCut, box, [box, prompts, what](qsizetype max) {
        if (box->property("qmCutPending").toBool())
            return;
        box->setProperty("qmCutPending", true);
        QTimer::singleShot(0, box, [box, prompts, what, max] {
            box->setProperty("qmCutPending", false);
            prompts->information(QStringLiteral("A %1 text may have up to %2 characters: the text was cut there.")
                                     .arg(what)
                                     .arg(max));
        });
    });
}

} // namespace qm
