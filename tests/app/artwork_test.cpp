// The pictures the program ships: every toolbar button has its own icon, the
// application icon comes in the sizes desktops ask for, and the splash and
// about pictures leave a dark place for their white text.
#include "common/paths.h"

#include <QColor>
#include <QImage>
#include <QSet>
#include <gtest/gtest.h>

namespace {

QImage shipped(const QString& name) {
    return QImage(paths::dataFile("pictures/" + name)).convertToFormat(QImage::Format_ARGB32);
}

// Mean perceived lightness (0 dark ... 255 light) of a rectangle.
double lightness(const QImage& image, const QRect& area) {
    double sum = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            sum += QColor(image.pixel(x, y)).lightness();
    return sum / (area.width() * area.height());
}

} // namespace

TEST(Artwork, TenDistinctToolbarIcons) {
    QSet<QByteArray> seen;
    for (int button = 1; button <= 10; ++button) {
        const QImage icon = shipped(QStringLiteral("toolbar/button%1.png").arg(button));
        ASSERT_FALSE(icon.isNull()) << button;
        EXPECT_EQ(icon.size(), QSize(24, 24)) << button;
        // Drawn on a transparent ground, with something drawn on it.
        EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0) << button;
        int opaque = 0;
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 24; ++x)
                opaque += qAlpha(icon.pixel(x, y)) > 128;
        EXPECT_GT(opaque, 24 * 24 / 4) << button;
        const QByteArray pixels(reinterpret_cast<const char*>(icon.constBits()),
                                icon.sizeInBytes());
        EXPECT_FALSE(seen.contains(pixels)) << "button " << button << " repeats another icon";
        seen.insert(pixels);
    }
}

TEST(Artwork, ApplicationIconSizes) {
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QImage icon = shipped(QStringLiteral("icons/parvello-%1.png").arg(size));
        ASSERT_FALSE(icon.isNull()) << size;
        EXPECT_EQ(icon.size(), QSize(size, size));
    }
    EXPECT_FALSE(shipped("parvello.png").isNull());
}

TEST(Artwork, SplashAndAboutLeaveRoomForWhiteText) {
    // About: 7200 x 5565 twips, text in the band from 5040 twips down.
    const QImage about = shipped("about.png");
    ASSERT_EQ(about.size(), QSize(480, 371));
    EXPECT_LT(lightness(about, QRect(112, 336, 265, 33)), 80);

    // Splash: about 6000 x 4000 twips, version and notice in the lower right.
    const QImage splash = shipped("splash.png");
    ASSERT_EQ(splash.size(), QSize(400, 270));
    EXPECT_LT(lightness(splash, QRect(80, 218, 300, 44)), 80);
}
