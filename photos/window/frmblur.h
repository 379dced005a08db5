// TFrmBlur: the modal editor that blurs registration plates on a photo before it is published.
// The user drags a rectangle over a plate; a diagonal band of it is blurred (photos/blur.h).
#pragma once

#include <QDialog>

#include "photos/bitmap.h"
#include "photos/blurzone.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QSlider;

namespace tarmel::photos {

class BlurPicture;

class TFrmBlur : public QDialog {
    Q_OBJECT

public:
    explicit TFrmBlur(QWidget* parent);

    // The photo to edit; false (and nothing loaded) when it is not a usable 24-bit bitmap.
    bool setPicture(const Bitmap& picture);
    // The photo with every blurred zone.
    const Bitmap& picture() const { return picture_; }
    // True only when the window was left with BtnSave.
    bool saved() const { return saved_; }

private:
    void pressed(Point at);
    void moved(Point at);
    void released(Point at);
    void cutZone();
    void applyBlur();
    void showPicture();

    BlurPicture* image1_ = nullptr;
    QLabel* image2_ = nullptr;
    QLabel* image3_ = nullptr;
    QSlider* trackBar1_ = nullptr;
    QSlider* trackBar2_ = nullptr;
    QPushButton* btnInversion_ = nullptr;
    QPlainTextEdit* jvMemo1_ = nullptr;

    Bitmap picture_;    // what Image1 shows
    Bitmap unblurred_;  // Image2: the zone before the blur
    Bitmap blurred_;    // Image3: the zone after the blur
    Point zoneStart_{-1, -1};
    Point zoneEnd_{-1, -1};
    bool dragging_ = false;
    bool frameShown_ = false;
    ZoneRect zoneRect_;
    bool bandFromLeft_ = false;
    bool saved_ = false;
};

}  // namespace tarmel::photos
