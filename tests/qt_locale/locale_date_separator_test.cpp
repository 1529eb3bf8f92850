#include "qt_locale/locale_date_separator.h"

#include <gtest/gtest.h>

namespace kalvian {
namespace {

TEST(LocaleDateSeparator, FirstSeparatorOfShortDateFormat) {
    const struct {
        QLocale locale;
        char separator;
    } cases[] = {{QLocale(QLocale::Portuguese, QLocale::Brazil), '/'},
                 {QLocale(QLocale::German, QLocale::Germany), '.'},
                 {QLocale(QLocale::Dutch, QLocale::Netherlands), '-'},
                 {QLocale(QLocale::English, QLocale::UnitedStates), '/'},
                 {QLocale(QLocale::Hungarian, QLocale::Hungary), '.'},
                 {QLocale(QLocale::Japanese, QLocale::Japan), '/'},
                 {QLocale::c(), '/'}};
    for (const auto& c : cases) {
        const QString format = c.locale.dateFormat(QLocale::ShortFormat);
        EXPECT_EQ(localeDateSeparator(c.locale), c.separator) << format.toStdString();
    }
}

} // namespace
} // namespace kalvian
