#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <functional>

class QWidget;
class HelpWindow;

// Context help for a main window and the windows it owns. F1 shows the
// topic of the focused control (or of the nearest enclosing control that
// has a help context). Windows with a context-help button in their title bar
// show topics as pop-ups, which the button and Shift+F1 also offer; the
// others open the topic in the help window.
class HelpController : public QObject {
    Q_OBJECT
public:
    // `helpFile` tells where the help file is at the moment of asking.
    HelpController(QWidget *mainWindow, std::function<QString()> helpFile);
    ~HelpController() override;

    // The help window, created on first use.
    HelpWindow *helpWindow();

    void showContents(const QString &helpFile);

    // Help on a widget, as F1 asks for it; `globalPos` is where a pop-up goes.
    void helpOn(QWidget *widget, const QPoint &globalPos);

    // Whether a window shows its topics as pop-ups.
    static bool showsPopups(const QWidget *window);

signals:
    // A topic was shown: as a pop-up, or in the help window.
    void topicShown(int context, bool popup);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool isOurs(const QWidget *widget) const;
    void keepUsable();
    void showPopup(QWidget *widget, int context, const QPoint &globalPos);
    void showInWindow(int context);

    QWidget *m_mainWindow;
    std::function<QString()> m_helpFile;
    QPointer<HelpWindow> m_window;
};
