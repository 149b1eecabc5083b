#include "animatedpicture.h"

#include <QBuffer>
#include <QFile>
#include <QMovie>
#include <QPainter>
#include <QPainterPath>
#include <QTimerEvent>

#include <cmath>
#include <numbers>

namespace qv {

namespace {
constexpr int SpinnerDots = 8;
constexpr int SpinnerIntervalMs = 90;
} // namespace

AnimatedPicture::AnimatedPicture(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TranslucentBackground, false);
}

AnimatedPicture::~AnimatedPicture() = default;

bool AnimatedPicture::loadFromData(const QByteArray &bytes)
{
    clearPicture();
    auto buffer = std::make_unique<QBuffer>();
    buffer->setData(bytes);
    buffer->open(QIODevice::ReadOnly);
    auto movie = std::make_unique<QMovie>(buffer.get());
    if (movie->isValid() && movie->frameCount() > 1) {
        m_movieData = std::move(buffer);
        m_movie = std::move(movie);
        connect(m_movie.get(), &QMovie::frameChanged, this, [this] { update(); });
        m_movie->jumpToFrame(0);
        if (m_animate)
            m_movie->start();
    } else {
        // One frame: keep it as a still picture, no movie machinery.
        QPixmap still;
        if (!still.loadFromData(bytes))
            return false;
        m_pixmap = still;
    }
    updateTimer();
    updateGeometry();
    update();
    emit pictureChanged();
    return true;
}

bool AnimatedPicture::loadFromFile(const QString &fileName)
{
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    return loadFromData(f.readAll());
}

void AnimatedPicture::setPixmap(const QPixmap &pixmap)
{
    clearPicture();
    m_pixmap = pixmap;
    updateTimer();
    updateGeometry();
    update();
    emit pictureChanged();
}

void AnimatedPicture::clearPicture()
{
    if (m_movie) {
        m_movie->stop();
        m_movie.reset();
    }
    m_movieData.reset();
    m_pixmap = {};
    updateTimer();
    update();
}

bool AnimatedPicture::hasPicture() const
{
    return m_movie || !m_pixmap.isNull();
}

QSize AnimatedPicture::pictureSize() const
{
    if (m_movie)
        return m_movie->currentPixmap().size();
    return m_pixmap.size();
}

void AnimatedPicture::setStretch(bool on)
{
    m_stretch = on;
    update();
}

void AnimatedPicture::setProportional(bool on)
{
    m_proportional = on;
    update();
}

void AnimatedPicture::setCenter(bool on)
{
    m_center = on;
    update();
}

void AnimatedPicture::setAnimate(bool on)
{
    if (m_animate == on)
        return;
    m_animate = on;
    if (m_movie) {
        if (on)
            m_movie->start();
        else
            m_movie->setPaused(true);
    }
    updateTimer();
    update();
}

void AnimatedPicture::setSpinnerWhenEmpty(bool on)
{
    m_spinner = on;
    updateTimer();
    update();
}

QSize AnimatedPicture::sizeHint() const
{
    const QSize s = pictureSize();
    return s.isEmpty() ? QSize(28, 27) : s;
}

void AnimatedPicture::updateTimer()
{
    const bool spin = m_animate && m_spinner && !hasPicture();
    if (spin && !m_timer)
        m_timer = startTimer(SpinnerIntervalMs);
    else if (!spin && m_timer) {
        killTimer(m_timer);
        m_timer = 0;
    }
}

void AnimatedPicture::timerEvent(QTimerEvent *event)
{
    if (event->timerId() != m_timer) {
        QWidget::timerEvent(event);
        return;
    }
    m_step = (m_step + 1) % SpinnerDots;
    update();
}

QRectF AnimatedPicture::targetRect(const QSizeF &natural) const
{
    const QRectF area = rect();
    QSizeF size = natural;
    if (m_stretch && !m_proportional)
        size = area.size();
    else if (m_stretch
             || (m_proportional
                 && (natural.width() > area.width() || natural.height() > area.height())))
        size = natural.scaled(area.size(), Qt::KeepAspectRatio);
    QPointF topLeft(0, 0);
    if (m_center)
        topLeft = QPointF((area.width() - size.width()) / 2, (area.height() - size.height()) / 2);
    return QRectF(topLeft, size);
}

void AnimatedPicture::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.setRenderHint(QPainter::Antialiasing);
    const QPixmap frame = m_movie ? m_movie->currentPixmap() : m_pixmap;
    if (!frame.isNull()) {
        p.drawPixmap(targetRect(frame.deviceIndependentSize()), frame, frame.rect());
        return;
    }
    if (m_spinner)
        paintSpinner(p);
}

void AnimatedPicture::paintSpinner(QPainter &p)
{
    const qreal side = std::min(width(), height());
    const QPointF c(width() / 2.0, height() / 2.0);
    const qreal radius = side * 0.34;
    const qreal dot = std::max<qreal>(1.5, side * 0.09);
    QColor colour = palette().color(QPalette::Highlight);
    for (int i = 0; i < SpinnerDots; ++i) {
        // The dot at the current step is the darkest; the tail fades out.
        const int age = (m_step - i + SpinnerDots) % SpinnerDots;
        colour.setAlphaF(1.0 - age * 0.11);
        const qreal a = 2 * std::numbers::pi * i / SpinnerDots;
        p.setPen(Qt::NoPen);
        p.setBrush(colour);
        p.drawEllipse(c + QPointF(std::cos(a), std::sin(a)) * radius, dot, dot);
    }
}

} // namespace qv
