#include "frontends/qt/icons.h"

#include <QApplication>
#include <QFile>
#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QPixmapCache>
#include <QStyle>
#include <QStyleOption>
#include <QSvgRenderer>

#include <algorithm>
#include <cmath>

namespace inkrun::qt {
namespace {

// The drawing for a pixel size: the hand-tuned 16 pixel picture below 24
// pixels, a 32 pixel one below 48 where an icon has it, else the master.
QString drawingFor(const QString& id, int pixels) {
    if (pixels < 24 && QFile::exists(":/icons/16/" + id + ".svg")) return ":/icons/16/" + id + ".svg";
    if (pixels < 48 && QFile::exists(":/icons/32/" + id + ".svg")) return ":/icons/32/" + id + ".svg";
    return ":/icons/" + id + ".svg";
}

QImage render(const QString& id, int pixels) {
    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QSvgRenderer renderer(drawingFor(id, pixels));
    QPainter painter(&image);
    renderer.render(&painter, QRectF(0, 0, pixels, pixels));
    return image;
}

// Renders at exactly the device pixels asked for, so the icons stay sharp at
// any scale factor instead of being stretched from a few fixed sizes.
class DrawingIconEngine : public QIconEngine {
public:
    explicit DrawingIconEngine(QString id) : id_(std::move(id)) {}

    QIconEngine* clone() const override { return new DrawingIconEngine(id_); }
    QString key() const override { return "inkrun-drawing"; }
    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return square(size); }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        QList<QSize> sizes;
        for (int side : {16, 24, 32, 48, 64, 128}) sizes.append(QSize(side, side));
        return sizes;
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override {
        const int pixels = std::max(1, square(size).width());
        const QString cacheKey = QString("inkrun-icon:%1:%2:%3").arg(id_).arg(pixels).arg(int(mode));
        QPixmap pixmap;
        if (QPixmapCache::find(cacheKey, &pixmap)) return pixmap;
        pixmap = QPixmap::fromImage(render(id_, pixels));
        if (mode != QIcon::Normal && qobject_cast<QApplication*>(QCoreApplication::instance())) {
            QStyleOption option;
            option.palette = QApplication::palette();
            pixmap = QApplication::style()->generatedIconPixmap(mode, pixmap, &option);
        }
        QPixmapCache::insert(cacheKey, pixmap);
        return pixmap;
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        const QSize side = square(rect.size());
        QPixmap picture = pixmap(QSize(std::lround(side.width() * ratio), std::lround(side.height() * ratio)), mode,
                                 state);
        picture.setDevicePixelRatio(ratio);
        const QRect target(
            rect.topLeft() + QPoint((rect.width() - side.width()) / 2, (rect.height() - side.height()) / 2), side);
        painter->drawPixmap(target, picture);
    }

private:
    static QSize square(const QSize& size) {
        const int side = std::min(size.width(), size.height());
        return QSize(side, side);
    }

    QString id_;
};

QIcon drawingIcon(const char* id) { return QIcon(new DrawingIconEngine(QString::fromLatin1(id))); }

}  // namespace

QIcon hammerIcon() { return drawingIcon("build"); }
QIcon diskettesIcon() { return drawingIcon("save"); }
QIcon eraserIcon() { return drawingIcon("clear"); }
QIcon closedFolderIcon() { return drawingIcon("open-drawings"); }
QIcon openFolderTextIcon() { return drawingIcon("open-setup"); }
QIcon applicationIcon() { return drawingIcon("program"); }
QIcon informationIcon() { return drawingIcon("information"); }

}  // namespace inkrun::qt
