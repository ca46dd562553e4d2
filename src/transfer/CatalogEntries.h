// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "components/DataSession.h"
#include "data/HistoryStore.h"

#include <QHash>
#include <QStringList>
#include <QVariantList>

#include <functional>
#include <optional>

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

/** What a change expects of its field: a value, or nothing for an entry that must be missing. */
using Expected = std::function<std::optional<QVariant>(const CatalogChange&)>;

/** A change whose entry does not hold what was expected, with what the field holds instead. */
struct Mismatch {
    CatalogChange change;
    /** The field's value; nothing when the entry is missing or the field unknown. */
    std::optional<QVariant> held;
};

/** The changes whose entry in the catalog does not hold what `expected` asks, in their order. */
QList<Mismatch> mismatches(DataSession& declaration, const QString& catalog,
                           const QList<CatalogChange>& changes, const Expected& expected);

/** Whether the catalog holds what the run wrote: each field's new value, no removed entry. */
bool holds(DataSession& declaration, const JournalRun& run);

} // namespace CatalogEntries
