#include "animatedpicture.h"

#include <QBuffer>
#include <QImage>
#include <QPixmap>

#include <gtest/gtest.h>

namespace {

QByteArray pngBytes(QSize size, QColor colour)
{
    QImage img(size, QImage::Format_ARGB32);
    img.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    img.save(&buffer, "PNG");
    return bytes;
}

TEST(AnimatedPicture, UnreadableBytesLeaveItEmpty)
{
    qv::AnimatedPicture p;
    EXPECT_FALSE(p.loadFromData(QByteArray("not a picture")));
    EXPECT_FALSE(p.hasPicture());
    EXPECT_TRUE(p.pictureSize().isEmpty());
}

TEST(AnimatedPicture, StillPictureHasNoMovie)
{
    qv::AnimatedPicture p;
    ASSERT_TRUE(p.loadFromData(pngBytes({40, 20}, Qt::red)));
    EXPECT_TRUE(p.hasPicture());
    EXPECT_FALSE(p.hasMovie());
    EXPECT_EQ(p.pictureSize(), QSize(40, 20));
    p.clearPicture();
    EXPECT_FALSE(p.hasPicture());
}

// Where a 2:1 red picture lands in a 100 x 100 control.
struct ScaleCase
{
    const char *name;
    bool stretch;
    bool proportional;
    QPoint red;   // must be red
    QPoint blank; // must not be; outside the control when everything is red
};

class Scaling : public ::testing::TestWithParam<ScaleCase>
{
};

TEST_P(Scaling, PaintsWhereExpected)
{
    const ScaleCase &c = GetParam();
    qv::AnimatedPicture p;
    p.resize(100, 100);
    p.setStretch(c.stretch);
    p.setProportional(c.proportional);
    QImage img(QSize(20, 10), QImage::Format_ARGB32);
    img.fill(Qt::red);
    p.setPixmap(QPixmap::fromImage(img));
    const QImage shot = p.grab().toImage();
    EXPECT_EQ(shot.pixelColor(c.red), QColor(Qt::red));
    if (shot.rect().contains(c.blank)) {
        EXPECT_NE(shot.pixelColor(c.blank), QColor(Qt::red));
    }
}

INSTANTIATE_TEST_SUITE_P(Modes,
                         Scaling,
                         ::testing::Values(
                             // Proportional stretch: 100 x 50, centred vertically.
                             ScaleCase{"Proportional", true, true, {50, 30}, {50, 10}},
                             // Plain stretch fills the whole control.
                             ScaleCase{"Stretch", true, false, {1, 1}, {-1, -1}},
                             // Neither: natural size, centred.
                             ScaleCase{"Natural", false, false, {50, 50}, {35, 50}}),
                         [](const ::testing::TestParamInfo<ScaleCase> &i) {
                             return std::string(i.param.name);
                         });

} // namespace
