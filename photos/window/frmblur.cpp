// The blur editor window: builds its controls from one table, turns drags on the photo into a
// zone, and applies BlurBand to it from the zone's unblurred copy.
#include "photos/window/frmblur.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QStringList>
#include <functional>
#include <map>
#include <optional>

#include "photos/blur.h"
#include "photos/window/bitmapimage.h"

namespace tarmel::photos {

// Image1: paints the picture at its top-left corner, the dragged frame over it, and reports the
// mouse in its own coordinates.
class BlurPicture : public QWidget {
public:
    using Handler = std::function<void(Point)>;
    Handler onPress, onMove, onRelease;

    explicit BlurPicture(QWidget* parent) : QWidget(parent) {}
    void setImage(QImage image) {
        image_ = std::move(image);
        update();
    }
    const QImage& image() const { return image_; }
    void setFrame(std::optional<QRect> frame) {
        frame_ = frame;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.drawImage(0, 0, image_);
        if (!frame_) return;
        // A dotted focus frame, dark dots between light ones so that it shows on any photo.
        const QRect r = frame_->adjusted(0, 0, -1, -1);
        painter.setPen(QPen(Qt::white, 1, Qt::SolidLine));
        painter.drawRect(r);
        painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
        painter.drawRect(r);
    }
    void mousePressEvent(QMouseEvent* e) override {
        if (e->button() == Qt::LeftButton && onPress) onPress(At(e));
    }
    void mouseMoveEvent(QMouseEvent* e) override {
        if (onMove) onMove(At(e));
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        if (e->button() == Qt::LeftButton && onRelease) onRelease(At(e));
    }

private:
    static Point At(const QMouseEvent* e) {
        const QPoint p = e->position().toPoint();
        return {p.x(), p.y()};
    }
    QImage image_;
    std::optional<QRect> frame_;
};

namespace {

enum class Kind { Picture, Preview, Label, HorizontalBar, VerticalBar, Button, Help };

// The window's controls: object name, kind, text, fixed size (0 = its own), and for track bars
// minimum, maximum, start, single step and tick interval.
struct Control {
    const char* name;
    Kind kind;
    const char* text;
    int width, height;
    int minimum = 0, maximum = 0, start = 0, step = 1, ticks = 0;
};

const Control kControls[] = {
    {"Image1", Kind::Picture, "", 640, 480},
    {"Image2", Kind::Preview, "", 156, 105},
    {"Image3", Kind::Preview, "", 156, 97},
    {"Label1", Kind::Label, "Facteur de Floutage :", 0, 0},
    {"TrackBar1", Kind::HorizontalBar, "", 156, 0, 2, 10, 5, 1, 1},
    {"Label2", Kind::Label, "Taille Maximale de de la Zone :", 0, 0},
    {"TrackBar2", Kind::VerticalBar, "", 0, 110, 1, 100, 30, 5, 5},
    {"BtnLoadImage", Kind::Button, "Charger une Image", 0, 0},
    {"BtnSave", Kind::Button, "Sauver et Transférer l'Image", 0, 0},
    {"BtnQuit", Kind::Button, "Quitter", 0, 0},
    {"BtnInversion", Kind::Button, "Inverser la Zone de Floutage", 0, 0},
    {"JvMemo1", Kind::Help, "", 156, 202},
};

const char* const kHelpLines[] = {
    "Pour le Floutage ",
    "en 1 Cliquez-Relachez...",
    "",
    "Procédez comme suit :",
    "----------------------------",
    "",
    "->1<- cliquez en sélectionnant le coin ",
    "supérieur de la plaque,",
    "",
    "->2 <- relachez la souris au dessus du coin ",
    "inférieur...",
    "",
    "C'est Fait !!!",
    "",
    "",
    "Ajustez ensuite éventuellement ",
    "le facteur de floutage ",
    "& la taille de la zone...",
};

QWidget* Create(const Control& c, QWidget* parent) {
    QWidget* widget = nullptr;
    const QString text = QString::fromUtf8(c.text);
    switch (c.kind) {
        case Kind::Picture:
            widget = new BlurPicture(parent);
            break;
        case Kind::Preview: {
            auto* label = new QLabel(parent);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            widget = label;
            break;
        }
        case Kind::Label:
            widget = new QLabel(text, parent);
            break;
        case Kind::HorizontalBar:
        case Kind::VerticalBar: {
            auto* bar =
                new QSlider(c.kind == Kind::HorizontalBar ? Qt::Horizontal : Qt::Vertical, parent);
            bar->setRange(c.minimum, c.maximum);
            bar->setValue(c.start);
            bar->setSingleStep(c.step);
            bar->setPageStep(c.step);
            bar->setTickInterval(c.ticks);
            bar->setTickPosition(QSlider::TicksBothSides);
            // A vertical track bar has its minimum at the top, as on the dealership's Windows
            // machines the users learnt it on.
            bar->setInvertedAppearance(c.kind == Kind::VerticalBar);
            bar->setInvertedControls(c.kind == Kind::VerticalBar);
            widget = bar;
            break;
        }
        case Kind::Button:
            widget = new QPushButton(text, parent);
            break;
        case Kind::Help: {
            auto* memo = new QPlainTextEdit(parent);
            QStringList lines;
            for (const char* line : kHelpLines) lines << QString::fromUtf8(line);
            memo->setPlainText(lines.join(QLatin1Char('\n')));
            memo->setReadOnly(true);
            // It only shows help: it never takes the focus.
            memo->setFocusPolicy(Qt::NoFocus);
            memo->setLineWrapMode(QPlainTextEdit::WidgetWidth);  // long lines wrap, as a memo does
            widget = memo;
            break;
        }
    }
    widget->setObjectName(QString::fromUtf8(c.name));
    if (c.width > 0) widget->setFixedWidth(c.width);
    if (c.height > 0) widget->setFixedHeight(c.height);
    return widget;
}

QPixmap Preview(const Bitmap& zone, QSize box) {
    if (zone.empty()) return {};
    QImage image = ToQImage(zone);
    if (image.width() > box.width() || image.height() > box.height())
        image = image.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return QPixmap::fromImage(image);
}

}  // namespace

TFrmBlur::TFrmBlur(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setModal(true);
    std::map<QString, QWidget*> byName;
    for (const Control& c : kControls) byName[QString::fromUtf8(c.name)] = Create(c, this);
    const auto get = [&](const char* name) { return byName.at(QString::fromUtf8(name)); };

    image1_ = static_cast<BlurPicture*>(get("Image1"));
    image2_ = static_cast<QLabel*>(get("Image2"));
    image3_ = static_cast<QLabel*>(get("Image3"));
    trackBar1_ = static_cast<QSlider*>(get("TrackBar1"));
    trackBar2_ = static_cast<QSlider*>(get("TrackBar2"));
    btnInversion_ = static_cast<QPushButton*>(get("BtnInversion"));
    jvMemo1_ = static_cast<QPlainTextEdit*>(get("JvMemo1"));
    auto* btnSave = static_cast<QPushButton*>(get("BtnSave"));
    auto* btnQuit = static_cast<QPushButton*>(get("BtnQuit"));
    auto* btnLoadImage = get("BtnLoadImage");

    // Image2 starts as an empty 10 x 10 picture.
    image2_->setPixmap(QPixmap::fromImage(ToQImage(Bitmap(10, 10))));
    btnLoadImage->hide();  // pictures come from the photo upload
    btnInversion_->setEnabled(false);

    auto* side = new QGridLayout;
    side->setContentsMargins(0, 0, 0, 0);
    side->addWidget(image2_, 0, 0);
    side->addWidget(image3_, 1, 0);
    side->addWidget(jvMemo1_, 0, 0, 2, 1);  // over the previews until a zone is selected
    side->addWidget(get("Label1"), 2, 0);
    side->addWidget(trackBar1_, 3, 0);
    side->addWidget(get("Label2"), 4, 0);
    side->addWidget(trackBar2_, 5, 0, Qt::AlignHCenter);
    side->addWidget(btnInversion_, 6, 0);
    side->addWidget(btnSave, 7, 0);
    side->addWidget(btnQuit, 8, 0);
    side->addWidget(btnLoadImage, 9, 0);
    side->setRowStretch(10, 1);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 6, 6);
    layout->addWidget(image1_, 0, Qt::AlignLeft | Qt::AlignTop);
    layout->addLayout(side);
    layout->setSizeConstraint(QLayout::SetFixedSize);  // the window fits its content

    image1_->onPress = [this](Point at) { pressed(at); };
    image1_->onMove = [this](Point at) { moved(at); };
    image1_->onRelease = [this](Point at) { released(at); };
    const auto reblur = [this] {
        if (blurred_.width > 0) applyBlur();
    };
    connect(trackBar1_, &QSlider::valueChanged, this, reblur);
    connect(trackBar2_, &QSlider::valueChanged, this, reblur);
    connect(btnInversion_, &QPushButton::clicked, this, [this] {
        bandFromLeft_ = !bandFromLeft_;
        if (blurred_.width > 0) applyBlur();
    });
    connect(btnSave, &QPushButton::clicked, this, [this] {
        saved_ = true;
        accept();
    });
    connect(btnQuit, &QPushButton::clicked, this, [this] {
        saved_ = false;
        reject();
    });
}

bool TFrmBlur::setPicture(const Bitmap& picture) {
    if (!Is24Bit(picture)) return false;
    picture_ = CutZone(picture, {0, 0, picture.width, picture.height});  // packed rows
    showPicture();
    return true;
}

void TFrmBlur::pressed(Point at) {
    zoneStart_ = zoneEnd_ = at;
    dragging_ = true;
    frameShown_ = true;
    const ZoneRect r = FrameRect(zoneStart_, zoneEnd_, picture_.width, picture_.height);
    image1_->setFrame(QRect(r.left, r.top, r.width(), r.height()));
}

void TFrmBlur::moved(Point at) {
    if (!dragging_) return;
    zoneEnd_ = at;
    const ZoneRect r = FrameRect(zoneStart_, zoneEnd_, picture_.width, picture_.height);
    image1_->setFrame(QRect(r.left, r.top, r.width(), r.height()));
}

void TFrmBlur::released(Point at) {
    if (frameShown_) {
        image1_->setFrame(std::nullopt);
        zoneEnd_ = at;
        bandFromLeft_ = BandFromLeft(zoneStart_, zoneEnd_);
        zoneRect_ = FrameRect(zoneStart_, zoneEnd_, picture_.width, picture_.height);
        jvMemo1_->hide();
        cutZone();
        btnInversion_->setEnabled(true);
    }
    dragging_ = false;
    frameShown_ = false;
}

void TFrmBlur::cutZone() {
    // Cut from the current picture, so earlier zones come with their blur.
    unblurred_ = CutZone(picture_, zoneRect_);
    image2_->setPixmap(Preview(unblurred_, image2_->size()));
    applyBlur();
}

void TFrmBlur::applyBlur() {
    Bitmap zone = unblurred_;
    if (BlurBand(unblurred_, zone, bandFromLeft_, trackBar2_->value(), trackBar1_->value()))
        return;  // our zones are always packed 24-bit copies; nothing to apply otherwise
    blurred_ = std::move(zone);
    image3_->setPixmap(Preview(blurred_, image3_->size()));
    PasteZone(picture_, blurred_, zoneRect_.left, zoneRect_.top);
    showPicture();
}

void TFrmBlur::showPicture() {
    image1_->setImage(ToQImage(picture_));
}

}  // namespace tarmel::photos
