#pragma once

#include <QString>

class Workspace;

/** What reading an invoice into an interno came to. */
enum class ImportOutcome {
    Loaded, ///< the interno's rows were replaced by the invoice's lines
    NoText, ///< the document had no text; nothing changed, nothing was shown
    Failed  ///< a failure was reported to the operator; the interno's rows are as before
};

/** Reads the invoice document and replaces the interno's article rows with its lines. */
ImportOutcome ImportarDocumento(Workspace& ws, const QString& path, const QString& interno);
