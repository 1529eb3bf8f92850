#include "qt_file_choosers.h"

#include <QDir>
#include <QFileDialog>

namespace kalvian {

namespace {

std::optional<QString> choose(QWidget* owner, const FileRequest& request, QFileDialog::AcceptMode mode) {
    QFileDialog dialog(owner, request.title, request.folder);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setNameFilters(request.filters);
    dialog.setDefaultSuffix(request.defaultSuffix);
    // The replace question belongs to the export, which asks it itself.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    // Qt's own dialog speaks the window's language; a desktop's dialog would speak the user's locale's.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (!request.fileName.isEmpty()) {
        dialog.selectFile(request.fileName);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
}

} // namespace

std::optional<QString> QtFileChoosers::openFile(const FileRequest& request) {
    return choose(m_owner, request, QFileDialog::AcceptOpen);
}

std::optional<QString> QtFileChoosers::saveFile(const FileRequest& request) {
    return choose(m_owner, request, QFileDialog::AcceptSave);
}

} // namespace kalvian
