// The yardstick for the program's start-up: a bare Qt window of the main
// window's size with a scroll area and a text edit, and nothing else.

#include <QApplication>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QWidget>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(450, 454);
    auto *area = new QScrollArea(&window);
    area->setGeometry(0, 56, 450, 321);
    auto *canvas = new QWidget;
    canvas->resize(450, 321);
    area->setWidget(canvas);
    auto *edit = new QPlainTextEdit(canvas);
    edit->setGeometry(46, 8, 372, 41);
    window.show();
    return app.exec();
}
