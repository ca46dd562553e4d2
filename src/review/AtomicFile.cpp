#include "review/AtomicFile.h"

#include "components/AppError.h"

#include <QDir>
#include <QSaveFile>

void writeAtomically(const QString& path, const std::function<bool(QIODevice&)>& writer)
{
    QSaveFile file(path);
    QString reason;
    if (!file.open(QIODevice::WriteOnly))
        reason = file.errorString();
    else if (!writer(file) || file.error() != QFileDevice::NoError)
        reason = file.errorString();
    else if (!file.commit())
        reason = file.errorString();
    if (reason.isNull())
        return;
    file.cancelWriting();
    throw AppError(75, QStringLiteral("No se pudo escribir el archivo %1: %2. No se guardó nada y "
                                      "el archivo anterior, si existía, quedó como estaba.")
                           .arg(QDir::toNativeSeparators(path), reason));
}
