// Draws the program's icon (a calendar page with a medical cross) at the sizes desktops
// use, into a hicolor icon theme folder: OUT/hicolor/NxN/apps/NAME.png. Run at build
// time; shapes only, so it needs no display and no fonts.
#include <QDir>
#include <QImage>
#include <QPainter>
#include <cstdio>

namespace {

// On a 256 x 256 canvas, as the cover picture draws it: a page with a blue head and
// border, two rings, and a red cross.
void draw(QPainter &p)
{
    const QColor blue(0x2f, 0x7f, 0x9f);
    const QRectF page(20, 28, 216, 204);
    p.setPen(Qt::NoPen);
    p.setBrush(blue);
    p.drawRoundedRect(page, 28, 28);
    p.setBrush(Qt::white);
    p.drawRoundedRect(page.adjusted(12, 58, -12, -12), 16, 16);
    p.drawEllipse(QPointF(78, 58), 12, 12);
    p.drawEllipse(QPointF(178, 58), 12, 12);
    p.setBrush(QColor(0xdc, 0x4c, 0x4c));
    p.drawRect(QRectF(107, 106, 42, 110));
    p.drawRect(QRectF(73, 140, 110, 42));
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "uso: %s PASTA NOME\n", argv[0]);
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    const QString name = QString::fromLocal8Bit(argv[2]);
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256, 512}) {
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(size / 256.0, size / 256.0);
        draw(painter);
        painter.end();
        const QString dir = QStringLiteral("%1/hicolor/%2x%2/apps").arg(out).arg(size);
        if (!QDir().mkpath(dir) || !image.save(dir + QLatin1Char('/') + name + QStringLiteral(".png"))) {
            std::fprintf(stderr, "não foi possível gravar o ícone em %s\n", qPrintable(dir));
            return 1;
        }
    }
    return 0;
}
