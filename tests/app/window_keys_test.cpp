// Keys, the two choosers and leaving.
#include "app/window_fixture.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <QUrl>

namespace kalvian::test {
namespace {

TEST_F(WindowTest, EnterMovesAlongTheTabOrderExceptOnButtons) {
    edit("edtOrigem")->setText(QString::fromStdString(source.path().string()));
    typeInto("edtInscricao", QStringLiteral("123"));
    const char* order[] = {"edtDataIni", "edtDataFin", "edtOrigem", "btnConsulta"};
    const char* keys[] = {"01032008", "31032008", "", ""};
    for (std::size_t i = 0; i < std::size(order); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        EXPECT_EQ(focused(), QString::fromLatin1(order[i]));
        QTest::keyClicks(QApplication::focusWidget(), QString::fromLatin1(keys[i]));
    }
    // On the query button Enter presses it.
    goldenTables().write(source.path());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter);
    EXPECT_EQ(text("lblEmitidas"), QStringLiteral("3"));
    EXPECT_EQ(messages->shown, std::vector<std::string>{});
}

TEST_F(WindowTest, EnterOnSairAsksTheExitQuestion) {
    control<QPushButton>("btnSair")->setFocus();
    QTest::keyClick(control<QPushButton>("btnSair"), Qt::Key_Return);
    EXPECT_EQ(messages->shown,
              std::vector<std::string>{"ask Sair | Deseja encerrar o programa ? (question)"});
    EXPECT_TRUE(window->isVisible());
}

TEST_F(WindowTest, LeavingAsksAndOnlyYesCloses) {
    messages->answers = {false, true};
    click("btnSair");
    EXPECT_TRUE(window->isVisible());
    // A mnemonic presses its button a moment later, as a click would look.
    QTest::keyClick(edit("edtArquivo"), Qt::Key_R, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window->isVisible(); }));
    EXPECT_EQ(messages->shown.size(), 2U);
}

// Takes the URLs the window asks the system to open, in place of the browser.
class OpenedUrls : public QObject {
    Q_OBJECT

public:
    OpenedUrls() { QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "open"); }
    ~OpenedUrls() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }
    QList<QUrl> urls;

public slots:
    void open(const QUrl& url) { urls << url; }
};

TEST_F(WindowTest, F1OpensTheUserGuideBesideTheProgram) {
    const OpenedUrls opened;
    QTest::keyClick(edit("edtInscricao"), Qt::Key_F1);
    ASSERT_EQ(opened.urls.size(), 1) << messages->shown.size();
    const QString guide = opened.urls.front().toLocalFile();
    EXPECT_EQ(QFileInfo(guide).absoluteFilePath(),
              QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("guia-do-usuario.html")));
    QFile page(guide);
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    const QByteArray html = page.readAll();
    // One page with its pictures inside: nothing to lose beside it.
    EXPECT_TRUE(html.contains("<title>Kalvian — guia do usuário</title>"));
    EXPECT_TRUE(html.contains("<img src=\"data:image/png;base64,"));
    EXPECT_FALSE(html.contains("src=\"guia/"));
    EXPECT_EQ(messages->shown, std::vector<std::string>{});
}

TEST_F(WindowTest, ClosingByTheTitleBarAsksNothing) {
    window->close();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(messages->shown, std::vector<std::string>{});
}

TEST_F(WindowTest, F11ChoosesTheSourceFolder) {
    const struct {
        const char* name;
        QString typed;
        std::optional<QString> chosen;
        QString dialogFolder;
        QString result;
    } cases[] = {
        {"escolhido", "/dados", "/vrk3/DSEMI.db", "/dados", "/vrk3/"},
        {"cancelado", "/dados", std::nullopt, "/dados", "/dados"},
        {"sem-pasta", "/dados", "DSEMI.db", "/dados", "/dados"},
        {"brancos-contam", "  ", "/raiz/DSCLI.db", "  ", "/raiz/"},
        {"vazio-guarda-o-anterior", "", "/x/DSREC.db", "/raiz/", "/x/"},
    };
    for (const auto& c : cases) {
        edit("edtOrigem")->setText(c.typed);
        choosers->openAnswer = c.chosen;
        QTest::keyClick(edit("edtDestino"), Qt::Key_F11);
        ASSERT_FALSE(choosers->opened.empty()) << c.name;
        const FileRequest& request = choosers->opened.back();
        EXPECT_EQ(request.folder, c.dialogFolder) << c.name;
        EXPECT_EQ(request.title, QStringLiteral("Pasta onde estão armazenados os arquivos da VRK 3"))
            << c.name;
        EXPECT_EQ(request.filters,
                  (QStringList{QStringLiteral("Arquivo de Clientes VRK 3 (DSCLI.db)"),
                               QStringLiteral("Arquivo de Notas Emitidas VRK 3 (DSEMI.db)"),
                               QStringLiteral("Arquivo de Notas Recebidas VRK3 (DSREC.db)")}));
        EXPECT_EQ(request.defaultSuffix, QStringLiteral("db"));
        EXPECT_EQ(edit("edtOrigem")->text(), c.result) << c.name;
    }
    EXPECT_EQ(choosers->opened.size(), std::size(cases));
}

TEST_F(WindowTest, F12ChoosesTheDestinationAndTheName) {
    const struct {
        const char* name;
        QString folder;
        QString file;
        std::optional<QString> chosen;
        FileRequest shown;
        QString folderAfter;
        QString fileAfter;
    } cases[] = {
        {"escolhido",
         "/saida",
         " nome.txt ",
         "/outra/novo.txt",
         {{}, {}, {}, "/saida", " nome.txt "},
         "/outra/",
         "novo.txt"},
        {"mesmo-nome-fica",
         "/saida",
         " novo.txt",
         "/outra/novo.txt",
         {{}, {}, {}, "/saida", " novo.txt"},
         "/outra/",
         " novo.txt"},
        {"nome-vazio-guarda-o-anterior",
         "",
         "  ",
         std::nullopt,
         {{}, {}, {}, "/outra/", "novo.txt"},
         "",
         "  "},
        {"sem-pasta",
         "/saida",
         "",
         "so-nome.txt",
         {{}, {}, {}, "/saida", "novo.txt"},
         "/saida",
         "so-nome.txt"},
    };
    for (const auto& c : cases) {
        edit("edtDestino")->setText(c.folder);
        edit("edtArquivo")->setText(c.file);
        choosers->saveAnswer = c.chosen;
        QTest::keyClick(edit("edtInscricao"), Qt::Key_F12);
        ASSERT_FALSE(choosers->saved.empty()) << c.name;
        const FileRequest& request = choosers->saved.back();
        EXPECT_EQ(request.title, QStringLiteral("Pasta onde será gravado o arquivo exportado")) << c.name;
        EXPECT_EQ(request.filters, QStringList{QStringLiteral("Arquivo texto (*.txt)")});
        EXPECT_EQ(request.defaultSuffix, QStringLiteral("txt"));
        EXPECT_EQ(request.folder, c.shown.folder) << c.name;
        EXPECT_EQ(request.fileName, c.shown.fileName) << c.name;
        EXPECT_EQ(edit("edtDestino")->text(), c.folderAfter) << c.name;
        EXPECT_EQ(edit("edtArquivo")->text(), c.fileAfter) << c.name;
    }
}

TEST_F(WindowTest, SourceChooserStaysAvailableWhileResultsAreShown) {
    queryGoldenTables();
    choosers->openAnswer = QStringLiteral("/novo/DSEMI.db");
    QTest::keyClick(edit("edtArquivo"), Qt::Key_F11);
    EXPECT_EQ(edit("edtOrigem")->text(), QStringLiteral("/novo/"));
    EXPECT_FALSE(edit("edtOrigem")->isEnabled());
}

} // namespace
} // namespace kalvian::test

#include "window_keys_test.moc"
