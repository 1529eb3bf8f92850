#include "user_guide.h"

#include <QDir>
#include <QFileInfo>

namespace kalvian {

QString userGuideFile(const QString& programFolder) {
    const QDir program(programFolder);
    const QString candidates[] = {
        program.filePath(QStringLiteral("guia-do-usuario.html")),
        QDir::cleanPath(program.filePath(QStringLiteral("../share/doc/kalvian/guia-do-usuario.html"))),
    };
    for (const QString& candidate : candidates) {
        if (QFileInfo(candidate).isFile()) {
            return candidate;
        }
    }
    return candidates[0];
}

} // namespace kalvian
