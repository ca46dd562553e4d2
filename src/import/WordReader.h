#pragma once

#include "app/OperatorDialogs.h"

#include <QString>

namespace WordReader {

/**
 * The main document body of a Word file (.doc or .docx, told by its content): every
 * paragraph, table cell and manual line break ended by a carriage return. Raises an AppError
 * with a Spanish description for a file that is not a readable Word document.
 */
QString bodyText(const QString& path);

} // namespace WordReader

/**
 * The document's text for the invoice parser: the body with its last paragraph mark dropped
 * and every carriage return turned into CR LF. After a failure the operator is told (critical
 * message: description, two line breaks, number) and the empty text is returned.
 */
QString LeerDocumento(OperatorDialogs& dialogs, const QString& path);
