// Draws the window's two pictures, the banner and the logo, and writes them as JPEG files. They are drawn
// here rather than taken from anywhere so the program carries only pictures of its own.
//   draw_window_images <folder>   writes <folder>/banner.jpg and <folder>/logo.jpg
#include <QColor>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>

#include <cstdio>

namespace {

QImage banner() {
    QImage image(246, 80, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 246, 80);
    sky.setColorAt(0, QColor(0x12, 0x3a, 0x6b));
    sky.setColorAt(1, QColor(0x2f, 0x7f, 0xc1));
    painter.fillRect(image.rect(), sky);
    painter.setPen(QColor(0x75, 0xba, 0xff));
    for (int x = -80; x < 246; x += 14) {
        painter.drawLine(x, 80, x + 80, 0);
    }
    painter.fillRect(QRect(0, 52, 246, 28), QColor(0, 0, 0, 90));
    painter.setPen(Qt::white);
    painter.setFont(QFont("DejaVu Sans", 20, QFont::Bold));
    painter.drawText(QRect(8, 4, 238, 46), Qt::AlignLeft | Qt::AlignVCenter, "VRK 3 \u2192 4");
    painter.setFont(QFont("DejaVu Sans", 9));
    painter.drawText(QRect(8, 52, 238, 28), Qt::AlignLeft | Qt::AlignVCenter,
                     "Exporta\u00e7\u00e3o de notas de servi\u00e7o");
    return image;
}

QImage logo() {
    QImage image(92, 25, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(0xff, 0xba, 0x75));
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(QRectF(1, 3, 19, 19), 4, 4);
    painter.setPen(QColor(0x12, 0x3a, 0x6b));
    painter.setFont(QFont("DejaVu Sans", 10, QFont::Bold));
    painter.drawText(QRect(1, 3, 19, 19), Qt::AlignCenter, "K");
    painter.drawText(QRect(24, 0, 68, 25), Qt::AlignLeft | Qt::AlignVCenter, "Kalvian");
    return image;
}

} // namespace

int main(int argc, char* argv[]) {
    const QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "uso: draw_window_images PASTA\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const bool written =
        banner().save(folder + "/banner.jpg", "JPEG", 90) && logo().save(folder + "/logo.jpg", "JPEG", 90);
    if (!written) {
        std::fprintf(stderr, "falha ao gravar as imagens em %s\n", argv[1]);
        return 1;
    }
    return 0;
}
