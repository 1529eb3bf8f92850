// The window as it starts: its controls, their places and texts, the actions, and the enabling rule.
#include "app/window_fixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QProgressBar>
#include <QStandardPaths>
#include <QTest>

namespace kalvian::test {
namespace {

TEST_F(WindowTest, StartsInTheInputStateWithTheCurrentFolder) {
    const QString current = QString::fromStdString(startFolder.path().string());
    EXPECT_EQ(window->windowTitle(), QStringLiteral(":: Exportação de Dados da VRK 3 ::"));
    EXPECT_EQ(window->windowIcon().pixmap(64, 64).size(), QSize(64, 64));
    EXPECT_EQ(window->size(), QSize(513, 392));
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    EXPECT_EQ(edit("edtOrigem")->text(), current);
    EXPECT_EQ(edit("edtDestino")->text(), current);
    EXPECT_EQ(edit("edtArquivo")->text(), QString());
    EXPECT_EQ(edit("edtInscricao")->maxLength(), 11);
    EXPECT_EQ(date("edtDataIni")->DateValue(), kBlankDate);
    EXPECT_FALSE(action("actConsulta")->isEnabled());
    EXPECT_FALSE(action("actExportar")->isEnabled());
    EXPECT_FALSE(control<QFrame>("sbNotasLocalizadas")->isVisible());
    EXPECT_FALSE(control<QFrame>("pnlExportando")->isVisible());
    EXPECT_TRUE(control<QFrame>("pnlBotoes")->isVisible());
    // Before any step both buttons are there, the query button over the other.
    EXPECT_TRUE(control<QPushButton>("btnConsulta")->isVisible());
    EXPECT_TRUE(control<QPushButton>("btnNovaConsulta")->isVisible());
    EXPECT_EQ(window->childAt(control<QPushButton>("btnConsulta")->mapTo(window.get(), QPoint(50, 12))),
              control<QPushButton>("btnConsulta"));
    for (const char* count : {"lblEmitidas", "lblRecebidas", "lblTotal"}) {
        EXPECT_EQ(text(count), QStringLiteral("-")) << count;
    }
}

TEST_F(WindowTest, StartedInTheProgramsOwnFolderStartsInTheUsersDocuments) {
    ASSERT_TRUE(QDir::setCurrent(QCoreApplication::applicationDirPath()));
    openWindow();
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString expected =
        QDir::toNativeSeparators(QFileInfo(documents).isDir() ? documents : QDir::homePath());
    EXPECT_EQ(edit("edtOrigem")->text(), expected);
    EXPECT_EQ(edit("edtDestino")->text(), expected);
}

TEST_F(WindowTest, ControlsLieAtTheirPlaces) {
    // Window coordinates: a box's children count from inside its one-pixel border.
    const struct {
        const char* name;
        QRect place;
    } cases[] = {
        {"edtInscricao", {12, 116, 121, 20}},    {"edtDataIni", {12, 159, 87, 20}},
        {"edtDataFin", {134, 159, 89, 20}},      {"sbNotasLocalizadas", {311, 106, 185, 90}},
        {"edtOrigem", {12, 203, 465, 20}},       {"btnConsulta", {12, 227, 100, 25}},
        {"btnNovaConsulta", {12, 227, 100, 25}}, {"edtDestino", {12, 296, 465, 20}},
        {"edtArquivo", {12, 336, 465, 20}},      {"pnlBotoes", {4, 357, 503, 31}},
        {"btnExportar", {12, 360, 75, 25}},      {"btnSair", {103, 360, 75, 25}},
        {"progBar", {148, 365, 351, 16}},
    };
    for (const auto& c : cases) {
        auto* widget = control<QWidget>(c.name);
        EXPECT_EQ(QRect(widget->mapTo(window.get(), QPoint(0, 0)), widget->size()), c.place) << c.name;
    }
}

TEST_F(WindowTest, ActionsGiveTheButtonsTheirCaptionsHintsAndShortcuts) {
    const struct {
        const char* action;
        const char* button;
        const char* caption;
        const char* hint;
        QKeySequence shortcut;
        bool enabled;
    } cases[] = {
        {"actPastaOrigem", nullptr, "", "Seleciona o local que contém os arquivos com os dados da VRK 3",
         QKeySequence(Qt::Key_F11), true},
        {"actPastaDestino", nullptr, "", "Seleciona a pasta onde o arquivo gerado será gravado",
         QKeySequence(Qt::Key_F12), true},
        {"actExportar",
         "btnExportar",
         "E&xportar",
         "Gera arquivo com os dados da VRK 3 para importação pela VRK 4",
         {},
         false},
        {"actSair", "btnSair", "Sai&r", "Fecha o programa e retorna ao Windows", {}, true},
        {"actConsulta", "btnConsulta", "Consultar Dados", "Pesquisa os dados da VRK 3", {}, false},
        {"actNovaConsulta",
         "btnNovaConsulta",
         "Nova Consulta",
         "Permite realizar nova pesquisa de dados",
         {},
         true},
        {"actAjuda", nullptr, "", "Abre o guia do usuário", QKeySequence(Qt::Key_F1), true},
    };
    for (const auto& c : cases) {
        QAction* act = action(c.action);
        EXPECT_EQ(act->text(), QString::fromUtf8(c.caption)) << c.action;
        EXPECT_EQ(act->toolTip(), QString::fromUtf8(c.hint)) << c.action;
        EXPECT_EQ(act->shortcut(), c.shortcut) << c.action;
        EXPECT_EQ(act->isEnabled(), c.enabled) << c.action;
        if (c.button != nullptr) {
            auto* button = control<QPushButton>(c.button);
            EXPECT_EQ(button->text(), act->text()) << c.button;
            EXPECT_EQ(button->toolTip(), act->toolTip()) << c.button;
            EXPECT_EQ(button->isEnabled(), act->isEnabled()) << c.button;
        }
    }
}

TEST_F(WindowTest, TextsAndColoursOfTheLabels) {
    QStringList texts;
    for (const QLabel* label : window->findChildren<QLabel*>()) {
        texts << label->text();
    }
    for (const char* expected :
         {"Dados da VRK 3.0", "Inscrição Municipal a exportar", "Período a exportar", " a ",
          "Notas Localizadas", "Emitidas", "Recebidas", "Total", "Localização dos arquivos a converter",
          "Resultado - Dados para VRK 4", "Localização do arquivo exportado", "Nome do Arquivo",
          "Exportando dados..."}) {
        EXPECT_TRUE(texts.contains(QString::fromUtf8(expected))) << expected;
    }
    const QImage shot = window->grab().toImage();
    // The upper title band, beside its text, and a count's navy.
    EXPECT_EQ(shot.pixelColor(10, 88), QColor(0xFF, 0xBA, 0x75));
    EXPECT_EQ(control<QLabel>("lblTotal")->palette().color(QPalette::WindowText), QColor(0, 0, 0x80));
    EXPECT_EQ(control<QLabel>("lblStatus")->palette().color(QPalette::WindowText), QColor(Qt::red));
    EXPECT_TRUE(control<QLabel>("lblStatus")->font().bold());
}

TEST_F(WindowTest, QueryIsEnabledExactlyWhenTheFourFieldsAreFilled) {
    const struct {
        const char* name;
        const char* registration;
        const char* start;
        const char* end;
        const char* folder;
        bool enabled;
    } cases[] = {
        {"todos", "1234", "01032008", "31032008", "/tmp", true},
        {"sem-inscricao", "", "01032008", "31032008", "/tmp", false},
        {"inscricao-em-branco", "   ", "01032008", "31032008", "/tmp", false},
        {"sem-inicio", "1234", nullptr, "31032008", "/tmp", false},
        {"inicio-so-com-foco", "1234", "", "31032008", "/tmp", false},
        {"sem-fim", "1234", "01032008", nullptr, "/tmp", false},
        {"sem-pasta", "1234", "01032008", "31032008", "", false},
        {"pasta-em-branco", "1234", "01032008", "31032008", "  ", false},
        {"inicio-parcial", "1234", "01", "31032008", "/tmp", true},
        {"inicio-so-zeros", "1234", "00000000", "31032008", "/tmp", true},
    };
    for (const auto& c : cases) {
        openWindow();
        edit("edtOrigem")->setText(QString::fromLatin1(c.folder));
        typeInto("edtInscricao", QString::fromLatin1(c.registration));
        for (const auto& [field, keys] : {std::pair{"edtDataIni", c.start}, std::pair{"edtDataFin", c.end}}) {
            if (keys != nullptr) {
                typeInto(field, QString::fromLatin1(keys));
            }
        }
        // Still typing in the end field: the rule looks at the texts, not at dates taken on leaving.
        EXPECT_EQ(action("actConsulta")->isEnabled(), c.enabled) << c.name;
        EXPECT_EQ(control<QPushButton>("btnConsulta")->isEnabled(), c.enabled) << c.name;
    }
}

TEST_F(WindowTest, AnEnteredEmptyDateIsEmptyWhateverTheSeparator) {
    for (const char separator : {'/', '.', '-'}) {
        openWindow();
        date("edtDataIni")->setSeparatorSource([separator] { return separator; });
        edit("edtOrigem")->setText(QStringLiteral("/tmp"));
        typeInto("edtInscricao", QStringLiteral("1234"));
        typeInto("edtDataFin", QStringLiteral("31032008"));
        typeInto("edtDataIni", QString());
        EXPECT_FALSE(action("actConsulta")->isEnabled()) << separator;
        typeInto("edtDataIni", QStringLiteral("0"));
        EXPECT_TRUE(action("actConsulta")->isEnabled()) << separator;
    }
}

} // namespace
} // namespace kalvian::test
