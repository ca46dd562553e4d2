// SPDX-License-Identifier: Apache-2.0
#include "workspace/SaveLocation.h"

#include "workspace/Workspace.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

namespace SaveLocation {

QString namePart(const QString& text)
{
    static const QRegularExpression unfit(QStringLiteral(R"([\s/\\:*?"<>|]+)"));
    return text.trimmed().replace(unfit, QStringLiteral("-"));
}

std::optional<QString> ask(Workspace& ws, const QString& title, const QStringList& filters,
                           const QString& name, bool confirmReplace)
{
    QString folder = ws.settings().saveFolder();
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QDir::homePath();
    const std::optional<QString> chosen =
        ws.dialogs().chooseSaveFile({title, filters, QDir(folder).filePath(name), confirmReplace});
    const QString path = chosen.value_or(QString()).remove(QChar(0)).trimmed();
    if (path.isEmpty())
        return std::nullopt;
    ws.settings().rememberSaveFolder(QFileInfo(path).absolutePath());
    return path;
}

QString savedTo(const QString& path)
{
    return QStringLiteral("Guardado en ") + QDir::toNativeSeparators(path);
}

} // namespace SaveLocation
