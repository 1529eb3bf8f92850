#include "window_fixture.h"

#include "common/date_serial.h"
#include "widgets/widget_probe.h"

#include <QApplication>
#include <QDir>
#include <QLocale>
#include <QTest>

namespace kalvian::test {

namespace {

double march(int day) {
    return toSerial({2008, 3, day});
}

paradox::IssuedRow issued(int day, const char* modu, std::int32_t number, std::int32_t client) {
    paradox::IssuedRow row;
    row.insmun = 123.0;
    row.data = march(day);
    row.modu = std::string(modu);
    row.numnf = number;
    row.valnf = 1500.5;
    row.valser = 1000.0;
    row.restrb = std::string("R");
    row.aliquo = 5.0;
    row.alqret = 0.0;
    row.codcli = client;
    return row;
}

paradox::ReceivedRow received(int day, std::int32_t number, std::int32_t client) {
    paradox::ReceivedRow row;
    row.key = number;
    row.insmun = 123.0;
    row.data = march(day);
    row.datemi = march(day);
    row.numnf = number;
    row.valnf = 1500.5;
    row.valser = 1000.0;
    row.aliquo = 5.0;
    row.impret = 50.0;
    row.codcli = client;
    return row;
}

paradox::ClientRow client(std::int32_t code, const char* name) {
    paradox::ClientRow row;
    row.codcli = code;
    row.insmun = 9876.0;
    row.numcnpj = std::string("12345678000199");
    row.nome = std::string(name);
    row.rua = std::string("Rua das Ac\xE1"
                          "cias");
    row.numero = std::int32_t{10};
    row.bairro = std::string("Centro");
    row.cidade = std::string("Bras\xEDlia");
    row.estado = std::string("DF");
    row.cep = std::string("70000000");
    return row;
}

} // namespace

paradox::Vrk3Tables goldenTables() {
    paradox::Vrk3Tables tables;
    tables.issued = {issued(3, "1", 101, 1), issued(4, "X", 102, 2), issued(5, "2", 103, 2)};
    tables.received = {received(6, 501, 2), received(7, 502, 57)};
    tables.clients = {client(1, "Jo\xE3o da Silva"), client(2, "Concei\xE7\xE3o Servi\xE7os Ltda")};
    return tables;
}

void WindowTest::SetUp() {
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    m_previousFolder = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(QString::fromStdString(startFolder.path().string())));
    openWindow();
}

void WindowTest::openWindow() {
    auto answering = std::make_unique<AnsweringMessages>();
    auto dialogs = std::make_unique<AnsweringChoosers>();
    messages = answering.get();
    choosers = dialogs.get();
    window = std::make_unique<TfrmKalvian>(std::move(answering), std::move(dialogs));
    for (const char* name : {"edtDataIni", "edtDataFin"}) {
        date(name)->setSeparatorSource([] { return '/'; });
        date(name)->setTodaySource([] { return CalendarDate{2008, 6, 20}; });
        date(name)->setBeep([] {});
    }
    showActive(*window);
}

void WindowTest::TearDown() {
    window.reset();
    QDir::setCurrent(m_previousFolder);
    QLocale::setDefault(QLocale::c());
}

QString WindowTest::focused() const {
    const QWidget* widget = QApplication::focusWidget();
    return widget != nullptr ? widget->objectName() : QStringLiteral("(none)");
}

void WindowTest::typeInto(const char* name, const QString& keys) {
    auto* widget = control<QWidget>(name);
    QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(3, widget->height() / 2));
    ASSERT_TRUE(widget->hasFocus()) << name;
    QTest::keyClicks(widget, keys);
}

void WindowTest::click(const char* button) {
    auto* pressed = control<QPushButton>(button);
    ASSERT_TRUE(pressed->isVisible() && pressed->isEnabled()) << button;
    QTest::mouseClick(pressed, Qt::LeftButton);
}

void WindowTest::query(const QString& registration, const QString& start, const QString& end,
                       const std::filesystem::path& folder) {
    edit("edtInscricao")->clear();
    edit("edtOrigem")->setText(QString::fromStdString(folder.string()));
    typeInto("edtInscricao", registration);
    typeInto("edtDataIni", start);
    typeInto("edtDataFin", end);
    click("btnConsulta");
}

void WindowTest::queryGoldenTables() {
    goldenTables().write(source.path());
    query(QStringLiteral("123"), QStringLiteral("01032008"), QStringLiteral("31032008"), source.path());
    ASSERT_EQ(messages->shown, std::vector<std::string>{});
}

} // namespace kalvian::test
