#include "window_images.h"

#include "app/jpeg_image.h"

#include <QFile>

namespace kalvian {

namespace {

QImage embedded(const QString& name) {
    QFile file(QStringLiteral(":/kalvian/images/") + name);
    return file.open(QIODevice::ReadOnly) ? decodeJpeg(file.readAll()) : QImage();
}

} // namespace

QImage bannerImage() {
    return embedded(QStringLiteral("banner.jpg"));
}

QImage logoImage() {
    return embedded(QStringLiteral("logo.jpg"));
}

} // namespace kalvian
