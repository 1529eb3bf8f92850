// The program: one window, no command-line arguments.
#include "app/application_title.h"
#include "app/main_window.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(kalvian::kApplicationTitle));
    kalvian::TfrmKalvian window;
    window.show();
    return QApplication::exec();
}
