// Draws the real window into a PNG, for the README: run under a display (xvfb-run) as
//   grab_window <file.png> <folder>
// It shows the window after a query step for registration 1001, 01/01/2008 to 15/12/2008, over the tables
// of the folder (the bundled samples/vrk3).
#include "app/application_start.h"
#include "app/main_window.h"
#include "common/date_serial.h"
#include "widgets/date_edit.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QTest>

#include <cstdio>

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: grab_window <file.png> <folder>\n");
        return 2;
    }
    QApplication application(argc, argv);
    kalvian::startApplication(application);
    // Taken before the window's current folder becomes the tables' folder.
    const QString target = QDir::current().absoluteFilePath(QString::fromLocal8Bit(argv[1]));
    QDir::setCurrent(QString::fromLocal8Bit(argv[2]));

    kalvian::TfrmKalvian window;
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) {
        return 1;
    }
    window.findChild<QLineEdit*>(QStringLiteral("edtInscricao"))->setText(QStringLiteral("1001"));
    window.findChild<kalvian::TDateEdit*>(QStringLiteral("edtDataIni"))
        ->setDateValue(kalvian::toSerial({2008, 1, 1}));
    window.findChild<kalvian::TDateEdit*>(QStringLiteral("edtDataFin"))
        ->setDateValue(kalvian::toSerial({2008, 12, 15}));
    window.findChild<QAction*>(QStringLiteral("actConsulta"))->trigger();
    QTest::qWait(200);
    return window.grab().save(target, "PNG") ? 0 : 1;
}
