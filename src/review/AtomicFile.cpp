// SPDX-License-Identifier: Apache-2.0
#include "review/AtomicFile.h"

#include "components/AppError.h"
#include "components/OperatorText.h"
#include "components/TemporaryFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>

#include <cerrno>
#include <cstdio>

#include <unistd.h>

namespace {

[[noreturn]] void cannotWrite(const QString& path, const QString& reason)
{
    throw AppError(75, OperatorText::fileNotWritten(
                           path, reason,
                           QStringLiteral("No se guardó nada y el archivo anterior, si existía, "
                                          "quedó como estaba.")));
}

/** Lets `write` make the file at a temporary path beside the target, then puts it in place. */
void replace(const QString& path, const std::function<void(const QString&)>& write)
{
    // Through a link the file it points to is replaced, as an editor saving it would.
    const QFileInfo info(path);
    const QString target = info.isSymLink() ? info.symLinkTarget() : path;
    if (QFileInfo(target).exists() && !QFileInfo(target).isWritable())
        cannotWrite(path, QStringLiteral("el archivo existente no admite escritura"));
    const QString temporary = TemporaryFile::beside(target);
    auto drop = qScopeGuard([&temporary] { QFile::remove(temporary); });
    write(temporary);
    if (QFileInfo(target).exists())
        QFile::setPermissions(temporary, QFile::permissions(target));
    if (std::rename(QFile::encodeName(temporary).constData(),
                    QFile::encodeName(target).constData()) != 0)
        cannotWrite(path, qt_error_string(errno));
    drop.dismiss();
}

} // namespace

void writeAtomically(const QString& path, const std::function<bool(QIODevice&)>& writer)
{
    replace(path, [&](const QString& temporary) {
        QFile file(temporary);
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly) || !writer(file) ||
            file.error() != QFileDevice::NoError || !file.flush())
            cannotWrite(path, file.errorString());
        if (::fsync(file.handle()) != 0)
            cannotWrite(path, qt_error_string(errno));
    });
}

void writeAtomically(const QString& path, const std::function<void(const QString&)>& write)
{
    replace(path, [&](const QString& temporary) {
        try {
            write(temporary);
        } catch (const AppError& error) {
            cannotWrite(path, error.description());
        }
    });
}
