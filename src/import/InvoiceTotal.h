#pragma once

#include "data/InvoiceTotalStore.h"

#include <QStringView>

#include <optional>

namespace InvoiceTotal {

/**
 * The total the invoice states for its goods, in the document's text (lines ended by a
 * carriage return, counted from 1): the first line whose first word (after blanks and tabs) is
 * "SUBTOTAL", in any case, as it comes before freight and other charges; without one, the first
 * line whose first word is "TOTAL". Its amount is the line's last word read as an invoice number; a
 * line whose last word is no number is passed over. Nothing when no line qualifies.
 */
std::optional<StatedTotal> find(QStringView text);

} // namespace InvoiceTotal
