// The icons come from SVG resources; a drawing that fails to load or parse gives an empty picture,
// which no other test would notice.
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QtTest>

#include "frontends/qt/icons.h"

namespace {

// Share of the picture's pixels that are not transparent.
double coverage(const QImage& image) {
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    int opaque = 0;
    for (int y = 0; y < argb.height(); ++y)
        for (int x = 0; x < argb.width(); ++x) opaque += qAlpha(argb.pixel(x, y)) > 0;
    return double(opaque) / (argb.width() * argb.height());
}

struct NamedIcon {
    const char* name;
    QIcon (*make)();
};

const NamedIcon kIcons[] = {
    {"hammer", inkrun::qt::hammerIcon},
    {"diskettes", inkrun::qt::diskettesIcon},
    {"eraser", inkrun::qt::eraserIcon},
    {"closed folder", inkrun::qt::closedFolderIcon},
    {"open folder", inkrun::qt::openFolderTextIcon},
    {"application", inkrun::qt::applicationIcon},
    {"information", inkrun::qt::informationIcon},
};

}  // namespace

class IconsTest : public QObject {
    Q_OBJECT
private slots:
    void everyIconIsDrawnAtEverySize() {
        for (const NamedIcon& icon : kIcons) {
            for (int side : {16, 24, 32, 48, 64, 256}) {
                const QPixmap pixmap = icon.make().pixmap(QSize(side, side));
                QCOMPARE(pixmap.size(), QSize(side, side));
                const double covered = coverage(pixmap.toImage());
                QVERIFY2(covered > 0.2,
                         qPrintable(QString("%1 at %2 px covers only %3").arg(icon.name).arg(side).arg(covered)));
            }
        }
    }

    void smallSizesUseTheirOwnDrawing() {
        // The 16 pixel hammer has a thicker outline than the master scaled down; if the small
        // drawing were lost, the two would match.
        const QImage small = inkrun::qt::hammerIcon().pixmap(QSize(16, 16)).toImage();
        const QImage scaled = inkrun::qt::hammerIcon()
                                  .pixmap(QSize(32, 32))
                                  .toImage()
                                  .scaled(16, 16, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        QVERIFY(small.convertToFormat(QImage::Format_ARGB32) != scaled.convertToFormat(QImage::Format_ARGB32));
    }

    void iconsAreSharpOnAScaledScreen() {
        // At a device pixel ratio of 2 the picture is rendered at twice the pixels, not stretched.
        for (const NamedIcon& icon : kIcons) {
            const QPixmap pixmap = icon.make().pixmap(QSize(32, 32), 2.0);
            QCOMPARE(pixmap.size(), QSize(64, 64));
            QCOMPARE(pixmap.devicePixelRatio(), 2.0);
            QImage pixels = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
            pixels.setDevicePixelRatio(1.0);
            QCOMPARE(pixels, icon.make().pixmap(QSize(64, 64)).toImage().convertToFormat(QImage::Format_ARGB32));
        }
    }

    void paintingIntoAScaledDeviceUsesItsPixels() {
        QImage target(64, 64, QImage::Format_ARGB32_Premultiplied);
        target.setDevicePixelRatio(2.0);
        target.fill(Qt::transparent);
        {
            QPainter painter(&target);
            inkrun::qt::informationIcon().paint(&painter, QRect(0, 0, 32, 32));
        }
        target.setDevicePixelRatio(1.0);
        QCOMPARE(target.convertToFormat(QImage::Format_ARGB32),
                 inkrun::qt::informationIcon().pixmap(QSize(64, 64)).toImage().convertToFormat(QImage::Format_ARGB32));
    }
};

QTEST_MAIN(IconsTest)
#include "icons_test.moc"
