#pragma once

// A picture control that shows an animated GIF or a still picture, stretched
// or proportionally scaled. Without a picture it can draw a small spinner,
// which is what the busy indicators of the pages show.

#include <QPixmap>
#include <QWidget>

#include <memory>

class QBuffer;
class QMovie;

namespace qv {

class AnimatedPicture : public QWidget
{
    Q_OBJECT
public:
    explicit AnimatedPicture(QWidget *parent = nullptr);
    ~AnimatedPicture() override;

    // Takes the bytes of a GIF (or any picture Qt reads); false when unreadable.
    bool loadFromData(const QByteArray &bytes);
    bool loadFromFile(const QString &fileName);
    void setPixmap(const QPixmap &pixmap);
    void clearPicture();

    bool hasPicture() const;
    bool hasMovie() const { return m_movie != nullptr; }
    QSize pictureSize() const; // natural size of the picture, empty when none

    // Stretch fills the control; proportional keeps the aspect ratio inside it.
    void setStretch(bool on);
    bool stretch() const { return m_stretch; }
    void setProportional(bool on);
    bool proportional() const { return m_proportional; }
    void setCenter(bool on);

    // Runs the movie or the spinner; a still picture ignores it.
    void setAnimate(bool on);
    bool animate() const { return m_animate; }

    // Whether the spinner is drawn when there is no picture.
    void setSpinnerWhenEmpty(bool on);

    QSize sizeHint() const override;

signals:
    void pictureChanged();

protected:
    void paintEvent(QPaintEvent *event) override;
    void timerEvent(QTimerEvent *event) override;

private:
    QRectF targetRect(const QSizeF &natural) const;
    void paintSpinner(QPainter &p);
    void updateTimer();

    std::unique_ptr<QBuffer> m_movieData; // the movie reads from it, so it outlives it
    std::unique_ptr<QMovie> m_movie;
    QPixmap m_pixmap;
    bool m_stretch = false;
    bool m_proportional = true;
    bool m_center = true;
    bool m_animate = false;
    bool m_spinner = true;
    int m_timer = 0;
    int m_step = 0;
};

} // namespace qv
