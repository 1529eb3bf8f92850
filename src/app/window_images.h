#pragma once

#include <QImage>

namespace kalvian {

// The banner and the logo kept in the program, decoded with libjpeg.
QImage bannerImage();
QImage logoImage();

} // namespace kalvian
