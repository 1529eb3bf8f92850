// Draws the real window into a PNG, for the documentation: run under a display (xvfb-run) as
//   grab_window <file.png>
// It shows the window after a query step over a small set of tables written to a temporary folder.
#include "app/main_window.h"
#include "app/window_fixture.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QTest>

#include <cstdio>

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: grab_window <file.png>\n");
        return 2;
    }
    QApplication application(argc, argv);
    // Taken before the window's current folder becomes the tables' folder.
    const QString target = QDir::current().absoluteFilePath(QString::fromLocal8Bit(argv[1]));
    const kalvian::test::TempFolder source;
    kalvian::test::goldenTables().write(source.path());
    QDir::setCurrent(QString::fromStdString(source.path().string()));

    kalvian::TfrmKalvian window;
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) {
        return 1;
    }
    window.findChild<QLineEdit*>(QStringLiteral("edtInscricao"))->setText(QStringLiteral("123"));
    for (const auto& [name, day] : {std::pair{"edtDataIni", 1}, std::pair{"edtDataFin", 31}}) {
        auto* field = window.findChild<kalvian::TDateEdit*>(QString::fromLatin1(name));
        field->setDateValue(kalvian::toSerial({2008, 3, day}));
    }
    window.findChild<QAction*>(QStringLiteral("actConsulta"))->trigger();
    QTest::qWait(200);
    return window.grab().save(target, "PNG") ? 0 : 1;
}
