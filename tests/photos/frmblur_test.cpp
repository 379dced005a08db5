// The blur editor driven offscreen with the mouse: the band a drag gives, inversion, re-blurring
// from the unblurred zone, clipping, and what saving or quitting hands back.
#include "photos/window/frmblur.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>

#include "photos/blur.h"
#include "photos/window/bitmapimage.h"

namespace tarmel::photos {
namespace {

// A picture where every pixel differs from its neighbours, so any blur shows.
Bitmap Photo(int w = 640, int h = 480) {
    Bitmap b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            std::uint8_t* p = b.pixel(x, y);
            p[0] = std::uint8_t((x * 37 + y * 11) % 256);
            p[1] = std::uint8_t((x + y) % 2 ? 230 : 20);
            p[2] = std::uint8_t((x * y) % 199);
        }
    return b;
}

// The photo with the band of one zone blurred, as the editor should give it.
Bitmap Blurred(const Bitmap& photo, ZoneRect zone, bool fromLeft, int thickness, int radius) {
    const Bitmap unblurred = CutZone(photo, zone);
    Bitmap blurred = unblurred;
    EXPECT_FALSE(BlurBand(unblurred, blurred, fromLeft, thickness, radius));
    Bitmap out = photo;
    PasteZone(out, blurred, zone.left, zone.top);
    return out;
}

class FrmBlurTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(window.setPicture(photo));
        window.show();
    }
    template <typename T>
    T* control(const char* name) {
        T* widget = window.findChild<T*>(QString::fromUtf8(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    void mouse(QEvent::Type type, Point at, Qt::MouseButtons buttons) {
        QWidget* image1 = control<QWidget>("Image1");
        const QPointF local(at.x, at.y);
        QMouseEvent event(type, local, image1->mapToGlobal(local), Qt::LeftButton, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(image1, &event);
    }
    void drag(Point from, Point to) {
        mouse(QEvent::MouseButtonPress, from, Qt::LeftButton);
        mouse(QEvent::MouseMove, {(from.x + to.x) / 2, (from.y + to.y) / 2}, Qt::LeftButton);
        mouse(QEvent::MouseMove, to, Qt::LeftButton);
        mouse(QEvent::MouseButtonRelease, to, Qt::NoButton);
    }

    const Bitmap photo = Photo();
    TFrmBlur window{nullptr};
};

TEST_F(FrmBlurTest, ControlsOfTheWindow) {
    struct Text {
        const char* name;
        const char* text;
    };
    const Text buttons[] = {{"BtnSave", "Sauver et Transférer l'Image"},
                            {"BtnQuit", "Quitter"},
                            {"BtnInversion", "Inverser la Zone de Floutage"},
                            {"BtnLoadImage", "Charger une Image"}};
    for (const Text& b : buttons)
        EXPECT_EQ(control<QPushButton>(b.name)->text(), QString::fromUtf8(b.text)) << b.name;
    EXPECT_EQ(control<QLabel>("Label1")->text(), QString::fromUtf8("Facteur de Floutage :"));
    EXPECT_EQ(control<QLabel>("Label2")->text(),
              QString::fromUtf8("Taille Maximale de de la Zone :"));
    EXPECT_FALSE(control<QWidget>("BtnLoadImage")->isVisible());
    EXPECT_FALSE(control<QWidget>("BtnInversion")->isEnabled());
    EXPECT_EQ(control<QWidget>("Image1")->size(), QSize(640, 480));
    EXPECT_EQ(control<QWidget>("Image1")->pos(), QPoint(0, 0));
    EXPECT_EQ(control<QWidget>("Image2")->size(), QSize(156, 105));
    EXPECT_EQ(control<QWidget>("Image3")->size(), QSize(156, 97));

    struct Bar {
        const char* name;
        Qt::Orientation orientation;
        int minimum, maximum, value, step;
    };
    const Bar bars[] = {{"TrackBar1", Qt::Horizontal, 2, 10, 5, 1},
                        {"TrackBar2", Qt::Vertical, 1, 100, 30, 5}};
    for (const Bar& b : bars) {
        auto* bar = control<QSlider>(b.name);
        EXPECT_EQ(bar->orientation(), b.orientation) << b.name;
        EXPECT_EQ(bar->minimum(), b.minimum) << b.name;
        EXPECT_EQ(bar->maximum(), b.maximum) << b.name;
        EXPECT_EQ(bar->value(), b.value) << b.name;
        EXPECT_EQ(bar->singleStep(), b.step) << b.name;
    }
    EXPECT_EQ(control<QSlider>("TrackBar2")->tickInterval(), 5);

    auto* memo = control<QPlainTextEdit>("JvMemo1");
    EXPECT_TRUE(memo->isVisible());
    EXPECT_TRUE(memo->isReadOnly());
    const QStringList lines = memo->toPlainText().split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 18);
    EXPECT_EQ(lines[0], QString::fromUtf8("Pour le Floutage "));
    EXPECT_EQ(lines[3], QString::fromUtf8("Procédez comme suit :"));
    EXPECT_EQ(lines[6], QString::fromUtf8("->1<- cliquez en sélectionnant le coin "));
    EXPECT_EQ(lines[14], QString());
    EXPECT_EQ(lines[17], QString::fromUtf8("& la taille de la zone..."));

    const Qt::WindowFlags flags = window.windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::CustomizeWindowHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
}

TEST_F(FrmBlurTest, DragToTheLeftGivesTheRisingBandAndInversionSwitchesIt) {
    const ZoneRect zone{100, 100, 300, 140};
    drag({300, 100}, {100, 140});
    EXPECT_EQ(window.picture().bytes, Blurred(photo, zone, false, 30, 5).bytes);
    EXPECT_FALSE(control<QWidget>("JvMemo1")->isVisible());
    EXPECT_TRUE(control<QWidget>("Image2")->isVisible());
    auto* inversion = control<QPushButton>("BtnInversion");
    ASSERT_TRUE(inversion->isEnabled());

    for (bool fromLeft : {true, false, true}) {
        inversion->click();
        EXPECT_EQ(window.picture().bytes, Blurred(photo, zone, fromLeft, 30, 5).bytes)
            << (fromLeft ? "falling" : "rising");
    }
}

TEST_F(FrmBlurTest, TrackBarsReblurTheZoneFromItsUnblurredCopy) {
    const ZoneRect zone{50, 60, 250, 120};
    drag({50, 60}, {250, 120});
    EXPECT_EQ(window.picture().bytes, Blurred(photo, zone, true, 30, 5).bytes);
    control<QSlider>("TrackBar1")->setValue(10);
    EXPECT_EQ(window.picture().bytes, Blurred(photo, zone, true, 30, 10).bytes);
    control<QSlider>("TrackBar2")->setValue(100);
    EXPECT_EQ(window.picture().bytes, Blurred(photo, zone, true, 100, 10).bytes);
}

TEST_F(FrmBlurTest, ALaterZoneIsCutWithTheEarlierBlurInIt) {
    drag({50, 60}, {250, 120});
    drag({150, 80}, {350, 160});
    const Bitmap first = Blurred(photo, {50, 60, 250, 120}, true, 30, 5);
    EXPECT_EQ(window.picture().bytes, Blurred(first, {150, 80, 350, 160}, true, 30, 5).bytes);
}

TEST_F(FrmBlurTest, DragBeyondThePictureIsClipped) {
    drag({560, 430}, {700, 530});
    EXPECT_EQ(window.picture().bytes, Blurred(photo, {560, 430, 640, 480}, true, 30, 5).bytes);
}

TEST_F(FrmBlurTest, ClickWithoutDragBlursNothingAndTheBarsThenDoNothing) {
    mouse(QEvent::MouseButtonPress, {200, 200}, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, {200, 200}, Qt::NoButton);
    control<QSlider>("TrackBar1")->setValue(8);
    control<QPushButton>("BtnInversion")->click();
    EXPECT_EQ(window.picture().bytes, photo.bytes);
}

TEST_F(FrmBlurTest, SaveHandsBackTheBlurredPictureAndQuitDoesNot) {
    struct Case {
        const char* what;
        bool drag;
        const char* button;  // null: closed with Escape
        bool saved;
    };
    const Case cases[] = {
        {"save after a zone", true, "BtnSave", true},
        {"save without a zone", false, "BtnSave", true},
        {"quit after a zone", true, "BtnQuit", false},
        {"escape after a zone", true, nullptr, false},
    };
    for (const Case& c : cases) {
        TFrmBlur dialog(nullptr);
        ASSERT_TRUE(dialog.setPicture(photo));
        dialog.show();
        if (c.drag) {
            QWidget* image1 = dialog.findChild<QWidget*>(QStringLiteral("Image1"));
            for (auto [type, at, buttons] :
                 {std::tuple{QEvent::MouseButtonPress, QPointF(20, 30), Qt::LeftButton},
                  std::tuple{QEvent::MouseMove, QPointF(220, 90), Qt::LeftButton},
                  std::tuple{QEvent::MouseButtonRelease, QPointF(220, 90), Qt::NoButton}}) {
                QMouseEvent event(type, at, image1->mapToGlobal(at), Qt::LeftButton, buttons,
                                  Qt::NoModifier);
                QApplication::sendEvent(image1, &event);
            }
        }
        if (c.button)
            dialog.findChild<QPushButton*>(QString::fromUtf8(c.button))->click();
        else
            dialog.reject();
        EXPECT_FALSE(dialog.isVisible()) << c.what;
        EXPECT_EQ(dialog.saved(), c.saved) << c.what;
        const Bitmap expected = c.drag ? Blurred(photo, {20, 30, 220, 90}, true, 30, 5) : photo;
        EXPECT_EQ(dialog.picture().bytes, expected.bytes) << c.what;
    }
}

TEST(FrmBlur, RefusesAPictureThatIsNot24Bit) {
    TFrmBlur dialog(nullptr);
    Bitmap broken(10, 10);
    broken.bytes.resize(100);
    EXPECT_FALSE(dialog.setPicture(broken));
    EXPECT_TRUE(dialog.picture().empty());
}

TEST(BitmapImage, SwapsBlueAndRedBothWays) {
    Bitmap b(2, 1);
    b.bytes = {1, 2, 3, 200, 100, 50};
    const QImage image = ToQImage(b);
    EXPECT_EQ(image.pixel(0, 0), qRgb(3, 2, 1));
    EXPECT_EQ(image.pixel(1, 0), qRgb(50, 100, 200));
    EXPECT_EQ(FromQImage(image).bytes, b.bytes);
}

}  // namespace
}  // namespace tarmel::photos
