// Draws the real window over the bundled demo tables, in the states the user guide shows, as PNG files:
//   window_pictures <samples/vrk3> <docs/guia> [OFFICE]
// The tables are copied to contabilidade/VRK3 and exported to contabilidade/VRK4 in a fresh temporary folder,
// removed at the end, so the pictures show those two folders rather than the drawing machine's own; or to
// OFFICE/VRK3 and OFFICE/VRK4, a folder that must not exist yet (C:\Contabilidade for the pictures of the
// Windows build), made and removed by the tool. It runs
// on Qt's offscreen platform: each picture is the window as it paints itself, with the message box it shows
// at that moment drawn over its middle, each under a plain title bar with its caption (what a desktop would
// draw around them).
#include "app/application_start.h"
#include "app/main_window.h"
#include "common/date_serial.h"
#include "widgets/date_edit.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>

namespace {

namespace fs = std::filesystem;

constexpr int kTitleHeight = 22;

// The widget under a title bar with its caption.
QImage framed(QWidget& widget) {
    const QImage content = widget.grab().toImage();
    QImage image(content.width() + 2, content.height() + kTitleHeight + 1, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.fillRect(image.rect(), QColor(0x2f, 0x4f, 0x7f));
    painter.setPen(Qt::white);
    QFont font = QApplication::font();
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(QRect(8, 0, image.width() - 16, kTitleHeight), Qt::AlignLeft | Qt::AlignVCenter,
                     widget.windowTitle());
    painter.drawImage(1, kTitleHeight, content);
    return image;
}

void save(const QImage& image, const QString& file) {
    if (!image.save(file, "PNG")) {
        throw std::runtime_error("não foi possível gravar " + file.toStdString());
    }
    std::printf("%s\n", qPrintable(file));
}

// Runs the action; the first box it shows is drawn over the window into file and answered with the button;
// any box that follows is answered with its default button.
void pictureWithBox(QWidget& window, QAction& action, const QString& file,
                    QMessageBox::StandardButton answer) {
    bool taken = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            return;
        }
        if (!taken) {
            QImage picture = framed(window);
            const QImage boxImage = framed(*box);
            QPainter painter(&picture);
            painter.drawImage((picture.width() - boxImage.width()) / 2,
                              (picture.height() - boxImage.height()) / 2, boxImage);
            painter.end();
            save(picture, file);
            taken = true;
            box->button(answer)->click();
        } else {
            box->defaultButton()->click();
        }
    });
    poll.start(20);
    action.trigger();
    if (!taken) {
        throw std::runtime_error("nenhuma caixa de mensagem para " + file.toStdString());
    }
}

template <class T> T& child(QWidget& window, const char* name) {
    T* found = window.findChild<T*>(QString::fromLatin1(name));
    if (found == nullptr) {
        throw std::runtime_error(std::string("a janela não tem ") + name);
    }
    return *found;
}

// A folder as the window shows it: the system's separators, one at the end.
QString shownFolder(const fs::path& path) {
    return QDir::toNativeSeparators(QString::fromStdString(path.generic_string() + "/"));
}

void drawAll(const fs::path& office, const QString& folder) {
    kalvian::TfrmKalvian window;
    window.show();
    QApplication::processEvents();
    auto& consulta = child<QAction>(window, "actConsulta");
    auto& novaConsulta = child<QAction>(window, "actNovaConsulta");
    auto& exportar = child<QAction>(window, "actExportar");

    child<QLineEdit>(window, "edtDestino").setText(shownFolder(office / "VRK4"));
    child<QLineEdit>(window, "edtInscricao").setText(QStringLiteral("1001"));
    child<kalvian::TDateEdit>(window, "edtDataIni").setDateValue(kalvian::toSerial({2008, 1, 1}));
    child<kalvian::TDateEdit>(window, "edtDataFin").setDateValue(kalvian::toSerial({2008, 12, 15}));
    save(framed(window), folder + "/janela-entrada.png");

    consulta.trigger();
    save(framed(window), folder + "/janela-resultado.png");

    pictureWithBox(window, exportar, folder + "/janela-exportado.png", QMessageBox::Ok);
    pictureWithBox(window, exportar, folder + "/pergunta-substituir.png", QMessageBox::No);

    novaConsulta.trigger();
    child<QLineEdit>(window, "edtOrigem").setText(shownFolder(office / "VRK4"));
    pictureWithBox(window, consulta, folder + "/erro-tabela-nao-encontrada.png", QMessageBox::Ok);
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "uso: window_pictures PASTA-DAS-TABELAS PASTA-DAS-FIGURAS [ESCRITORIO]\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    const fs::path tables = fs::absolute(argv[1]);
    const QString folder = QDir(QString::fromLocal8Bit(argv[2])).absolutePath();
    QApplication application(argc, argv);
    kalvian::startApplication(application);
    const QTemporaryDir scratch(QDir::tempPath() + QStringLiteral("/kalvian-figuras-XXXXXX"));
    if (!scratch.isValid()) {
        std::fprintf(stderr, "window_pictures: %s\n", qPrintable(scratch.errorString()));
        return 1;
    }
    const fs::path office =
        argc == 4 ? fs::path(argv[3]) : fs::path(scratch.path().toStdString()) / "contabilidade";
    // Only a folder the tool made is removed.
    if (!fs::create_directory(office)) {
        std::fprintf(stderr, "window_pictures: %s já existe\n", office.string().c_str());
        return 1;
    }
    int status = 0;
    try {
        fs::create_directories(office / "VRK3");
        fs::create_directories(office / "VRK4");
        for (const char* table : {"DSEMI.DB", "DSREC.DB", "DSCLI.DB"}) {
            fs::copy_file(tables / table, office / "VRK3" / table);
        }
        // The window starts with the current folder in both folder fields.
        QDir::setCurrent(shownFolder(office / "VRK3"));
        drawAll(office, folder);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "window_pictures: %s\n", error.what());
        status = 1;
    }
    // Windows removes no folder that is a process's current one.
    QDir::setCurrent(QDir::tempPath());
    fs::remove_all(office);
    return status;
}
