#pragma once

#include "app/file_choosers.h"
#include "app/window_messages.h"
#include "run/export_view.h"
#include "run/query_step.h"
#include "vrk3/source_queries.h"

#include <QWidget>

#include <memory>

class QAction;
class QFrame;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace kalvian {

class TDateEdit;

// The program's one window (frmKalvian): the query step, which checks the input, opens the source queries
// and shows what was found, and the export of what was found.
class TfrmKalvian : public QWidget, public QueryStepHost, public ExportView {
    Q_OBJECT

public:
    // Without boxes or dialogs of the caller's, real ones are shown over the window.
    explicit TfrmKalvian(std::unique_ptr<WindowMessages> messages = nullptr,
                         std::unique_ptr<FileChoosers> choosers = nullptr);

    // QueryStepHost
    void setWaitCursor(bool waiting) override;
    void focusSourceFolder() override;
    void disableExport() override;
    void focusStartDate() override;
    bool goOnBesideLockFiles(const std::string& warning) override;

    // ExportView
    std::string destinationFolder() const override;
    std::string fileName() const override;
    std::string registration() const override;
    void focusDestinationFolder() override;
    void focusFileName() override;
    void showStatus(const std::string& text) override;
    void setProgressRange(std::int64_t minimum, std::int64_t maximum) override;
    void setProgressPosition(std::int64_t position) override;
    void setProgressStep(std::int64_t step) override;
    void stepProgress() override;
    void showExportPanel(bool exporting) override;
    MessageBoxes& messages() override { return *m_messages; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildUpperBox();
    void buildLowerBox();
    void buildActions();
    void chainTabOrder();
    void FormCreate();

    void edtInscricaoChange();
    void HabilitaConsulta();
    void MostraTotais(bool found);
    bool FormKeyPress(QKeyEvent* event);

    void actConsultaExecute();
    void actNovaConsultaExecute();
    void actExportarExecute();
    void actPastaOrigemExecute();
    void actPastaDestinoExecute();
    void actSairExecute();
    void actAjudaExecute();

    std::unique_ptr<WindowMessages> m_messages;
    std::unique_ptr<FileChoosers> m_choosers;
    SourceQueries m_queries;
    FileRequest m_sourceDialog;
    FileRequest m_destinationDialog;
    bool m_waiting = false;
    bool m_exporting = false;
    bool m_closeWhenExported = false;
    int m_progressStep = 1;

    QAction* actPastaOrigem = nullptr;
    QAction* actPastaDestino = nullptr;
    QAction* actExportar = nullptr;
    QAction* actSair = nullptr;
    QAction* actConsulta = nullptr;
    QAction* actNovaConsulta = nullptr;
    QAction* actAjuda = nullptr;

    QFrame* m_upperBox = nullptr;
    QLineEdit* edtInscricao = nullptr;
    TDateEdit* edtDataIni = nullptr;
    TDateEdit* edtDataFin = nullptr;
    QFrame* sbNotasLocalizadas = nullptr;
    QLabel* lblEmitidas = nullptr;
    QLabel* lblRecebidas = nullptr;
    QLabel* lblTotal = nullptr;
    QLineEdit* edtOrigem = nullptr;
    QPushButton* btnConsulta = nullptr;
    QPushButton* btnNovaConsulta = nullptr;

    QFrame* m_lowerBox = nullptr;
    QLineEdit* edtDestino = nullptr;
    QLineEdit* edtArquivo = nullptr;
    QFrame* pnlBotoes = nullptr;
    QPushButton* btnExportar = nullptr;
    QPushButton* btnSair = nullptr;
    QFrame* pnlExportando = nullptr;
    QLabel* lblStatus = nullptr;
    QProgressBar* progBar = nullptr;
};

} // namespace kalvian
