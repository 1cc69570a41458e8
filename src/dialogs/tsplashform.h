#pragma once

#include <QWidget>
#include <functional>

class QLabel;
class QTimer;

namespace qm {
class SoundPlayer;
}

// The start-up splash: a borderless window with the splash picture, on
// which a fuse is lit (with a bang, unless the settings say "Splash (No
// Sound)") and goes off. Its timer ticks every 350 ms from the window's
// creation: six quiet ticks, then the first picture, then the second, and
// the timer stops. The main window shows and destroys it; with "No Splash"
// the first tick destroys it unseen.
class TSplashForm : public QWidget {
    Q_OBJECT
public:
    // `splashState` gives the splash mode of the settings at each tick.
    TSplashForm(std::function<QString()> splashState, qm::SoundPlayer *sound, QWidget *parent = nullptr);

    void FormCreate();
    void Timer1Timer();

    QLabel *MainImage = nullptr;
    QLabel *FuseImage1 = nullptr;
    QLabel *FuseImage2 = nullptr;
    QTimer *Timer1 = nullptr;
    // Counts the quiet ticks: starts at 1, the pictures come once it is 7.
    int TickCount = 1;

    // The sound the first picture comes with, relative to the program folder.
    static constexpr char SoundFile[] = "bomb.wav";

protected:
    void showEvent(QShowEvent *event) override;

private:
    void paintPictures();

    std::function<QString()> m_splashState;
    qm::SoundPlayer *m_sound;
};
