#include "review/AtomicFile.h"

#include "components/AppError.h"
#include "components/OperatorText.h"

#include <QSaveFile>

void writeAtomically(const QString& path, const std::function<bool(QIODevice&)>& writer)
{
    QSaveFile file(path);
    QString reason;
    try {
        if (!file.open(QIODevice::WriteOnly))
            reason = file.errorString();
        else if (!writer(file) || file.error() != QFileDevice::NoError)
            reason = file.errorString();
        else if (!file.commit())
            reason = file.errorString();
    } catch (const AppError& error) {
        reason = error.description();
    }
    if (reason.isNull())
        return;
    file.cancelWriting();
    throw AppError(75, OperatorText::fileNotWritten(
                           path, reason,
                           QStringLiteral("No se guardó nada y el archivo anterior, si existía, "
                                          "quedó como estaba.")));
}
