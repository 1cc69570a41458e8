#pragma once

#include <QApplication>

// The application object. A failure that a command does not handle itself
// ends that command where it happened; the program goes on, and nothing is
// shown to the user.
class QuillmapApplication : public QApplication {
    Q_OBJECT
public:
    QuillmapApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
};
