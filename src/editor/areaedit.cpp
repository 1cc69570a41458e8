#include "editor/areaedit.h"

#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QResizeEvent>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>
#include <QtMath>
#include <utility>

AreaEdit::AreaEdit(QWidget *parent, const QString &fontName, int points, qm::AreaStyle style)
    : qm::LimitedTextEdit(parent)
{
    // A sunken two-pixel edge, drawn in the window palette so it shows on any surface colour.
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(qm::area::FrameWidth);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setTabChangesFocus(true);
    document()->setDocumentMargin(qm::area::DocumentMargin);
    setFont(qm::areaFont(fontName, points, style));
    // Undo and redo are the design's, also for typing: the area keeps no
    // history of its own.
    setUndoRedoEnabled(false);
    // A new line may reach the scroll range only after the key that made it.
    connect(verticalScrollBar(), &QScrollBar::rangeChanged, this, [this] { showCaretLine(); });
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        const QString before = std::exchange(m_settledText, areaText());
        if (!m_programSet && before != m_settledText)
            emit userEdited(qm::fromAreaText(before));
    });
}

void AreaEdit::setText(const QString &text)
{
    const QString memoText = toMemoText(text);
    if (memoText == areaText())
        return;
    m_programSet = true;
    setPlainText(memoText);
    m_programSet = false;
    m_settledText = memoText;
    showCaretLine();
}

QString AreaEdit::areaText() const
{
    // The raw text: toPlainText() would turn a non-breaking space into a
    // plain one, so a text given back would no longer be the text shown.
    QString t = document()->toRawText();
    t.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return t;
}

QString AreaEdit::text() const
{
    // A line break typed with Shift+Enter is a line break like any other.
    QString t = areaText();
    t.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return fromMemoText(t);
}

void AreaEdit::setFace(const QString &fontName, int points, qm::AreaStyle style)
{
    setFont(qm::areaFont(fontName, points, style));
    showCaretLine();
}

void AreaEdit::ensureLayoutWidth()
{
    // A hidden area does not get resize events, so its viewport and text
    // layout may still have an old width. Deliver the pending resizes now so
    // the layout wraps at the width the area has: the area's own resize
    // places the viewport, and the viewport's resize (with an unknown old
    // size) lays the text out again.
    if (viewport()->size() != contentsRect().size() || testAttribute(Qt::WA_PendingResizeEvent)
        || viewport()->testAttribute(Qt::WA_PendingResizeEvent)) {
        QResizeEvent areaEvent(size(), QSize(-1, -1));
        QCoreApplication::sendEvent(this, &areaEvent);
        QResizeEvent viewportEvent(viewport()->size(), QSize(-1, -1));
        QCoreApplication::sendEvent(viewport(), &viewportEvent);
    }
}

QStringList AreaEdit::displayLines()
{
    ensureLayoutWidth();
    QTextDocument *doc = document();
    QAbstractTextDocumentLayout *layout = doc->documentLayout();
    QStringList lines;
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        layout->blockBoundingRect(block); // lays the block out if it is not yet
        const QTextLayout *tl = block.layout();
        const QString text = block.text();
        if (!tl || tl->lineCount() == 0) {
            lines << text;
            continue;
        }
        for (int i = 0; i < tl->lineCount(); ++i) {
            const QTextLine line = tl->lineAt(i);
            lines << text.mid(line.textStart(), line.textLength());
        }
    }
    if (!lines.isEmpty() && lines.constLast().isEmpty())
        lines.removeLast();
    return lines;
}

QStringList AreaEdit::layoutLines(const QString &text)
{
    const bool blocked = blockSignals(true);
    setText(text);
    blockSignals(blocked);
    return displayLines();
}

QStringList AreaEdit::displayLinesOf(const QString &text)
{
    if (toMemoText(text) == areaText())
        return displayLines();
    const State kept = state();
    const QStringList lines = layoutLines(text);
    restore(kept);
    return lines;
}

AreaEdit::State AreaEdit::state() const
{
    const QTextCursor cursor = textCursor();
    return State{areaText(), cursor.anchor(), cursor.position()};
}

void AreaEdit::restore(const State &state)
{
    if (state.text != areaText()) {
        const bool blocked = blockSignals(true);
        m_programSet = true;
        setPlainText(state.text);
        m_programSet = false;
        blockSignals(blocked);
    }
    m_settledText = state.text;
    const int end = int(state.text.size());
    QTextCursor cursor(document());
    cursor.setPosition(qBound(0, state.anchor, end));
    cursor.setPosition(qBound(0, state.position, end), QTextCursor::KeepAnchor);
    setTextCursor(cursor);
    showCaretLine();
}

bool AreaEdit::event(QEvent *event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        // The window's Undo and Redo take these keys, not the text edit.
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo)
            || key->keyCombination() == QKeyCombination(Qt::ControlModifier, Qt::Key_Y)
            || key->keyCombination() == QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_Z)) {
            event->ignore();
            return true;
        }
    }
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->keyCombination()
                                                 == QKeyCombination(Qt::NoModifier, Qt::Key_Escape)) {
        emit escapePressed();
        event->accept();
        return true;
    }
    const bool handled = qm::LimitedTextEdit::event(event);
    switch (event->type()) {
    case QEvent::FocusOut:
        showCaretLine();
        emit focusLeft();
        break;
    // Whatever the text edit scrolled to on its own, the line shown is
    // decided here, after it.
    case QEvent::KeyPress:
    case QEvent::FocusIn:
    case QEvent::InputMethod:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseMove:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::Wheel:
        showCaretLine();
        break;
    default:
        break;
    }
    return handled;
}

int AreaEdit::caretLine()
{
    ensureLayoutWidth();
    const QTextCursor cursor = textCursor();
    QAbstractTextDocumentLayout *layout = document()->documentLayout();
    int line = 0;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        layout->blockBoundingRect(block); // lays the block out if it is not yet
        const QTextLayout *tl = block.layout();
        const int lines = tl ? qMax(1, tl->lineCount()) : 1;
        if (block.contains(cursor.position()) || !block.next().isValid()) {
            if (tl && tl->lineCount() > 0) {
                const QTextLine here = tl->lineForTextPosition(cursor.position() - block.position());
                if (here.isValid())
                    return line + here.lineNumber();
            }
            return line;
        }
        line += lines;
    }
    return line;
}

int AreaEdit::wholeLinesShown() const
{
    const qreal lineHeight = QFontMetricsF(font()).lineSpacing();
    const qreal room = viewport()->height() - 2 * document()->documentMargin();
    return lineHeight > 0 ? qMax(1, int(room / lineHeight)) : 1;
}

void AreaEdit::showCaretLine()
{
    // Laying the text out may deliver a resize, which comes back here.
    if (m_placingLine)
        return;
    const QScopedValueRollback<bool> placing(m_placingLine, true);
    QScrollBar *bar = verticalScrollBar();
    int top = 0;
    if (hasFocus()) {
        const int caret = caretLine();
        top = bar->value();
        if (caret < top)
            top = caret;
        else if (caret >= top + wholeLinesShown())
            top = caret - wholeLinesShown() + 1;
    }
    if (bar->value() != top)
        bar->setValue(top);
}
