#pragma once

// Public surface of the image view control that the rest of the program relies
// on. The implementation (and any private members) is free to change.

#include "imageview/decoder.h"
#include "imageview/pictureloader.h"

#include <QFrame>
#include <QImage>
#include <QPixmap>
#include <memory>

namespace qm {
class Prompts;
class PictureStore;
} // namespace qm

class TPMultiImage : public QFrame {
    Q_OBJECT
public:
    enum TImageReadRes { lColorVga, lMonoChrome, lColor16, lColor256, lColorTrue, lAutoMatic };
    enum TBorderStyle { bsNone, bsSingle };

    TPMultiImage(QWidget *owner, const qm::ImageViewContext &context);
    ~TPMultiImage() override;

    // A context for the program: the ImageMagick decoder, the given prompts
    // and a fresh picture store. All views of the program should share one.
    static qm::ImageViewContext standardContext(qm::Prompts *prompts);

    // Writing loads the file; reading loads it again (unless unchanged) and
    // returns the reported name.
    QString ImageName();
    void setImageName(const QString &name);

    bool Stretch() const;
    void setStretch(bool on);
    bool StretchRatio() const;
    void setStretchRatio(bool on);
    bool Center() const;
    void setCenter(bool on);
    bool AutoSize() const;
    void setAutoSize(bool on);
    TBorderStyle BorderStyle() const;
    void setBorderStyle(TBorderStyle style);
    QColor Color() const;
    void setColor(const QColor &color);
    // What a picture's transparent pixels show where the picture lies: the
    // fill colour (Color) when invalid, as in the dialogs' previews; on the
    // design surface, the design's background, as a browser shows it.
    void setPictureBackdrop(const QColor &color);
    bool ImageDither() const;
    void setImageDither(bool on);
    TImageReadRes ImageReadRes() const;
    void setImageReadRes(TImageReadRes res);
    // Draw decoded pictures with their own palette (true); false leaves all
    // drawing to the platform's rule, as for icons and metafiles.
    bool ImageLibPalette() const;
    void setImageLibPalette(bool on);

    // The colour depth ImageReadRes asks the decoder for (0, 1, 4, 8 or 24).
    int requestedDepth() const;

    bool hasPicture() const;
    const QImage &Picture() const;
    const qm::PictureInfo &pictureInfo() const;
    // Where the picture is drawn, in client coordinates (empty without a picture).
    QRect pictureRect() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void load();
    void applyAutoSize();
    bool drawnByPlatform() const;

    qm::PictureLoader m_loader;
    QString m_name;
    bool m_stretch = false;
    bool m_stretchRatio = false;
    bool m_center = false;
    bool m_autoSize = false;
    bool m_libPalette = true;
    bool m_dither = true;
    TBorderStyle m_border = bsNone;
    TImageReadRes m_readRes = lAutoMatic;
    QColor m_color;
    QColor m_backdrop;

    // The picture as last drawn, so repaints do not scale it again.
    struct DrawCache {
        qint64 imageKey = 0;
        QSize size;
        bool smooth = false;
        QPixmap pixmap;
    };
    mutable DrawCache m_drawCache;
};
