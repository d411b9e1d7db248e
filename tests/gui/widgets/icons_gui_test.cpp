// Pictures drawn in code: expected colours where they belong, sizes and pixel ratios.
#include <gtest/gtest.h>

#include <QImage>

#include "gui/widgets/icons.h"

namespace pairly::gui::widgets {
namespace {

struct Tally {
    int opaque = 0, yellow = 0, red = 0, white = 0, dark = 0, blue = 0;
};

bool isYellow(QColor c) {
    return c.alpha() > 200 && c.red() > 200 && c.green() > 150 && c.blue() < 110;
}
bool isRed(QColor c) { return c.alpha() > 200 && c.red() > 170 && c.green() < 90 && c.blue() < 90; }
bool isDark(QColor c) { return c.alpha() > 200 && c.red() < 70 && c.green() < 70 && c.blue() < 70; }

Tally tally(const QImage& img) {
    Tally t;
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x) {
            const QColor c = img.pixelColor(x, y);
            if (c.alpha() < 200) continue;
            ++t.opaque;
            t.yellow += isYellow(c);
            t.red += isRed(c);
            t.white += c.red() > 235 && c.green() > 235 && c.blue() > 235;
            t.dark += isDark(c);
            t.blue += c.blue() > 150 && c.red() < 100;
        }
    }
    return t;
}

QImage render(Picture p, int size = 32) { return pixmap(p, {size, size}, 1.0).toImage(); }

TEST(IconsTest, FacesAndSignHaveTheirColours) {
    struct Case {
        Picture picture;
        double minYellow;  // share of the opaque pixels
        bool tongue;       // red pixels present
    } faces[] = {{Picture::LaughingFace, 0.35, true},
                 {Picture::SmilingFace, 0.6, false},
                 {Picture::SulkyFace, 0.6, false},
                 {Picture::FreeSituationFace, 0.55, false}};
    for (const Case& c : faces) {
        for (int size : {32, 96}) {
            const Tally t = tally(render(c.picture, size));
            const double area = size * size;
            EXPECT_GT(t.opaque, area * 0.55) << int(c.picture) << " @" << size;
            EXPECT_GT(t.yellow, t.opaque * c.minYellow) << int(c.picture) << " @" << size;
            EXPECT_GT(t.dark, area * 0.04) << "outline and eyes " << int(c.picture);
            if (c.tongue) {
                EXPECT_GT(t.red, area * 0.02) << int(c.picture);
            } else {
                EXPECT_EQ(t.red, 0) << int(c.picture);
            }
        }
    }
    // Corners stay transparent so the pictures sit on any background.
    EXPECT_EQ(render(Picture::SmilingFace).pixelColor(0, 0).alpha(), 0);

    const Tally sign = tally(render(Picture::NoEntrySign));
    EXPECT_GT(sign.red, sign.opaque / 2);
    EXPECT_GT(sign.white, 40);
    EXPECT_EQ(sign.yellow, 0);
    const QImage signImg = render(Picture::NoEntrySign);
    EXPECT_GT(signImg.pixelColor(16, 16).lightness(), 230);  // white bar across the middle
    EXPECT_TRUE(isRed(signImg.pixelColor(16, 6)));
}

TEST(IconsTest, SmileCurvesButTheSulkyMouthIsStraight) {
    const QImage smile = render(Picture::SmilingFace);
    const QImage sulky = render(Picture::SulkyFace);
    // Mouth centre: the sulky line sits at row 22, the smile dips below it.
    EXPECT_TRUE(isDark(sulky.pixelColor(16, 21)));
    EXPECT_TRUE(isYellow(sulky.pixelColor(16, 23)));
    EXPECT_TRUE(isDark(smile.pixelColor(16, 23)));
    // Ends of the smile are raised; the sulky line's are not.
    EXPECT_TRUE(isDark(sulky.pixelColor(11, 22)));
    EXPECT_FALSE(isDark(smile.pixelColor(11, 22)));
}

TEST(IconsTest, MeterPointerDirection) {
    auto darkWidth = [](const QImage& img, int row) {
        int n = 0;
        for (int x = 0; x < img.width(); ++x) n += isDark(img.pixelColor(x, row));
        return n;
    };
    const QImage up = render(Picture::MeterPointerUp);
    const QImage down = render(Picture::MeterPointerDown);
    EXPECT_GT(darkWidth(up, 14), darkWidth(up, 20) + 3);  // head above the stem
    EXPECT_GT(darkWidth(down, 18), darkWidth(down, 10) + 3);
    // The tip is on the centre line.
    EXPECT_GT(darkWidth(up, 9), 0);
    EXPECT_TRUE(isDark(up.pixelColor(16, 10)) || isDark(up.pixelColor(15, 10)));
}

TEST(IconsTest, OtherPicturesAndSizes) {
    const Tally medal = tally(render(Picture::WinnerMark, 24));
    EXPECT_GT(medal.yellow, medal.opaque / 4);
    const Tally clock = tally(render(Picture::ClockFace));
    EXPECT_GT(clock.white, clock.opaque / 3);
    const Tally floppy = tally(render(Picture::FloppyDisk));
    EXPECT_GT(floppy.blue, floppy.opaque / 4);
    EXPECT_GT(floppy.white, 30);

    const QPixmap sharp = pixmap(Picture::LaughingFace, {32, 32}, 2.0);
    EXPECT_EQ(sharp.size(), QSize(64, 64));
    EXPECT_DOUBLE_EQ(sharp.devicePixelRatio(), 2.0);
    EXPECT_EQ(laughingFace().size(), QSize(32, 32) * laughingFace().devicePixelRatio());

    const QImage splash = pixmap(Picture::Splash, {}, 1.0).toImage();
    EXPECT_EQ(splash.size(), QSize(400, 260));
    const Tally s = tally(splash);
    EXPECT_GT(s.opaque, 400 * 260 * 9 / 10);
    EXPECT_GT(s.red, 300);  // the heart

    const QIcon floppyIcon = icon(Picture::FloppyDisk);
    const QImage big = floppyIcon.pixmap(QSize(48, 48)).toImage();
    ASSERT_FALSE(big.isNull());
    EXPECT_GT(tally(big).blue, 48 * 48 / 6);
    const QImage disabled = floppyIcon.pixmap(QSize(48, 48), QIcon::Disabled).toImage();
    EXPECT_LT(disabled.pixelColor(24, 40).alpha(), big.pixelColor(24, 40).alpha());
}

TEST(IconsTest, SadFaceDroopsAndCries) {
    const QImage sad = render(Picture::SadFace);
    const Tally t = tally(sad);
    EXPECT_GT(t.yellow, t.opaque / 2);
    EXPECT_GT(t.blue, 6);  // the tear
    EXPECT_EQ(t.red, 0);
    // Mouth corners hang below its middle, unlike the smile.
    EXPECT_TRUE(isDark(sad.pixelColor(11, 23)));
    EXPECT_TRUE(isYellow(sad.pixelColor(16, 23)));
}

}  // namespace
}  // namespace pairly::gui::widgets
