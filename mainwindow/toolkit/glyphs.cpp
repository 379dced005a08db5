// Toolbar glyphs and the dealer-group logo, drawn with QPainter so that no image file ships.
#include "mainwindow/toolkit/glyphs.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace tarmel::ui {

namespace {

void DrawGlyph(QPainter& p, const QString& name) {
    const QColor ink(40, 60, 90);
    p.setPen(QPen(ink, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    if (name == "sweep") {
        p.setBrush(QColor(200, 160, 60));
        p.drawLine(QPointF(17, 3), QPointF(10, 14));
        QPainterPath broom;
        broom.moveTo(7, 13);
        broom.lineTo(14, 17);
        broom.lineTo(10, 22);
        broom.lineTo(2, 18);
        broom.closeSubpath();
        p.drawPath(broom);
    } else if (name == "delete") {
        p.setPen(QPen(QColor(200, 30, 30), 3.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(5, 5), QPointF(19, 19));
        p.drawLine(QPointF(19, 5), QPointF(5, 19));
    } else if (name == "print") {
        p.setBrush(Qt::white);
        p.drawRect(QRectF(7, 3, 10, 7));
        p.setBrush(QColor(150, 160, 175));
        p.drawRoundedRect(QRectF(3, 9, 18, 9), 2, 2);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(7, 15, 10, 6));
    } else if (name == "search") {
        p.setBrush(QColor(210, 235, 255));
        p.drawEllipse(QRectF(3, 3, 12, 12));
        p.setPen(QPen(ink, 3.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(14, 14), QPointF(21, 21));
    } else if (name == "new") {
        p.setBrush(Qt::white);
        QPainterPath sheet;
        sheet.moveTo(5, 2);
        sheet.lineTo(14, 2);
        sheet.lineTo(19, 7);
        sheet.lineTo(19, 22);
        sheet.lineTo(5, 22);
        sheet.closeSubpath();
        p.drawPath(sheet);
        p.setPen(QPen(QColor(30, 140, 50), 2.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(12, 9), QPointF(12, 18));
        p.drawLine(QPointF(7.5, 13.5), QPointF(16.5, 13.5));
    } else if (name == "save") {
        p.setBrush(QColor(60, 100, 170));
        p.drawRoundedRect(QRectF(3, 3, 18, 18), 2, 2);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(7, 3, 10, 7));
        p.setBrush(QColor(220, 225, 235));
        p.drawRect(QRectF(6, 13, 12, 8));
    } else if (name == "reload") {
        p.setPen(QPen(QColor(30, 120, 60), 2.6, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(4, 4, 16, 16), 60 * 16, 280 * 16);
        p.setBrush(QColor(30, 120, 60));
        p.setPen(Qt::NoPen);
        QPainterPath head;
        head.moveTo(13, 1);
        head.lineTo(19, 5);
        head.lineTo(12, 9);
        head.closeSubpath();
        p.drawPath(head);
    }
}

}  // namespace

QIcon ToolbarGlyph(const QString& name) {
    static const QStringList known = {"sweep", "delete", "print", "search", "new", "save", "reload"};
    if (!known.contains(name)) return {};
    QIcon icon;
    for (int scale : {1, 2}) {
        QPixmap pixmap(24 * scale, 24 * scale);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(scale, scale);
        DrawGlyph(painter, name);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

QPixmap DealerLogo(const QSize& size) {
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF area(4, 4, size.width() - 8, size.height() - 8);
    QLinearGradient back(area.topLeft(), area.bottomLeft());
    back.setColorAt(0, QColor(20, 50, 110));
    back.setColorAt(1, QColor(8, 24, 60));
    p.setPen(QPen(QColor(200, 170, 80), 3));
    p.setBrush(back);
    p.drawRoundedRect(area, 18, 18);

    // A car's side line over a road sweep.
    const double w = area.width(), h = area.height(), x = area.left(), y = area.top();
    QPainterPath car;
    car.moveTo(x + w * 0.18, y + h * 0.52);
    car.cubicTo(x + w * 0.30, y + h * 0.50, x + w * 0.36, y + h * 0.26, x + w * 0.52, y + h * 0.25);
    car.cubicTo(x + w * 0.64, y + h * 0.24, x + w * 0.70, y + h * 0.40, x + w * 0.82, y + h * 0.44);
    car.lineTo(x + w * 0.84, y + h * 0.54);
    car.lineTo(x + w * 0.18, y + h * 0.56);
    car.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(235, 240, 250));
    p.drawPath(car);
    p.setBrush(QColor(20, 50, 110));
    p.drawEllipse(QPointF(x + w * 0.32, y + h * 0.56), w * 0.055, w * 0.055);
    p.drawEllipse(QPointF(x + w * 0.70, y + h * 0.56), w * 0.055, w * 0.055);
    p.setBrush(QColor(200, 170, 80));
    p.drawEllipse(QPointF(x + w * 0.32, y + h * 0.56), w * 0.03, w * 0.03);
    p.drawEllipse(QPointF(x + w * 0.70, y + h * 0.56), w * 0.03, w * 0.03);

    QFont font("Comic Sans MS");
    font.setBold(true);
    font.setPixelSize(int(h * 0.20));
    font.setLetterSpacing(QFont::PercentageSpacing, 115);
    p.setFont(font);
    p.setPen(QColor(200, 170, 80));
    p.drawText(QRectF(x, y + h * 0.64, w, h * 0.22), Qt::AlignCenter, QStringLiteral("QUINTAR"));
    font.setBold(false);
    font.setLetterSpacing(QFont::PercentageSpacing, 100);
    font.setPixelSize(int(h * 0.08));
    p.setFont(font);
    p.setPen(QColor(220, 225, 240));
    p.drawText(QRectF(x, y + h * 0.84, w, h * 0.11), Qt::AlignCenter,
               QStringLiteral("Groupe automobile"));
    return pixmap;
}

}  // namespace tarmel::ui
