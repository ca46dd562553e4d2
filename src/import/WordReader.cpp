#include "import/WordReader.h"

// Placeholder until the Word reader lands: every document reads as not yet readable.
namespace WordReader {
QString bodyText(const QString&)
{
    throw AppError(-1, QStringLiteral("La lectura de documentos Word todavía no está disponible."));
}
} // namespace WordReader

QString LeerDocumento(OperatorDialogs& dialogs, const QString& path)
{
    try {
        return WordReader::bodyText(path);
    } catch (const AppError& error) {
        dialogs.message(MessageIcon::Critical, error.description() + QStringLiteral("\n\n") +
                                                   QString::number(error.number()));
        return {};
    }
}
