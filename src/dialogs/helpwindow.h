#pragma once

#include <QPointer>
#include <QWidget>

class QTextBrowser;
class QToolButton;

// The help window: the program's help file with its contents, its topics
// and the links between them, and the usual Contents, Back and Forward.
// It does not block the program; it is created once and reused.
class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget *parent = nullptr);

    // Shows the contents of the help file, or the topic of an anchor
    // ("context-5", "compile"). A help file that cannot be read is
    // explained in the window itself.
    void showContents(const QString &helpFile);
    void showAnchor(const QString &helpFile, const QString &anchor);

    // The file shown; empty while it could not be read.
    QString helpFile() const { return m_file; }

    // The window it first opens beside, where the screen has room.
    void setOpensBeside(QWidget *window) { m_beside = window; }

    // Where a window of `size` goes beside a window whose frame is `frame`
    // on a screen whose free area is `screen`: on the side with room for it,
    // else narrower on the side with more room, else at the screen's edge.
    static QRect placeBeside(const QRect &frame, const QSize &size, const QRect &screen);

    QTextBrowser *Browser = nullptr;
    QToolButton *ContentsButton = nullptr;
    QToolButton *BackButton = nullptr;
    QToolButton *ForwardButton = nullptr;

private:
    bool open(const QString &helpFile);
    void present();

    QString m_file;
    QPointer<QWidget> m_beside;
    bool m_placed = false;
};
