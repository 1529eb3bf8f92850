// Draws the window's two pictures, the banner and the logo, as JPEG files, and the program's icon as a PNG
// (the same drawing as icons/kalvian.svg, for desktops and a Qt without the SVG plugin). They are drawn here
// rather than taken from anywhere so the program carries only pictures of its own.
//   draw_window_images <src/app>   writes images/banner.jpg, images/logo.jpg, icons/kalvian.png and the
//                                  Windows icon icons/kalvian.ico there
#include <QBuffer>
#include <QColor>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>
#include <iterator>

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

// icons/kalvian.svg, drawn at `size` pixels: an orange card with three navy lines and a red arrow.
QImage icon(int size = 256) {
    const double kScale = size / 64.0;
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(kScale, kScale);
    painter.setPen(QPen(QColor(0x00, 0x00, 0x80), 3));
    painter.setBrush(QColor(0xff, 0xba, 0x75));
    painter.drawRoundedRect(QRectF(4, 4, 56, 56), 8, 8);
    painter.setPen(QPen(QColor(0x00, 0x00, 0x80), 4, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(14, 22), QPointF(36, 22));
    painter.drawLine(QPointF(14, 32), QPointF(36, 32));
    painter.drawLine(QPointF(14, 42), QPointF(28, 42));
    painter.setPen(QPen(QColor(0xc0, 0x00, 0x00), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawLine(QPointF(40, 38), QPointF(50, 38));
    QPainterPath head;
    head.moveTo(44, 32);
    head.lineTo(50, 38);
    head.lineTo(44, 44);
    painter.drawPath(head);
    return image;
}

void appendLittleEndian(QByteArray& bytes, quint32 value, int width) {
    for (int i = 0; i < width; ++i) {
        bytes.append(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
}

// The icon Windows shows for the program in Explorer and the Start menu: a .ico holding the drawing at the
// sizes Windows asks for, each as a PNG (which every Windows since Vista reads).
bool saveWindowsIcon(const QString& path) {
    const int sizes[] = {16, 24, 32, 48, 64, 256};
    constexpr int kEntries = std::size(sizes);
    QByteArray header;
    QByteArray images;
    appendLittleEndian(header, 0, 2);        // reserved
    appendLittleEndian(header, 1, 2);        // an icon
    appendLittleEndian(header, kEntries, 2); // how many images
    quint32 offset = 6 + 16 * kEntries;
    for (const int size : sizes) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (!icon(size).save(&buffer, "PNG")) {
            return false;
        }
        appendLittleEndian(header, size % 256, 1); // 256 is written as 0
        appendLittleEndian(header, size % 256, 1);
        appendLittleEndian(header, 0, 2);  // no palette, reserved
        appendLittleEndian(header, 1, 2);  // planes
        appendLittleEndian(header, 32, 2); // bits per pixel
        appendLittleEndian(header, static_cast<quint32>(png.size()), 4);
        appendLittleEndian(header, offset, 4);
        offset += static_cast<quint32>(png.size());
        images += png;
    }
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(header + images) == header.size() + images.size();
}

} // namespace

int main(int argc, char* argv[]) {
    const QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "uso: draw_window_images PASTA (src/app)\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const bool written = banner().save(folder + "/images/banner.jpg", "JPEG", 90) &&
                         logo().save(folder + "/images/logo.jpg", "JPEG", 90) &&
                         icon().save(folder + "/icons/kalvian.png", "PNG") &&
                         saveWindowsIcon(folder + "/icons/kalvian.ico");
    if (!written) {
        std::fprintf(stderr, "falha ao gravar as imagens em %s\n", argv[1]);
        return 1;
    }
    return 0;
}
