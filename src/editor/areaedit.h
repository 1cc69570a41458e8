#pragma once

#include "dialogs/limitedtextedit.h"
#include "model/textarea.h"

#include <QPlainTextEdit>
#include <QStringList>

// The Title and Blurb text areas of the design surface. Texts go in and come
// out with CR LF line breaks, the form the design keeps them in. The area is
// also the line breaker for its texts: its own text layout tells where each
// display line starts.
class AreaEdit : public qm::LimitedTextEdit {
    Q_OBJECT
public:
    // The area's face: the design's font name, its size in points and its
    // style, as the design gives them.
    explicit AreaEdit(QWidget *parent = nullptr, const QString &fontName = QStringLiteral("Times Roman"),
                      int points = 12, qm::AreaStyle style = {});

    // Text set by the program; does not count as an edit by the user.
    void setText(const QString &text);
    QString text() const;

    // The display lines of the text the area shows now.
    QStringList displayLines();
    // The display lines `text` would have in this area, at its current width,
    // font size and style; the area's own text is put back afterwards.
    QStringList displayLinesOf(const QString &text);
    // The same, leaving `text` in the area (for a run of texts whose end
    // puts the area's text back once).
    QStringList layoutLines(const QString &text);

    // Text, caret and selection, to be put back after the area served as
    // line breaker.
    struct State {
        QString text;
        int anchor = 0;
        int position = 0;
    };
    State state() const;
    void restore(const State &state);

    // Font name, size in points and style, as the design gives them, all
    // at once, which lays the text out once.
    void setFace(const QString &fontName, int points, qm::AreaStyle style);

    // The first line on show without the focus, the caret's line with it.
    // An area too low for a whole line (the Title at its default 41 pixels)
    // would otherwise scroll by lines to one that is not the caret's.
    void showCaretLine();

signals:
    // The user changed the text by typing, pasting or cutting; `before` is
    // the text before this change (with CR LF line breaks).
    void userEdited(const QString &before);
    // The focus left the area.
    void focusLeft();
    // Escape: the user hands the keyboard back to the design surface.
    void escapePressed();

protected:
    bool event(QEvent *event) override;

private:
    // The visual line (over all paragraphs) the caret is on.
    int caretLine();
    // How many whole lines the area shows at once; at least one.
    int wholeLinesShown() const;
    void ensureLayoutWidth();
    // The text as the area holds it, line feeds between its paragraphs.
    QString areaText() const;
    bool m_programSet = false;
    // The text as it stood after the last change, the user's or the program's.
    QString m_settledText;
    bool m_placingLine = false;
};

// CR LF and the area's own line breaks.
inline QString toMemoText(const QString &crlfText) { return qm::toAreaText(crlfText); }
inline QString fromMemoText(const QString &memoText) { return qm::fromAreaText(memoText); }

using qm::fontPixels;
