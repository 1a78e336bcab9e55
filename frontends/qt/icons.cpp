#include "frontends/qt/icons.h"

#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <numbers>

namespace inkrun::app {
namespace {

using PaintFn = void (*)(QPainter&, int size);

// Small pictures get their own geometry on a 16 pixel grid; anything bigger
// is drawn on a 32 unit grid and scaled, which stays sharp at 32 and 64.
bool isSmall(int size) { return size < 24; }

void useGrid32(QPainter& p, int size) { p.scale(size / 32.0, size / 32.0); }

// Outline width in grid units that comes out as at least one device pixel.
qreal hairline(int size) { return std::max(1.0, 32.0 / size); }

QPen outline(const QColor& c, qreal width = 1.0) {
    return QPen(c, width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
}

QPen roundOutline(const QColor& c, qreal width = 1.0) {
    return QPen(c, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

QLinearGradient vertical(qreal y0, qreal y1, const QColor& top, const QColor& bottom) {
    QLinearGradient g(0, y0, 0, y1);
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    return g;
}

QPixmap renderPixmap(PaintFn paint, int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        paint(p, size);
    }
    return QPixmap::fromImage(image);
}

QIcon makeIcon(PaintFn paint, std::initializer_list<int> sizes) {
    QIcon icon;
    for (int size : sizes) icon.addPixmap(renderPixmap(paint, size));
    return icon;
}

QIcon makeIcon(PaintFn paint) { return makeIcon(paint, {16, 32, 64}); }

QPolygonF poly(std::initializer_list<QPointF> points) { return QPolygonF(QList<QPointF>(points)); }

// ---------------------------------------------------------------- hammer

void paintHammer(QPainter& p, int size) {
    useGrid32(p, size);
    const qreal lw = hairline(size);
    const bool small = isSmall(size);

    // Work along the handle: local y runs from the head down the shaft.
    p.translate(19.5, 11.5);
    p.rotate(45);

    QLinearGradient wood(-2.5, 0, 2.5, 0);
    wood.setColorAt(0, QColor(0xF2, 0xC2, 0x7A));
    wood.setColorAt(0.5, QColor(0xD8, 0x92, 0x44));
    wood.setColorAt(1, QColor(0xA8, 0x64, 0x24));
    QPainterPath handle;
    const qreal grip = small ? 3 : 2.6;  // a thinner shaft vanishes at 16 pixels
    handle.moveTo(-grip + 0.6, 2);
    handle.lineTo(grip - 0.6, 2);
    handle.lineTo(grip, 20.5);
    handle.quadTo(0, 23.5, -grip, 20.5);
    handle.closeSubpath();
    p.setPen(roundOutline(QColor(0x4A, 0x2A, 0x0C), lw));
    p.setBrush(wood);
    p.drawPath(handle);

    QLinearGradient steel(0, -4.5, 0, 4.5);
    steel.setColorAt(0, QColor(0xF4, 0xF6, 0xF8));
    steel.setColorAt(0.45, QColor(0xB4, 0xBA, 0xC2));
    steel.setColorAt(1, QColor(0x6A, 0x72, 0x7C));
    const QPolygonF head = poly({{-11, -4.5}, {-7, -4.5}, {-7, -3.5}, {6, -3.5}, {10.5, -1.5},
                                 {10.5, 1.5}, {6, 3.5}, {-7, 3.5}, {-7, 4.5}, {-11, 4.5}});
    p.setPen(outline(QColor(0x22, 0x26, 0x2C), lw));
    p.setBrush(steel);
    p.drawPolygon(head);

    if (!small) {
        p.setPen(roundOutline(QColor(255, 255, 255, 200), 1.0));
        p.drawLine(QPointF(-10, -3), QPointF(-8, -3));
        p.drawLine(QPointF(-6, -2.2), QPointF(5.5, -2.2));
    }
}

// ---------------------------------------------------------------- diskettes

struct DiskColours {
    QColor light, dark;
};

// One 3.5" diskette whose outline spans n pixels from (x, y) on the grid.
void paintDiskette(QPainter& p, qreal x, qreal y, qreal n, const DiskColours& c, bool small) {
    const QColor ink(0x10, 0x16, 0x24);
    const qreal cut = small ? 2 : 3;
    const QPolygonF body = poly({{x, y}, {x + n - cut, y}, {x + n, y + cut}, {x + n, y + n}, {x, y + n}});
    p.setPen(outline(ink));
    p.setBrush(vertical(y, y + n, c.light, c.dark));
    p.drawPolygon(body);

    // Metal shutter with its slot.
    const qreal sx0 = x + (small ? 3 : 5), sx1 = x + n - (small ? 3 : 5);
    const qreal sy1 = y + (small ? 4 : 7);
    p.setBrush(vertical(y, sy1, QColor(0xF0, 0xF2, 0xF4), QColor(0x98, 0xA0, 0xA8)));
    p.drawRect(QRectF(QPointF(sx0, y), QPointF(sx1, sy1)));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x30, 0x36, 0x40));
    if (small)
        p.drawRect(QRectF(sx1 - 2.5, y + 1.5, 1, 2));
    else
        p.drawRect(QRectF(sx1 - 4.5, y + 1.5, 2, 4));

    // Paper label.
    const qreal lx0 = x + (small ? 2 : 3), lx1 = x + n - (small ? 2 : 3);
    const qreal ly0 = y + (small ? 6 : 10);
    p.setPen(outline(ink));
    p.setBrush(QColor(0xFC, 0xFC, 0xF8));
    p.drawRect(QRectF(QPointF(lx0, ly0), QPointF(lx1, y + n)));
    p.setPen(outline(QColor(0x90, 0x98, 0xB0)));
    if (small) {
        p.drawLine(QPointF(lx0 + 2, ly0 + 2), QPointF(lx1 - 2, ly0 + 2));
    } else {
        p.drawLine(QPointF(lx0 + 2, ly0 + 3), QPointF(lx1 - 2, ly0 + 3));
        p.drawLine(QPointF(lx0 + 2, ly0 + 6), QPointF(lx1 - 4, ly0 + 6));
    }
}

void paintDiskettes(QPainter& p, int size) {
    const DiskColours back{QColor(0x5A, 0x5E, 0x66), QColor(0x30, 0x33, 0x38)};
    const DiskColours middle{QColor(0xD0, 0x50, 0x48), QColor(0x90, 0x24, 0x20)};
    const DiskColours front{QColor(0x4A, 0x78, 0xD0), QColor(0x1C, 0x3C, 0x88)};
    if (isSmall(size)) {
        paintDiskette(p, 4.5, 0.5, 11, back, true);
        paintDiskette(p, 0.5, 4.5, 11, front, true);
        return;
    }
    useGrid32(p, size);
    paintDiskette(p, 9.5, 1.5, 20, back, false);
    paintDiskette(p, 5.5, 5.5, 20, middle, false);
    paintDiskette(p, 1.5, 9.5, 20, front, false);
}

// ---------------------------------------------------------------- eraser

void paintEraser(QPainter& p, int size) {
    useGrid32(p, size);
    const qreal lw = hairline(size);
    const bool small = isSmall(size);
    const QColor graphite(0x30, 0x30, 0x38);

    // The pencil line: still whole to the right, rubbed away on the left.
    const qreal lineY = 27;
    p.setPen(QPen(graphite, 2, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(12, lineY), QPointF(31, lineY));
    QColor faint = graphite;
    faint.setAlpha(small ? 110 : 90);
    p.setPen(QPen(faint, 2, Qt::SolidLine, Qt::FlatCap));
    if (small) {
        p.drawLine(QPointF(2, lineY), QPointF(6, lineY));
    } else {
        p.drawLine(QPointF(1, lineY), QPointF(3, lineY));
        p.drawLine(QPointF(5, lineY), QPointF(6.5, lineY));
        p.drawLine(QPointF(9, lineY), QPointF(10, lineY));
    }

    if (!small) {
        // Crumbs left behind by the rubbing.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xD8, 0x70, 0x90));
        p.drawEllipse(QPointF(4, 23.5), 0.9, 0.9);
        p.drawEllipse(QPointF(8, 30), 0.8, 0.8);
        p.drawEllipse(QPointF(1.5, 30), 0.7, 0.7);
    }

    // The block, tilted so its pink end rests on the line.
    p.translate(17, 13);
    p.rotate(-35);
    const QColor ink(0x3A, 0x20, 0x2A);
    const qreal half = 11.5, top = -5, face = 5, depth = 8;
    const qreal joint = -1;  // where the pink rubber meets the white sleeve

    // Underside (thickness) first, so the top face overlaps it cleanly.
    p.setPen(outline(ink, lw));
    p.setBrush(QColor(0xC8, 0x50, 0x74));
    p.drawRect(QRectF(QPointF(-half, face), QPointF(joint, depth)));
    p.setBrush(QColor(0xB8, 0xBE, 0xCC));
    p.drawRect(QRectF(QPointF(joint, face), QPointF(half, depth)));

    QLinearGradient pink(0, top, 0, face);
    pink.setColorAt(0, QColor(0xFF, 0xB8, 0xCC));
    pink.setColorAt(1, QColor(0xF0, 0x78, 0x9C));
    p.setBrush(pink);
    p.drawRect(QRectF(QPointF(-half, top), QPointF(joint, face)));
    QLinearGradient sleeve(0, top, 0, face);
    sleeve.setColorAt(0, QColor(0xFF, 0xFF, 0xFF));
    sleeve.setColorAt(1, QColor(0xC4, 0xD0, 0xE8));
    p.setBrush(sleeve);
    p.drawRect(QRectF(QPointF(joint, top), QPointF(half, face)));

    {
        // A stripe on the sleeve reads as a printed wrapper.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x3C, 0x6C, 0xC8));
        p.drawRect(QRectF(QPointF(joint + 4, top + 0.5), QPointF(joint + 7, face - 0.5)));
    }
}

// ---------------------------------------------------------------- folders

const QColor kFolderInk(0x6A, 0x48, 0x00);

QPainterPath folderBack(qreal left, qreal top, qreal tabRight, qreal tabSlope, qreal bodyTop, qreal right,
                        qreal bottom) {
    QPainterPath path;
    path.moveTo(left, bottom);
    path.lineTo(left, top);
    path.lineTo(tabRight, top);
    path.lineTo(tabRight + tabSlope, bodyTop);
    path.lineTo(right, bodyTop);
    path.lineTo(right, bottom);
    path.closeSubpath();
    return path;
}

void paintClosedFolder(QPainter& p, int size) {
    const bool small = isSmall(size);
    if (!small) useGrid32(p, size);

    const QPainterPath back = small ? folderBack(0.5, 2.5, 5.5, 2, 4.5, 15.5, 13.5)
                                    : folderBack(1.5, 4.5, 11.5, 3, 7.5, 30.5, 27.5);
    const QRectF front = small ? QRectF(QPointF(0.5, 5.5), QPointF(15.5, 13.5))
                               : QRectF(QPointF(1.5, 10.5), QPointF(30.5, 27.5));

    p.setPen(outline(kFolderInk));
    p.setBrush(vertical(back.boundingRect().top(), back.boundingRect().bottom(), QColor(0xF8, 0xD0, 0x58),
                        QColor(0xD0, 0x94, 0x10)));
    p.drawPath(back);
    p.setBrush(vertical(front.top(), front.bottom(), QColor(0xFF, 0xE8, 0x8C), QColor(0xE8, 0xAE, 0x24)));
    p.drawRect(front);
    p.setPen(outline(QColor(0xFF, 0xF8, 0xD8)));
    p.drawLine(QPointF(front.left() + 1, front.top() + 1), QPointF(front.right() - 1, front.top() + 1));
}

void paintOpenFolderText(QPainter& p, int size) {
    const bool small = isSmall(size);
    if (!small) useGrid32(p, size);

    const QPainterPath back = small ? folderBack(0.5, 2.5, 4.5, 2, 4.5, 13.5, 14.5)
                                    : folderBack(1.5, 5.5, 9.5, 3, 8.5, 26.5, 28.5);
    p.setPen(outline(kFolderInk));
    p.setBrush(vertical(back.boundingRect().top(), back.boundingRect().bottom(), QColor(0xE0, 0xA8, 0x28),
                        QColor(0xB0, 0x78, 0x08)));
    p.drawPath(back);

    // The sheet standing up out of the folder, with lines of text.
    const QRectF sheet = small ? QRectF(QPointF(3.5, 0.5), QPointF(11.5, 10))
                               : QRectF(QPointF(6.5, 1.5), QPointF(23.5, 20));
    p.setPen(outline(QColor(0x50, 0x54, 0x5C)));
    p.setBrush(QColor(0xFF, 0xFF, 0xFF));
    p.drawRect(sheet);
    p.setPen(outline(QColor(0x40, 0x60, 0xA8)));
    if (small) {
        for (qreal y : {2.5, 4.5, 6.5}) p.drawLine(QPointF(5.5, y), QPointF(y == 4.5 ? 8.5 : 9.5, y));
    } else {
        const qreal ends[] = {20.5, 17.5, 20.5, 15.5};
        qreal y = 4.5;
        for (qreal end : ends) {
            p.drawLine(QPointF(9.5, y), QPointF(end, y));
            y += 3;
        }
    }

    // Front cover swung open towards the viewer.
    const QPolygonF front = small ? poly({{3.5, 7.5}, {15.5, 7.5}, {12.5, 14.5}, {0.5, 14.5}})
                                  : poly({{7.5, 14.5}, {31.5, 14.5}, {26.5, 28.5}, {1.5, 28.5}});
    p.setPen(outline(kFolderInk));
    p.setBrush(vertical(front.boundingRect().top(), front.boundingRect().bottom(), QColor(0xFF, 0xEC, 0x98),
                        QColor(0xEC, 0xB2, 0x28)));
    p.drawPolygon(front);
    if (!small) {
        p.setPen(outline(QColor(0xFF, 0xF8, 0xD8)));
        p.drawLine(QPointF(8.5, 15.5), QPointF(29.5, 15.5));
    }
}

// ---------------------------------------------------------------- application

QPainterPath gearPath(QPointF c, qreal tip, qreal root, int teeth, qreal hole) {
    QPainterPath path;
    const qreal step = 2 * std::numbers::pi / teeth;
    for (int i = 0; i < teeth; ++i) {
        const qreal a = i * step - std::numbers::pi / 2;
        // Tooth flanks taper slightly so the teeth stay distinct when small.
        const qreal angles[] = {a - step * 0.25, a - step * 0.16, a + step * 0.16, a + step * 0.25};
        const qreal radii[] = {root, tip, tip, root};
        for (int k = 0; k < 4; ++k) {
            const QPointF pt(c.x() + radii[k] * std::cos(angles[k]), c.y() + radii[k] * std::sin(angles[k]));
            if (i == 0 && k == 0)
                path.moveTo(pt);
            else
                path.lineTo(pt);
        }
    }
    path.closeSubpath();
    path.addEllipse(c, hole, hole);
    path.setFillRule(Qt::OddEvenFill);
    return path;
}

void paintApplication(QPainter& p, int size) {
    const bool small = isSmall(size);
    const bool large = size >= 48;
    if (!small) useGrid32(p, size);
    const qreal px = small ? 1.0 : 32.0 / size;  // one device pixel in grid units

    const QColor ink(0x0C, 0x24, 0x50);
    const QColor chalk(0xF4, 0xF8, 0xFF);

    // Blueprint sheet with a turned-down corner.
    const qreal l = small ? 1.5 : 3.5, t = small ? 0.5 : 1.5, r = small ? 13.5 : 26.5,
                b = small ? 15.5 : 30.5, ear = small ? 4 : 6;
    const QPolygonF sheet = poly({{l, t}, {r - ear, t}, {r, t + ear}, {r, b}, {l, b}});
    p.setPen(outline(ink));
    p.setBrush(vertical(t, b, QColor(0x3C, 0x7C, 0xD0), QColor(0x1A, 0x48, 0x96)));
    p.drawPolygon(sheet);

    if (!small) {
        // Faint drafting grid.
        QColor grid(0xA8, 0xC8, 0xF0, large ? 70 : 45);
        p.setPen(QPen(grid, px));
        const qreal g0 = large ? 2 : 4;
        for (qreal x = l + g0; x < r - 0.5; x += g0) {
            const qreal top = x > r - ear ? t + ear - (r - x) + 0.5 : t + 0.5;
            p.drawLine(QPointF(x, std::max(top, t + 0.5)), QPointF(x, b - 0.5));
        }
        for (qreal y = t + g0; y < b - 0.5; y += g0)
            p.drawLine(QPointF(l + 0.5, y), QPointF(y < t + ear ? r - ear + (y - t) - 0.5 : r - 0.5, y));
    }

    // Floor plan in white: outer walls, a partition, a door swing.
    p.setBrush(Qt::NoBrush);
    p.setPen(outline(chalk));
    if (small) {
        p.drawRect(QRectF(QPointF(3.5, 3.5), QPointF(9.5, 10.5)));
        p.drawLine(QPointF(6.5, 3.5), QPointF(6.5, 6.5));
    } else {
        p.drawRect(QRectF(QPointF(6.5, 6.5), QPointF(20.5, 21.5)));
        p.drawLine(QPointF(13.5, 6.5), QPointF(13.5, 13.5));
        // The gap in this wall is a doorway.
        p.drawLine(QPointF(6.5, 13.5), QPointF(8.5, 13.5));
        p.drawLine(QPointF(12.5, 13.5), QPointF(20.5, 13.5));
        if (large) {
            p.setPen(QPen(chalk, px));
            p.drawLine(QPointF(12.5, 13.5), QPointF(12.5, 17.5));
            p.drawArc(QRectF(8.5, 9.5, 8, 8), 180 * 16, 90 * 16);
        }
        // Dimension line with ticks under the plan.
        p.setPen(QPen(QColor(0xC8, 0xDC, 0xF8), px));
        p.drawLine(QPointF(6.5, 25.5), QPointF(15, 25.5));
        p.drawLine(QPointF(6.5, 24), QPointF(6.5, 27));
    }

    // Orange gear: the machinery that turns the plan into a script.
    const QPainterPath gear = small ? gearPath({11.5, 11.5}, 4.5, 3.3, 6, 1.2)
                                    : gearPath({24, 24}, 7.5, 5.6, 8, 2.2);
    QRadialGradient brass(small ? QPointF(10.5, 10.5) : QPointF(22, 22), small ? 5 : 9);
    brass.setColorAt(0, QColor(0xFF, 0xD8, 0x70));
    brass.setColorAt(1, QColor(0xE0, 0x78, 0x10));
    p.setPen(outline(QColor(0x5A, 0x2C, 0x00)));
    p.setBrush(brass);
    p.drawPath(gear);
}

// ---------------------------------------------------------------- information

void paintInformation(QPainter& p, int size) {
    const bool small = isSmall(size);
    if (!small) useGrid32(p, size);

    const QPointF c = small ? QPointF(8, 8) : QPointF(16, 16);
    const qreal radius = small ? 7.5 : 15;
    QRadialGradient disc(c - QPointF(radius * 0.35, radius * 0.45), radius * 1.3);
    disc.setColorAt(0, QColor(0x58, 0x8C, 0xE0));
    disc.setColorAt(1, QColor(0x10, 0x34, 0x80));
    p.setPen(outline(QColor(0x08, 0x1C, 0x48)));
    p.setBrush(disc);
    p.drawEllipse(c, radius - 0.5, radius - 0.5);

    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    QPainterPath stem;
    if (small) {
        p.drawRect(QRectF(7, 3, 2, 2));
        stem.moveTo(6, 6);
        stem.lineTo(9, 6);
        stem.lineTo(9, 11);
        stem.lineTo(10, 11);
        stem.lineTo(10, 13);
        stem.lineTo(6, 13);
        stem.lineTo(6, 11);
        stem.lineTo(7, 11);
        stem.lineTo(7, 8);
        stem.lineTo(6, 8);
    } else {
        p.drawEllipse(QPointF(16, 8.5), 2.6, 2.6);
        stem.moveTo(12.5, 13);
        stem.lineTo(18, 13);
        stem.lineTo(18, 23);
        stem.lineTo(20, 23);
        stem.lineTo(20, 26);
        stem.lineTo(12, 26);
        stem.lineTo(12, 23);
        stem.lineTo(14, 23);
        stem.lineTo(14, 16);
        stem.lineTo(12.5, 16);
    }
    stem.closeSubpath();
    p.drawPath(stem);
}

}  // namespace

QIcon hammerIcon() { return makeIcon(paintHammer); }
QIcon diskettesIcon() { return makeIcon(paintDiskettes); }
QIcon eraserIcon() { return makeIcon(paintEraser); }
QIcon closedFolderIcon() { return makeIcon(paintClosedFolder); }
QIcon openFolderTextIcon() { return makeIcon(paintOpenFolderText); }
QIcon applicationIcon() { return makeIcon(paintApplication, {16, 24, 32, 48, 64}); }
QIcon informationIcon() { return makeIcon(paintInformation); }

QPixmap applicationPixmap(int size) { return renderPixmap(paintApplication, std::max(size, 1)); }

}  // namespace inkrun::app
