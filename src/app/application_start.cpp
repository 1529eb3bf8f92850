#include "application_start.h"

#include "app/application_title.h"

#include <QApplication>
#include <QTranslator>

#include <memory>

namespace kalvian {

bool startApplication(QApplication& application) {
    QApplication::setApplicationName(QString::fromUtf8(kApplicationTitle));
    // Loaded by its name, not through the locale: the window speaks Portuguese under any locale.
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(QStringLiteral(":/kalvian/qtbase_pt_BR.qm"))) {
        return false;
    }
    translator->setParent(&application);
    return QApplication::installTranslator(translator.release());
}

} // namespace kalvian
