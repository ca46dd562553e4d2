// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QString>
#include <QStringList>

/** The work database: internos (INTN), article rows (ART), origin relations (ORG), countries
 * (PAIS), the invoices' stated totals (INVOICE_TOTAL), the row history (ROW_HISTORY) and the
 * catalog journal (CATALOG_JOURNAL). */
namespace WorkDatabase {

/** Path of the work database under a home folder. */
QString path(const QString& home);

/**
 * Creates the work database with its schema when the file is absent; an existing file is
 * never touched, and raises when it is no work database. Returns true when it created the
 * file.
 */
bool create(const QString& home);

} // namespace WorkDatabase
