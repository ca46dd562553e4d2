// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "data/InvoiceTotalStore.h"

#include <QStringView>

#include <optional>

/**
 * The total the invoice states for its goods, looked for in the document's lines as they are
 * walked (counted from 1): the first line whose first word (after blanks and tabs) is
 * "SUBTOTAL", in any case, as it comes before freight and other charges; without one, the first
 * line whose first word is "TOTAL". Its amount is the line's last word read as an invoice number;
 * a line whose last word is no number is passed over. Nothing when no line qualifies.
 */
class InvoiceTotal {
public:
    /** Looks at the document's next line. */
    void look(QStringView line, qsizetype number);
    /** The total stated by the lines looked at so far. */
    std::optional<StatedTotal> found() const { return m_subtotal ? m_subtotal : m_total; }

private:
    std::optional<StatedTotal> m_subtotal;
    std::optional<StatedTotal> m_total;
};
