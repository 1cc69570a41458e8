#pragma once

#include <QWidget>

class QTextBrowser;
class QToolButton;

// The help window: the program's help file with its contents, its topics
// and the links between them, and the usual Contents, Back and Forward.
// It does not block the program; it is created once and reused.
class THelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit THelpWindow(QWidget *parent = nullptr);

    // Shows the contents of the help file, or the topic of an anchor
    // ("context-5", "compile"). A help file that cannot be read is
    // explained in the window itself.
    void showContents(const QString &helpFile);
    void showAnchor(const QString &helpFile, const QString &anchor);

    // The file shown; empty while it could not be read.
    QString helpFile() const { return m_file; }

    QTextBrowser *Browser = nullptr;
    QToolButton *ContentsButton = nullptr;
    QToolButton *BackButton = nullptr;
    QToolButton *ForwardButton = nullptr;

private:
    bool open(const QString &helpFile);
    void present();

    QString m_file;
};
