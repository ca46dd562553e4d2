// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "components/AppError.h"

#include <QString>

namespace WordReader {

/** Error numbers of the reader's refusals (AppError::number). */
enum ReadError : long {
    CannotOpen = 7100,      ///< the file cannot be opened
    NotWordDocument = 7101, ///< none of the formats read: Word 97-2003, WordprocessingML, PDF, ODT
    OldWordVersion = 7102,  ///< Word 6.0/95 or older
    Encrypted = 7103,       ///< password-protected
    RightsManaged = 7104,   ///< rights-managed (restricted permission)
    Damaged = 7105,         ///< truncated or corrupt
    TooLarge = 7106,        ///< a package part that inflates past any invoice's size
    TooDeep = 7107,         ///< a package part whose elements nest deeper than any document's
    NoTextLayer = 7108      ///< a PDF without text: scanned pages
};

/**
 * The main document body of a Word file (.doc or .docx), an OpenDocument text (.odt) or a PDF
 * with a text layer, the format told by its content: every paragraph, table cell and manual
 * line break (in a PDF every line) ended by a carriage return. Raises an AppError
 * with a Spanish description for a file that is not a readable Word document.
 */
QString bodyText(const QString& path);

} // namespace WordReader

/**
 * The document's text for the invoice parser: the body with its last paragraph mark dropped,
 * each line ended by a carriage return (InvoiceParser::parse). Raises as bodyText()
 * does, so that a failure is never taken for an empty document.
 */
QString LeerDocumento(const QString& path);
