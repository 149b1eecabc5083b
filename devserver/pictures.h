#pragma once

// Pictures the development server hands out, drawn on demand with QPainter.
// Texts are drawn only when a QGuiApplication exists (fonts need one); the
// server's main makes one on the offscreen platform.

#include <QByteArray>
#include <QImage>
#include <QString>

#include <vector>

namespace qv {

struct DevStockPictureInfo
{
    int stokno = 0;
    QString marka;
    QString anagrup;
    QString adi;
    QString ureticiKodu;
};

// A product-like JPEG: a shape and colour from the group, the brand's name.
QByteArray renderStockPicture(const DevStockPictureInfo &info);

// An opening screen / announcement picture (JPEG, 600 x 400).
QByteArray renderOpeningScreen(int index, const QString &title, const QString &subtitle);

// Banners: the header (animated GIF 409 x 100), the upper strip (GIF) and
// the lower scrolling banner (BMP).
QByteArray renderHeaderBannerGif();
QByteArray renderStripBannerGif();
QByteArray renderLowerBannerBmp();

// GIF89a writer: every frame quantised to its own 256-colour table; more
// than one frame loops forever. delayCs is the frame time in 1/100 s.
QByteArray encodeGif(const std::vector<QImage> &frames, int delayCs);

} // namespace qv
