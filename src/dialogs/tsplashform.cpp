#include "dialogs/tsplashform.h"

#include "dialogs/splashartwork.h"
#include "platform/sound.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

namespace {

QLabel *makePicture(QWidget *parent, const QString &name, const QRect &bounds)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setGeometry(bounds);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

} // namespace

TSplashForm::TSplashForm(std::function<QString()> splashState, qm::SoundPlayer *sound, QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , m_splashState(std::move(splashState))
    , m_sound(sound)
{
    using namespace qm::splashart;
    setObjectName(QStringLiteral("SplashForm"));
    setFixedSize(330, 353);
    // The margin around the picture: the night sky's own colour.
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0x0B, 0x10, 0x26));
    setPalette(pal);

    MainImage = makePicture(this, QStringLiteral("MainImage"), QRect(10, 10, 315, 339));
    const QRect fuse(MainImage->x() + FuseLeft, MainImage->y() + FuseTop, FuseWidth, FuseHeight);
    FuseImage1 = makePicture(this, QStringLiteral("FuseImage1"), fuse);
    FuseImage2 = makePicture(this, QStringLiteral("FuseImage2"), fuse);
    // Painting the pictures takes a noticeable part of the start-up: with
    // "No Splash" the window goes unseen, and they are painted only should
    // it be shown after all.
    if (m_splashState() != QLatin1String("No Splash"))
        paintPictures();
    for (QLabel *picture : {FuseImage1, FuseImage2}) {
        picture->setAttribute(Qt::WA_TransparentForMouseEvents);
        picture->hide();
    }
    FuseImage2->raise();

    if (QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());

    Timer1 = new QTimer(this);
    // A coarse timer may come 5 % early, which the pictures' moments would show.
    Timer1->setTimerType(Qt::PreciseTimer);
    Timer1->setInterval(350);
    connect(Timer1, &QTimer::timeout, this, &TSplashForm::Timer1Timer);
    FormCreate();
    Timer1->start();
}

void TSplashForm::paintPictures()
{
    using namespace qm::splashart;
    if (!MainImage->pixmap().isNull())
        return;
    MainImage->setPixmap(QPixmap::fromImage(splashPicture()));
    FuseImage1->setPixmap(QPixmap::fromImage(fusePicture()));
    FuseImage2->setPixmap(QPixmap::fromImage(bangPicture()));
}

void TSplashForm::showEvent(QShowEvent *event)
{
    paintPictures();
    QWidget::showEvent(event);
}

void TSplashForm::FormCreate()
{
    TickCount = 1;
}

void TSplashForm::Timer1Timer()
{
    const QString state = m_splashState();
    if (state == QLatin1String("No Splash")) {
        Timer1->stop();
        deleteLater();
        return;
    }
    if (TickCount < 7) {
        ++TickCount;
        return;
    }
    if (FuseImage1->isHidden()) {
        FuseImage1->show();
        // Any mode but the two named ones has the sound.
        if (state != QLatin1String("Splash (No Sound)") && m_sound)
            m_sound->playAsync(QLatin1String(SoundFile));
        return;
    }
    FuseImage2->show();
    Timer1->setInterval(1);
    Timer1->stop();
}
