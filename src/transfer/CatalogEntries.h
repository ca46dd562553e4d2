// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "components/DataSession.h"

#include <QHash>
#include <QStringList>
#include <QVariantList>

struct JournalRun;

/** The catalog entries of the declaration database as the transfer and its revert see them. */
namespace CatalogEntries {

/** The catalog's columns a transfer writes, as the catalog journal names them. */
const QStringList& fields();

/**
 * The entries the catalog holds of the articles: each number with the values of fields(), in
 * that order; an article the catalog lacks is left out.
 */
QHash<QString, QVariantList> read(DataSession& declaration, const QString& catalog,
                                  const QStringList& numbers);

/**
 * Inside a transaction on PostgreSQL, waits for the catalog until the transaction ends: the
 * writers of the catalog take turns (SQLite serialises writers by itself).
 */
void takeTurn(DataSession& declaration);

/** Whether the catalog holds what the run wrote: each field's new value, no removed entry. */
bool holds(DataSession& declaration, const JournalRun& run);

} // namespace CatalogEntries
