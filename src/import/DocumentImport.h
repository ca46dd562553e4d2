// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "data/InvoiceTotalStore.h"
#include "import/InvoiceParser.h"

#include <QList>
#include <QString>

class OperatorDialogs;
class Workspace;

/** What reading an invoice into an interno came to. */
enum class ImportOutcome {
    Loaded,     ///< the invoice's lines may replace the interno's rows
    NoText,     ///< the document had no text; nothing changed, nothing was shown
    NoArticles, ///< the document had no article line; nothing changed, nothing was shown
    Kept,       ///< the operator kept the rows corrected by hand; nothing changed
    Failed      ///< a failure was reported to the operator; the interno's rows are as before
};

/** An invoice document read and parsed. */
struct InvoiceRead {
    /** Loaded when the document was read and parsed; NoText or Failed as for the import. */
    ImportOutcome outcome = ImportOutcome::Failed;
    /** The document's text, which the records view. */
    QString text;
    /** The article blocks in document order and the stated total (only when read and parsed). */
    ParsedInvoice parsed;
};

/**
 * Reads the document's text and parses its article blocks and its stated total. A document that
 * cannot be read is reported with the critical icon (description, two line breaks, number); a parse
 * error is shown with the exclamation icon as its description, a line break and its number. A text
 * that is empty or blank gives NoText without a message.
 */
InvoiceRead LeerFactura(OperatorDialogs& dialogs, const QString& path);

/** An invoice read for an interno, its lines not yet loaded. */
struct PreparedImport {
    ImportOutcome outcome = ImportOutcome::Failed;
    /** The article blocks to load (only when Loaded). */
    QList<InvoiceLine> lines;
    /** The document's stated total, which replaces the interno's with its rows. */
    std::optional<StatedTotal> statedTotal;
};

/**
 * Reads the invoice document for the interno and decides whether its lines may replace the
 * interno's rows, without writing anything: Loaded, or why not. A document without article
 * lines gives NoArticles; when the interno holds rows corrected by hand the operator is asked
 * first, with their count, and No gives Kept. Failures are reported as LeerFactura does.
 */
PreparedImport ImportarDocumento(Workspace& ws, const QString& path, const QString& interno);
