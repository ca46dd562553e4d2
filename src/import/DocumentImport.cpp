// SPDX-License-Identifier: Apache-2.0
#include "import/DocumentImport.h"

#include "components/OperatorText.h"
#include "data/ArticleStore.h"
#include "import/WordReader.h"
#include "workspace/Workspace.h"

#include <QDir>

InvoiceRead LeerFactura(OperatorDialogs& dialogs, const QString& path)
{
    QString text;
    try {
        text = LeerDocumento(path);
    } catch (const AppError& error) {
        // The reader's sentence after the file's name; its cause, when it has one, as detail.
        dialogs.message(MessageIcon::Critical,
                        OperatorText::failure(
                            QStringLiteral("No se pudo leer la factura %1. ")
                                    .arg(OperatorText::shown(QDir::toNativeSeparators(path))) +
                                error.description(),
                            error.source()) +
                            QStringLiteral("\n\n") + QString::number(error.number()));
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
            QStringLiteral("El interno %1 tiene %2 a mano. Si lee la factura de nuevo, esas "
                           "correcciones se pierden.\n\n¿Desea leerla de todos modos?")
                .arg(interno, corrected == 1
                                  ? QStringLiteral("1 registro corregido")
                                  : QStringLiteral("%1 registros corregidos").arg(corrected)),
            DefaultAnswer::No))
        return {ImportOutcome::Kept, {}, {}};
    return {ImportOutcome::Loaded, invoice.parsed.lines(), invoice.parsed.statedTotal};
}
