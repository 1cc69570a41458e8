#include "dialogs/taskifsave.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

TAskIfSave::TAskIfSave(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setWindowTitle(QStringLiteral("Quillmap"));
    setModal(true);
    // Client size of a 281 x 120 window once the frame is drawn by the window manager.
    setFixedSize(273, 93);

    auto *icon = new QLabel(this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion).pixmap(32, 32));
    icon->setAlignment(Qt::AlignTop);

    auto *text = new QLabel(QStringLiteral("The applet has changed,\nDo You want to save changes?"), this);

    YesBtn = new QPushButton(QStringLiteral("Yes"), this);
    NoBtn = new QPushButton(QStringLiteral("No"), this);
    CancelBtn = new QPushButton(QStringLiteral("Cancel"), this);
    YesBtn->setDefault(true);
    connect(YesBtn, &QPushButton::clicked, this, [this] { done(6); });
    connect(NoBtn, &QPushButton::clicked, this, [this] { done(7); });
    connect(CancelBtn, &QPushButton::clicked, this, [this] { done(2); });

    auto *top = new QHBoxLayout;
    top->addWidget(icon);
    top->addWidget(text, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(YesBtn);
    buttons->addWidget(NoBtn);
    buttons->addWidget(CancelBtn);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 8, 10, 8);
    layout->addLayout(top);
    layout->addLayout(buttons);

    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - rect().center());
    }
}
