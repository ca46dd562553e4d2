#include "import/DocumentImport.h"

#include "import/ArticleLoading.h"
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
        return {ImportOutcome::Failed, {}};
    }
    // A document of blank lines and empty paragraphs has nothing to import either.
    if (text.trimmed().isEmpty())
        return {ImportOutcome::NoText, {}};
    try {
        return {ImportOutcome::Loaded, InvoiceParser::parse(text)};
    } catch (const AppError& error) {
        dialogs.message(MessageIcon::Exclamation,
                        error.description() + QLatin1Char('\n') + QString::number(error.number()));
        return {ImportOutcome::Failed, {}};
    }
}

ImportOutcome ImportarDocumento(Workspace& ws, const QString& path, const QString& interno)
{
    BusyCursor busy(ws.progress());
    const InvoiceRead invoice = LeerFactura(ws.dialogs(), path);
    if (invoice.outcome != ImportOutcome::Loaded)
        return invoice.outcome;
    return CargarArticulos(ws, invoice.lines, interno) ? ImportOutcome::Loaded
                                                       : ImportOutcome::Failed;
}
