#include "import/DocumentImport.h"

#include "data/ArticleStore.h"
#include "import/WordReader.h"
#include "workspace/Workspace.h"

InvoiceRead LeerFactura(OperatorDialogs& dialogs, const QString& path)
{
    QString text;
    try {
        text = LeerDocumento(path);
    } catch (const AppError& error) {
        dialogs.message(MessageIcon::Critical, error.description() + QStringLiteral("\n\n") +
                                                   QString::number(error.number()));
        return {};
    }
    // A document of blank lines and empty paragraphs has nothing to import either.
    if (QStringView(text).trimmed().isEmpty())
        return {ImportOutcome::NoText, {}, {}};
    try {
        ParsedInvoice parsed = InvoiceParser::parse(text);
        return {ImportOutcome::Loaded, std::move(text), std::move(parsed)};
    } catch (const AppError& error) {
        dialogs.message(MessageIcon::Exclamation,
                        error.description() + QLatin1Char('\n') + QString::number(error.number()));
        return {};
    }
}

PreparedImport ImportarDocumento(Workspace& ws, const QString& path, const QString& interno)
{
    BusyCursor busy(ws.progress());
    const InvoiceRead invoice = LeerFactura(ws.dialogs(), path);
    if (invoice.outcome != ImportOutcome::Loaded)
        return {invoice.outcome, {}, {}};
    if (invoice.parsed.records.isEmpty())
        return {ImportOutcome::NoArticles, {}, {}};
    if (const qint64 corrected = ArticleStore(ws.work()).countCorrected(interno);
        corrected > 0 &&
        !ws.dialogs().question(
            QStringLiteral("El interno %1 tiene %2 registros corregidos a mano. Si lee la factura "
                           "de nuevo, esas correcciones se pierden.\n\n¿Desea leerla de todos "
                           "modos?")
                .arg(interno)
                .arg(corrected)))
        return {ImportOutcome::Kept, {}, {}};
    return {ImportOutcome::Loaded, invoice.parsed.lines(), invoice.parsed.statedTotal};
}
