#pragma once

#include <QByteArray>
#include <QImage>

namespace kalvian {

// Decodes JPEG bytes with libjpeg into an RGB image; a null image when the bytes are no JPEG libjpeg can
// read.
QImage decodeJpeg(const QByteArray& bytes);

} // namespace kalvian
