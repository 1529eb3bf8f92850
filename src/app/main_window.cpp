#include "main_window.h"

#include "app/action_button.h"
#include "app/application_title.h"
#include "app/count_text.h"
#include "app/folder_part.h"
#include "app/qt_file_choosers.h"
#include "app/qt_window_messages.h"
#include "app/start_folder.h"
#include "app/user_guide.h"
#include "app/window_images.h"
#include "common/date_serial.h"
#include "common/error.h"
#include "export_format/file_name.h"
#include "qt_locale/locale_date_separator.h"
#include "run/export_run.h"
#include "vrk3/wait_cursor.h"
#include "widgets/date_edit.h"
#include "widgets/flat_box.h"
#include "widgets/flat_line_edit.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QToolButton>
#include <QUrl>

#include <algorithm>
#include <limits>

namespace kalvian {

namespace {

const QColor kTitleBandColour(0xFF, 0xBA, 0x75); // the colour value 7715583

QFont arial(int points, bool bold) {
    QFont font(QStringLiteral("Arial"), points);
    font.setStyleHint(QFont::SansSerif);
    font.setBold(bold);
    return font;
}

QFont boxLabelFont() {
    QFont font(QStringLiteral("MS Sans Serif"), 8);
    font.setStyleHint(QFont::SansSerif);
    font.setBold(true);
    return font;
}

// Places a control by its design position, which counts from inside the parent's border.
template <class Widget> Widget* place(Widget* widget, int left, int top, int width, int height) {
    const auto* frame = qobject_cast<const QFrame*>(widget->parentWidget());
    const int border = frame != nullptr ? frame->frameWidth() : 0;
    widget->setGeometry(left + border, top + border, width, height);
    return widget;
}

QLabel* label(QWidget* parent, const QString& text, int left, int top, const QFont& font) {
    auto* result = new QLabel(text, parent);
    result->setFont(font);
    result->adjustSize();
    return place(result, left, top, result->width(), result->height());
}

QLabel* band(QWidget* parent, const QString& text, int height, const QFont& font, const QColor& colour) {
    auto* result = new QLabel(text, parent);
    result->setFont(font);
    result->setAlignment(Qt::AlignCenter);
    result->setAutoFillBackground(true);
    QPalette palette = result->palette();
    palette.setColor(QPalette::Window, colour);
    result->setPalette(palette);
    return place(result, 0, 0, parent->contentsRect().width(), height);
}

QFrame* box(QWidget* parent, const QString& name, int left, int top, int width, int height) {
    auto* result = new FlatBox(parent);
    result->setObjectName(name);
    return place(result, left, top, width, height);
}

// A panel along the bottom of a box, 31 pixels high.
QFrame* bottomPanel(QFrame* parent, const QString& name) {
    auto* result = new QFrame(parent);
    result->setObjectName(name);
    const QRect inside = parent->contentsRect();
    result->setGeometry(inside.left(), inside.bottom() + 1 - 31, inside.width(), 31);
    return result;
}

QLineEdit* edit(QWidget* parent, const QString& name, int left, int top, int width) {
    auto* result = new FlatLineEdit(parent);
    result->setObjectName(name);
    return place(result, left, top, width, 20);
}

QLabel* countLabel(QWidget* parent, const QString& name, int top) {
    auto* result = new QLabel(QStringLiteral("-"), parent);
    result->setObjectName(name);
    result->setFont(arial(8, true));
    result->setAlignment(Qt::AlignCenter);
    QPalette palette = result->palette();
    palette.setColor(QPalette::WindowText, QColor(0x00, 0x00, 0x80));
    result->setPalette(palette);
    return place(result, 76, top, 100, 14);
}

TDateEdit* dateField(QWidget* parent, const QString& name, int left, int width) {
    auto* result = new TDateEdit(parent);
    result->setObjectName(name);
    result->setAlignment(TextAlignment::taCenter);
    result->setAssumeDefault(true);
    result->setBaseChar(u'_');
    result->setCentury(true);
    result->setDateValue(kBlankDate);
    return place(result, left, 76, width, 20);
}

QToolButton* folderButton(QWidget* parent, QAction* action, int left, int top) {
    auto* result = new QToolButton(parent);
    result->setDefaultAction(action);
    result->setAutoRaise(true);
    result->setFocusPolicy(Qt::NoFocus);
    return place(result, left, top, 20, 19);
}

QLabel* picture(QWidget* parent, const QImage& image, int left, int top, int width, int height) {
    auto* result = new QLabel(parent);
    result->setAlignment(Qt::AlignCenter);
    result->setPixmap(
        QPixmap::fromImage(image.scaled(width, height, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    return place(result, left, top, width, height);
}

QAction* action(QWidget* window, const QString& name, const QString& caption, const QString& hint) {
    auto* result = new QAction(caption, window);
    result->setObjectName(name);
    result->setToolTip(hint);
    window->addAction(result);
    return result;
}

int progressValue(std::int64_t value) {
    return static_cast<int>(std::clamp<std::int64_t>(value, 0, std::numeric_limits<int>::max()));
}

// Every failure of a step reaches the user here, and only here.
template <class Work> void showingErrors(WindowMessages& messages, Work&& work) {
    try {
        work();
    } catch (const Error& error) {
        messages.showError(error.what());
    }
}

} // namespace

TfrmKalvian::TfrmKalvian(std::unique_ptr<WindowMessages> messages, std::unique_ptr<FileChoosers> choosers)
    : m_messages(messages ? std::move(messages) : std::make_unique<QtWindowMessages>(this)),
      m_choosers(choosers ? std::move(choosers) : std::make_unique<QtFileChoosers>(this)) {
    setObjectName(QStringLiteral("frmKalvian"));
    setWindowTitle(QStringLiteral(":: Exportação de Dados da VRK 3 ::"));
    // A PNG: the Qt of the target systems may lack the SVG plugin.
    setWindowIcon(QIcon(QStringLiteral(":/kalvian/icons/kalvian.png")));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFont(arial(8, false));
    setFixedSize(513, 392);
    // The flat look: the system window colour (the one behind the text of an edit) as background, which
    // the white logo blends into, rather than the grey of dialogs; a disabled edit keeps that colour too,
    // as the date fields do, and only its text greys.
    QPalette flat = palette();
    const QColor windowColour = flat.color(QPalette::Active, QPalette::Base);
    flat.setColor(QPalette::Window, windowColour);
    flat.setColor(QPalette::Disabled, QPalette::Base, windowColour);
    setPalette(flat);

    m_sourceDialog = {QStringLiteral("Pasta onde estão armazenados os arquivos da VRK 3"),
                      {QStringLiteral("Arquivo de Clientes VRK 3 (DSCLI.db)"),
                       QStringLiteral("Arquivo de Notas Emitidas VRK 3 (DSEMI.db)"),
                       QStringLiteral("Arquivo de Notas Recebidas VRK3 (DSREC.db)")},
                      QStringLiteral("db"),
                      {},
                      {}};
    m_destinationDialog = {QStringLiteral("Pasta onde será gravado o arquivo exportado"),
                           {QStringLiteral("Arquivo texto (*.txt)")},
                           QStringLiteral("txt"),
                           {},
                           {}};

    buildActions();
    auto* banner = place(new QLabel(this), 3, 1, 246, 80);
    banner->setScaledContents(true);
    banner->setPixmap(QPixmap::fromImage(bannerImage()));
    buildUpperBox();
    buildLowerBox();
    chainTabOrder();

    // The window sees every key before the focused control.
    qApp->installEventFilter(this);
    if (const QScreen* shown = screen()) {
        move(shown->availableGeometry().center() - rect().center());
    }
    FormCreate();
}

void TfrmKalvian::buildActions() {
    actPastaOrigem = action(this, QStringLiteral("actPastaOrigem"), {},
                            QStringLiteral("Seleciona o local que contém os arquivos com os dados da VRK 3"));
    actPastaOrigem->setShortcut(Qt::Key_F11);
    actPastaDestino = action(this, QStringLiteral("actPastaDestino"), {},
                             QStringLiteral("Seleciona a pasta onde o arquivo gerado será gravado"));
    actPastaDestino->setShortcut(Qt::Key_F12);
    for (QAction* chooser : {actPastaOrigem, actPastaDestino}) {
        chooser->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    }
    actExportar = action(this, QStringLiteral("actExportar"), QStringLiteral("E&xportar"),
                         QStringLiteral("Gera arquivo com os dados da VRK 3 para importação pela VRK 4"));
    actExportar->setEnabled(false);
    actSair = action(this, QStringLiteral("actSair"), QStringLiteral("Sai&r"),
                     QStringLiteral("Fecha o programa e retorna ao Windows"));
    actConsulta = action(this, QStringLiteral("actConsulta"), QStringLiteral("Consultar Dados"),
                         QStringLiteral("Pesquisa os dados da VRK 3"));
    actNovaConsulta = action(this, QStringLiteral("actNovaConsulta"), QStringLiteral("Nova Consulta"),
                             QStringLiteral("Permite realizar nova pesquisa de dados"));

    // F1, the key Windows users press for help, opens the user guide.
    actAjuda = action(this, QStringLiteral("actAjuda"), {}, QStringLiteral("Abre o guia do usuário"));
    actAjuda->setShortcut(Qt::Key_F1);

    connect(actAjuda, &QAction::triggered, this, &TfrmKalvian::actAjudaExecute);
    connect(actPastaOrigem, &QAction::triggered, this, &TfrmKalvian::actPastaOrigemExecute);
    connect(actPastaDestino, &QAction::triggered, this, &TfrmKalvian::actPastaDestinoExecute);
    connect(actExportar, &QAction::triggered, this, &TfrmKalvian::actExportarExecute);
    connect(actSair, &QAction::triggered, this, &TfrmKalvian::actSairExecute);
    connect(actConsulta, &QAction::triggered, this, &TfrmKalvian::actConsultaExecute);
    connect(actNovaConsulta, &QAction::triggered, this, &TfrmKalvian::actNovaConsultaExecute);
}

void TfrmKalvian::buildUpperBox() {
    m_upperBox = box(this, QStringLiteral("sbDadosVrk3"), 3, 82, 505, 176);
    band(m_upperBox, QStringLiteral("Dados da VRK 3.0"), 15, arial(9, true), kTitleBandColour);

    label(m_upperBox, QStringLiteral("Inscrição Municipal a exportar"), 8, 17, boxLabelFont());
    edtInscricao = edit(m_upperBox, QStringLiteral("edtInscricao"), 8, 33, 121);
    edtInscricao->setMaxLength(11);
    label(m_upperBox, QStringLiteral("Período a exportar"), 8, 59, boxLabelFont());
    edtDataIni = dateField(m_upperBox, QStringLiteral("edtDataIni"), 8, 87);
    label(m_upperBox, QStringLiteral(" a "), 105, 79, boxLabelFont());
    edtDataFin = dateField(m_upperBox, QStringLiteral("edtDataFin"), 130, 89);

    sbNotasLocalizadas = box(m_upperBox, QStringLiteral("sbNotasLocalizadas"), 307, 23, 185, 90);
    sbNotasLocalizadas->hide();
    band(sbNotasLocalizadas, QStringLiteral("Notas Localizadas"), 14, arial(8, true),
         QColor(0xC0, 0xC0, 0xC0));
    label(sbNotasLocalizadas, QStringLiteral("Emitidas"), 5, 22, boxLabelFont());
    lblEmitidas = countLabel(sbNotasLocalizadas, QStringLiteral("lblEmitidas"), 21);
    label(sbNotasLocalizadas, QStringLiteral("Recebidas"), 5, 42, boxLabelFont());
    lblRecebidas = countLabel(sbNotasLocalizadas, QStringLiteral("lblRecebidas"), 41);
    label(sbNotasLocalizadas, QStringLiteral("Total"), 5, 63, boxLabelFont())
        ->setToolTip(QStringLiteral("Número já contido nas notas emitidas"));
    lblTotal = countLabel(sbNotasLocalizadas, QStringLiteral("lblTotal"), 62);

    label(m_upperBox, QStringLiteral("Localização dos arquivos a converter"), 8, 104, boxLabelFont());
    edtOrigem = edit(m_upperBox, QStringLiteral("edtOrigem"), 8, 120, 465);
    folderButton(m_upperBox, actPastaOrigem, 474, 121);

    // Made first, so that the query button lies over it.
    btnNovaConsulta = place(new ActionButton(actNovaConsulta, m_upperBox), 8, 144, 100, 25);
    btnNovaConsulta->setObjectName(QStringLiteral("btnNovaConsulta"));
    btnConsulta = place(new ActionButton(actConsulta, m_upperBox), 8, 144, 100, 25);
    btnConsulta->setObjectName(QStringLiteral("btnConsulta"));

    connect(edtInscricao, &QLineEdit::textChanged, this, &TfrmKalvian::edtInscricaoChange);
    connect(edtDataIni, &TDateEdit::changed, this, &TfrmKalvian::edtInscricaoChange);
    connect(edtDataFin, &TDateEdit::changed, this, &TfrmKalvian::edtInscricaoChange);
    connect(edtOrigem, &QLineEdit::textChanged, this, &TfrmKalvian::edtInscricaoChange);
}

void TfrmKalvian::buildLowerBox() {
    m_lowerBox = box(this, QStringLiteral("sbDadosVrk4"), 3, 261, 505, 128);
    band(m_lowerBox, QStringLiteral("Resultado - Dados para VRK 4"), 15, arial(9, true), kTitleBandColour);

    label(m_lowerBox, QStringLiteral("Localização do arquivo exportado"), 8, 18, boxLabelFont());
    edtDestino = edit(m_lowerBox, QStringLiteral("edtDestino"), 8, 34, 465);
    folderButton(m_lowerBox, actPastaDestino, 474, 35);
    label(m_lowerBox, QStringLiteral("Nome do Arquivo"), 8, 58, boxLabelFont());
    edtArquivo = edit(m_lowerBox, QStringLiteral("edtArquivo"), 8, 74, 465);

    pnlBotoes = bottomPanel(m_lowerBox, QStringLiteral("pnlBotoes"));
    btnExportar = place(new ActionButton(actExportar, pnlBotoes), 8, 3, 75, 25);
    btnExportar->setObjectName(QStringLiteral("btnExportar"));
    btnExportar->setFont(arial(8, true));
    btnSair = place(new ActionButton(actSair, pnlBotoes), 99, 3, 75, 25);
    btnSair->setObjectName(QStringLiteral("btnSair"));
    picture(pnlBotoes, logoImage(), 409, 3, 92, 25)->setToolTip(QStringLiteral("Kalvian"));

    pnlExportando = bottomPanel(m_lowerBox, QStringLiteral("pnlExportando"));
    pnlExportando->hide();
    lblStatus = label(pnlExportando, QStringLiteral("Exportando dados..."), 10, 9, arial(9, true));
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    QPalette palette = lblStatus->palette();
    palette.setColor(QPalette::WindowText, Qt::red);
    lblStatus->setPalette(palette);
    progBar = place(new QProgressBar(pnlExportando), 144, 8, 351, 16);
    progBar->setObjectName(QStringLiteral("progBar"));
    progBar->setTextVisible(false);
    setProgressRange(0, 0);
}

void TfrmKalvian::chainTabOrder() {
    QWidget* const order[] = {edtInscricao,    edtDataIni, edtDataFin, edtOrigem,   btnConsulta,
                              btnNovaConsulta, edtDestino, edtArquivo, btnExportar, btnSair};
    for (std::size_t i = 1; i < std::size(order); ++i) {
        QWidget::setTabOrder(order[i - 1], order[i]);
    }
}

void TfrmKalvian::FormCreate() {
    const QString current = QDir::toNativeSeparators(startFolder());
    m_sourceDialog.folder = current;
    m_destinationDialog.folder = current;
    edtOrigem->setText(current);
    edtDestino->setText(current);
}

// ---- enabling and showing

void TfrmKalvian::edtInscricaoChange() {
    HabilitaConsulta();
}

void TfrmKalvian::HabilitaConsulta() {
    // An entered field with no digit typed reads "/  /" trimmed, with the field's own separator.
    const auto filledDate = [](const TDateEdit* field) {
        const QString text = field->Text().trimmed();
        const QChar separator = QChar::fromLatin1(field->DateSeparator());
        return !text.isEmpty() && text != QString(separator) + QStringLiteral("  ") + separator;
    };
    actConsulta->setEnabled(!edtInscricao->text().trimmed().isEmpty() && filledDate(edtDataIni) &&
                            filledDate(edtDataFin) && !edtOrigem->text().trimmed().isEmpty());
}

void TfrmKalvian::MostraTotais(bool found) {
    if (found) {
        const QString separator = QLocale().groupSeparator();
        const std::int64_t issued = m_queries.emitida().rowCount();
        const std::int64_t received = m_queries.recebida().rowCount();
        lblEmitidas->setText(formatCount(issued, separator));
        lblRecebidas->setText(formatCount(received, separator));
        lblTotal->setText(formatCount(issued + received, separator));
    }
    sbNotasLocalizadas->setVisible(found);
    for (QWidget* input : {static_cast<QWidget*>(edtInscricao), static_cast<QWidget*>(edtDataIni),
                           static_cast<QWidget*>(edtDataFin), static_cast<QWidget*>(edtOrigem)}) {
        input->setEnabled(!found);
    }
    actConsulta->setVisible(!found);
    actNovaConsulta->setVisible(!actConsulta->isVisible());
}

// ---- the actions

void TfrmKalvian::actConsultaExecute() {
    showingErrors(*m_messages, [this] {
        const std::string number = registration();
        const Period period{{edtDataIni->DateValue()}, {edtDataFin->DateValue()}};
        if (!ConsultaDados(m_queries, number, period, edtOrigem->text().toStdString(), *this)) {
            return;
        }
        MostraTotais(true);
        actExportar->setEnabled(true);
        edtArquivo->setText(QString::fromStdString(NomeArquivoPadrao(number, period)));
    });
}

void TfrmKalvian::actNovaConsultaExecute() {
    showingErrors(*m_messages, [this] {
        const WaitCursor waiting(*this);
        MostraTotais(false);
        actExportar->setEnabled(false);
        edtArquivo->clear();
        m_queries.FechaConsultas();
        if (edtInscricao->isEnabled() && edtInscricao->isVisible()) {
            edtInscricao->setFocus();
        }
    });
}

void TfrmKalvian::actExportarExecute() {
    m_exporting = true;
    showingErrors(*m_messages, [this] {
        ExportaDados(*this, {m_queries.emitida(), m_queries.recebida(), m_queries.cliente()},
                     localeDateSeparator(QLocale()));
    });
    m_exporting = false;
    if (m_closeWhenExported) {
        close();
    }
}

void TfrmKalvian::actPastaOrigemExecute() {
    if (!edtOrigem->text().isEmpty()) {
        m_sourceDialog.folder = edtOrigem->text();
    }
    const std::optional<QString> chosen = m_choosers->openFile(m_sourceDialog);
    if (!chosen) {
        return;
    }
    const QString folder = folderPart(*chosen);
    if (!folder.isEmpty()) {
        m_sourceDialog.folder = folder;
        edtOrigem->setText(folder);
    }
}

void TfrmKalvian::actPastaDestinoExecute() {
    if (!edtArquivo->text().trimmed().isEmpty()) {
        m_destinationDialog.fileName = edtArquivo->text();
    }
    if (!edtDestino->text().isEmpty()) {
        m_destinationDialog.folder = edtDestino->text();
    }
    const std::optional<QString> chosen = m_choosers->saveFile(m_destinationDialog);
    if (!chosen) {
        return;
    }
    const QString folder = folderPart(*chosen);
    const QString name = chosen->mid(folder.size());
    m_destinationDialog.fileName = name;
    if (!folder.isEmpty()) {
        m_destinationDialog.folder = folder;
        edtDestino->setText(folder);
    }
    if (name.trimmed() != edtArquivo->text().trimmed()) {
        edtArquivo->setText(name);
    }
}

void TfrmKalvian::actAjudaExecute() {
    showingErrors(*m_messages, [] {
        const QString guide = userGuideFile(QCoreApplication::applicationDirPath());
        const std::string shown = QDir::toNativeSeparators(guide).toStdString();
        if (!QFileInfo(guide).isFile()) {
            throw Error("O guia do usuário não foi encontrado: " + shown);
        }
        if (!QDesktopServices::openUrl(QUrl::fromLocalFile(guide))) {
            throw Error("O guia do usuário não pôde ser aberto no navegador: " + shown);
        }
    });
}

void TfrmKalvian::actSairExecute() {
    if (m_messages->askYesNo("Sair", "Deseja encerrar o programa ?", MessageIcon::Question)) {
        close();
    }
}

// ---- keys and closing

bool TfrmKalvian::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == this) {
        return FormKeyPress(static_cast<QKeyEvent*>(event));
    }
    return QWidget::eventFilter(watched, event);
}

bool TfrmKalvian::FormKeyPress(QKeyEvent* event) {
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) {
        return false;
    }
    if (auto* button = qobject_cast<QAbstractButton*>(focusWidget())) {
        button->click();
    } else {
        focusNextChild();
    }
    return true;
}

void TfrmKalvian::closeEvent(QCloseEvent* event) {
    // A close asked for while the export runs waits for the run to end.
    if (m_exporting) {
        m_closeWhenExported = true;
        event->ignore();
        return;
    }
    event->accept();
}

// ---- what the query step and the export need of the window

void TfrmKalvian::setWaitCursor(bool waiting) {
    if (waiting == m_waiting) {
        return;
    }
    m_waiting = waiting;
    if (waiting) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

void TfrmKalvian::focusSourceFolder() {
    edtOrigem->setFocus();
}

void TfrmKalvian::disableExport() {
    actExportar->setEnabled(false);
}

void TfrmKalvian::focusStartDate() {
    edtDataIni->setFocus();
}

bool TfrmKalvian::goOnBesideLockFiles(const std::string& warning) {
    return m_messages->askYesNo("VRK 3 aberta", warning + "\n\nDeseja consultar os dados mesmo assim ?",
                                MessageIcon::Warning);
}

std::string TfrmKalvian::destinationFolder() const {
    return edtDestino->text().toStdString();
}

std::string TfrmKalvian::fileName() const {
    return edtArquivo->text().toStdString();
}

std::string TfrmKalvian::registration() const {
    return edtInscricao->text().toStdString();
}

void TfrmKalvian::focusDestinationFolder() {
    edtDestino->setFocus();
}

void TfrmKalvian::focusFileName() {
    edtArquivo->setFocus();
}

void TfrmKalvian::showStatus(const std::string& text) {
    lblStatus->setText(QString::fromStdString(text));
    lblStatus->adjustSize();
    // Painted now; clicks and keys wait until the run is over.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TfrmKalvian::setProgressRange(std::int64_t minimum, std::int64_t maximum) {
    // Qt draws an empty range as a busy bar; an empty bar is what is meant.
    const int low = progressValue(minimum);
    progBar->setRange(low, std::max(progressValue(maximum), low + 1));
}

void TfrmKalvian::setProgressPosition(std::int64_t position) {
    progBar->setValue(progressValue(position));
}

void TfrmKalvian::setProgressStep(std::int64_t step) {
    m_progressStep = progressValue(step);
}

void TfrmKalvian::stepProgress() {
    progBar->setValue(std::min(progBar->value() + m_progressStep, progBar->maximum()));
}

void TfrmKalvian::showExportPanel(bool exporting) {
    pnlExportando->setVisible(exporting);
    pnlBotoes->setVisible(!exporting);
}

} // namespace kalvian
