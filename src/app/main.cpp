// The program: one window, no command-line arguments.
#include "app/application_start.h"
#include "app/main_window.h"
#include "platform/process.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char* argv[]) {
    kalvian::markWindowOpen();
    QApplication application(argc, argv);
    if (!kalvian::startApplication(application)) {
        std::fputs("Aviso: a tradução do Qt para português não pôde ser carregada; os botões das caixas e os "
                   "diálogos de arquivo ficam em inglês.\n",
                   stderr);
    }
    kalvian::TfrmKalvian window;
    window.show();
    return QApplication::exec();
}
