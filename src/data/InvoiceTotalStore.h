// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "components/DataSession.h"

#include <QString>
#include <QStringList>

#include <optional>

/** The total an invoice states for its goods, as read from its document. */
struct StatedTotal {
    qint64 documentLine = 0; ///< DOCLINE: the document line it was read from, counted from 1
    QString text;            ///< LINETEXT: that line, trimmed
    double amount = 0;       ///< AMOUNT
};

/**
 * The stated total of each interno's invoice (table INVOICE_TOTAL of the work database). It is
 * known only when the document is read, so it is written with the interno's article rows and
 * deleted with them. A database failure raises.
 */
class InvoiceTotalStore {
public:
    explicit InvoiceTotalStore(DataSession& work);

    /** The statements that create the table. */
    static QStringList schema();
    /** Creates the table in a work database made before it existed. */
    static void createWhenMissing(DataSession& work);

    /** The interno's stated total; nothing when its document had no total line. */
    std::optional<StatedTotal> read(const QString& interno);
    /** Replaces the interno's stated total; nothing deletes it. */
    void replace(const QString& interno, const std::optional<StatedTotal>& total);
    void remove(const QString& interno);

private:
    DataSession& m_work;
};
