// SPDX-License-Identifier: Apache-2.0
#include "components/TemporaryFile.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <cerrno>
#include <limits>

#include <signal.h>

namespace TemporaryFile {

namespace {

constexpr qint64 kAbandonedAfterSeconds = 60 * 60;

bool abandoned(const QFileInfo& file, qint64 pid)
{
    if (pid == QCoreApplication::applicationPid() || pid > std::numeric_limits<pid_t>::max())
        return true;
    if (::kill(pid_t(pid), 0) != 0 && errno == ESRCH)
        return true;
    return file.lastModified().secsTo(QDateTime::currentDateTime()) > kAbandonedAfterSeconds;
}

} // namespace

QString beside(const QString& target)
{
    static const QRegularExpression kSuffix(
        QStringLiteral("^\\.([1-9][0-9]{0,9})\\.tmp(-journal)?$"));
    const QFileInfo info(target);
    const QString name = info.fileName();
    const QDir folder = info.absoluteDir();
    for (const QFileInfo& file :
         folder.entryInfoList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks)) {
        const QString fileName = file.fileName();
        if (!fileName.startsWith(name))
            continue;
        const QRegularExpressionMatch suffix =
            kSuffix.match(QStringView(fileName).mid(name.size()));
        if (suffix.hasMatch() && abandoned(file, suffix.captured(1).toLongLong()))
            QFile::remove(file.filePath());
    }
    return QStringLiteral("%1.%2.tmp").arg(target).arg(QCoreApplication::applicationPid());
}

} // namespace TemporaryFile
