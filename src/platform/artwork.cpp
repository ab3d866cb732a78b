#include "platform/artwork.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace {

const QColor kInk(0x1f, 0x4e, 0x8c);
const QColor kAccent(0xe0, 0x8a, 0x1e);
const QColor kRed(0xc0, 0x39, 0x2b);

// An eighth note inside a box of side s at (x, y).
void drawNote(QPainter& p, qreal x, qreal y, qreal s, const QColor& color)
{
    p.setPen(QPen(color, s * 0.08, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(color);
    p.drawEllipse(QRectF(x + s * 0.18, y + s * 0.62, s * 0.32, s * 0.24));
    p.drawLine(QPointF(x + s * 0.48, y + s * 0.72), QPointF(x + s * 0.48, y + s * 0.14));
    QPainterPath flag;
    flag.moveTo(x + s * 0.48, y + s * 0.14);
    flag.cubicTo(x + s * 0.62, y + s * 0.28, x + s * 0.82, y + s * 0.30, x + s * 0.74, y + s * 0.52);
    p.setBrush(Qt::NoBrush);
    p.drawPath(flag);
}

void drawArrowDown(QPainter& p, qreal s, const QColor& color)
{
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    QPainterPath arrow;
    arrow.moveTo(s * 0.38, s * 0.12);
    arrow.lineTo(s * 0.62, s * 0.12);
    arrow.lineTo(s * 0.62, s * 0.46);
    arrow.lineTo(s * 0.80, s * 0.46);
    arrow.lineTo(s * 0.50, s * 0.80);
    arrow.lineTo(s * 0.20, s * 0.46);
    arrow.lineTo(s * 0.38, s * 0.46);
    arrow.closeSubpath();
    p.drawPath(arrow);
    p.fillRect(QRectF(s * 0.16, s * 0.84, s * 0.68, s * 0.06), color);
}

void drawMagnifier(QPainter& p, qreal s, const QColor& color)
{
    p.setPen(QPen(color, s * 0.09, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(s * 0.16, s * 0.14, s * 0.46, s * 0.46));
    p.drawLine(QPointF(s * 0.56, s * 0.56), QPointF(s * 0.84, s * 0.84));
}

QPixmap paintGlyph(Artwork::Glyph glyph, int s)
{
    QPixmap pixmap(s, s);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = s * 0.08;
    QPen pen(kInk, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    using G = Artwork::Glyph;
    switch (glyph) {
    case G::Music:
        drawNote(p, 0, 0, s, kInk);
        break;
    case G::Search:
        drawMagnifier(p, s, kInk);
        break;
    case G::Downloads:
    case G::Download:
        drawArrowDown(p, s, glyph == G::Download ? kAccent : kInk);
        break;
    case G::Transfer:
        drawArrowDown(p, s, QColor(0x2e, 0x9b, 0x3a));
        break;
    case G::Play:
    case G::Preview: {
        QPainterPath triangle;
        triangle.moveTo(s * 0.28, s * 0.16);
        triangle.lineTo(s * 0.80, s * 0.50);
        triangle.lineTo(s * 0.28, s * 0.84);
        triangle.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(glyph == G::Play ? QColor(0x2e, 0x8b, 0x57) : kAccent);
        p.drawPath(triangle);
        break;
    }
    case G::Stop:
        p.fillRect(QRectF(s * 0.24, s * 0.24, s * 0.52, s * 0.52), kRed);
        break;
    case G::Rename:
        p.setPen(pen);
        p.drawLine(QPointF(s * 0.20, s * 0.80), QPointF(s * 0.74, s * 0.26));
        p.drawLine(QPointF(s * 0.14, s * 0.88), QPointF(s * 0.34, s * 0.88));
        p.setPen(QPen(kAccent, w * 1.6, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(QPointF(s * 0.68, s * 0.32), QPointF(s * 0.80, s * 0.20));
        break;
    case G::Details:
        p.setPen(pen);
        p.drawRoundedRect(QRectF(s * 0.18, s * 0.12, s * 0.64, s * 0.76), s * 0.06, s * 0.06);
        for (qreal y : {0.32, 0.48, 0.64})
            p.drawLine(QPointF(s * 0.30, s * y), QPointF(s * 0.70, s * y));
        break;
    case G::Delete:
        p.setPen(QPen(kRed, w * 1.4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(s * 0.24, s * 0.24), QPointF(s * 0.76, s * 0.76));
        p.drawLine(QPointF(s * 0.76, s * 0.24), QPointF(s * 0.24, s * 0.76));
        break;
    case G::Locate: {
        p.setPen(pen);
        p.setBrush(QColor(0xf4, 0xd0, 0x6f));
        QPainterPath folder;
        folder.moveTo(s * 0.12, s * 0.26);
        folder.lineTo(s * 0.40, s * 0.26);
        folder.lineTo(s * 0.48, s * 0.34);
        folder.lineTo(s * 0.88, s * 0.34);
        folder.lineTo(s * 0.88, s * 0.80);
        folder.lineTo(s * 0.12, s * 0.80);
        folder.closeSubpath();
        p.drawPath(folder);
        break;
    }
    case G::Refresh:
    case G::MoreSources:
        p.setPen(pen);
        p.drawArc(QRectF(s * 0.18, s * 0.18, s * 0.64, s * 0.64), 90 * 16, 270 * 16);
        p.setPen(Qt::NoPen);
        p.setBrush(kInk);
        {
            QPainterPath head;
            head.moveTo(s * 0.50, s * 0.06);
            head.lineTo(s * 0.66, s * 0.18);
            head.lineTo(s * 0.50, s * 0.30);
            head.closeSubpath();
            p.drawPath(head);
        }
        if (glyph == G::MoreSources) {
            p.setPen(QPen(kAccent, w * 1.2, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(s * 0.50, s * 0.38), QPointF(s * 0.50, s * 0.62));
            p.drawLine(QPointF(s * 0.38, s * 0.50), QPointF(s * 0.62, s * 0.50));
        }
        break;
    case G::NewSearch:
        drawMagnifier(p, s, kInk);
        p.setPen(QPen(kAccent, w * 1.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(s * 0.39, s * 0.26), QPointF(s * 0.39, s * 0.48));
        p.drawLine(QPointF(s * 0.28, s * 0.37), QPointF(s * 0.50, s * 0.37));
        break;
    case G::ClearCompleted:
        p.setPen(QPen(QColor(0x2e, 0x8b, 0x57), w * 1.4, Qt::SolidLine, Qt::RoundCap,
                      Qt::RoundJoin));
        p.drawPolyline(QPolygonF({QPointF(s * 0.18, s * 0.52), QPointF(s * 0.40, s * 0.74),
                                  QPointF(s * 0.82, s * 0.26)}));
        break;
    }
    return pixmap;
}

QPixmap paintProgramIcon(int s)
{
    QPixmap pixmap(s, s);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    QLinearGradient fill(0, 0, 0, s);
    fill.setColorAt(0, QColor(0x2f, 0x6d, 0xb5));
    fill.setColorAt(1, kInk);
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(0.5, 0.5, s - 1.0, s - 1.0), s * 0.2, s * 0.2);
    drawNote(p, s * 0.08, s * 0.06, s * 0.84, Qt::white);
    return pixmap;
}

} // namespace

QIcon Artwork::programIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64})
        icon.addPixmap(paintProgramIcon(size));
    return icon;
}

QIcon Artwork::glyph(Glyph glyph)
{
    QIcon icon;
    for (int size : {16, 24, 32})
        icon.addPixmap(paintGlyph(glyph, size));
    return icon;
}

QPixmap Artwork::defaultCover(int side)
{
    QPixmap pixmap(side, side);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fill(0, 0, side, side);
    fill.setColorAt(0, QColor(0xe8, 0xee, 0xf6));
    fill.setColorAt(1, QColor(0xc4, 0xd3, 0xe8));
    p.fillRect(pixmap.rect(), fill);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x2b, 0x2b, 0x2b));
    const qreal disc = side * 0.72;
    p.drawEllipse(QRectF((side - disc) / 2, (side - disc) / 2, disc, disc));
    p.setPen(QPen(QColor(0x44, 0x44, 0x44), 1));
    for (qreal r : {0.30, 0.26, 0.22})
        p.drawEllipse(QPointF(side / 2.0, side / 2.0), side * r, side * r);
    p.setPen(Qt::NoPen);
    p.setBrush(kAccent);
    p.drawEllipse(QPointF(side / 2.0, side / 2.0), side * 0.12, side * 0.12);
    drawNote(p, side * 0.41, side * 0.40, side * 0.18, Qt::white);
    return pixmap;
}

QPixmap Artwork::stars(int stars)
{
    QPixmap pixmap(65, 17);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0xb0, 0x7c, 0x0a), 0.8));
    p.setBrush(QColor(0xf5, 0xc0, 0x1a));
    for (int i = 0; i < std::clamp(stars, 0, 5); ++i) {
        QPolygonF star;
        const QPointF centre(6.5 + i * 13, 8.5);
        for (int k = 0; k < 10; ++k) {
            const double radius = k % 2 == 0 ? 6.2 : 2.6;
            const double angle = -M_PI / 2 + k * M_PI / 5;
            star << centre + QPointF(radius * std::cos(angle), radius * std::sin(angle));
        }
        p.drawPolygon(star);
    }
    return pixmap;
}
