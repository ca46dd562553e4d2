// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "components/SuffixValidator.h"
#include "data/CatalogStore.h"
#include "review/ControlReport.h"

#include <QList>

#include <utility>

class Workspace;

/** An article of a catalog that fails the check, with the validator's verdict. */
struct CatalogFailure {
    CatalogEntry entry;
    SuffixVerdict verdict;
};

/** The outcome of a catalog's check. */
struct CatalogCheckResult {
    QString catalog;
    qsizetype checked = 0;
    /** In article number order. */
    QList<CatalogFailure> failures;

    /** Each reason's name with its number of failing articles, every reason in a fixed order. */
    QList<std::pair<QString, qsizetype>> counts() const;
};

/**
 * The catalog's health against the nomenclator in use: every article's position and suffixes
 * go through the suffix validator, and each failure carries its reason.
 */
namespace CatalogCheck {

/** The reason as the operator reads it, with its detail: "falta el grupo de sufijos AJ". */
QString reason(const SuffixVerdict& verdict);

/**
 * Checks every article of the catalog, each distinct position and suffixes once, showing the
 * progress. Raises when the catalog is not in the declaration database or a database fails.
 */
CatalogCheckResult run(Workspace& ws, const QString& catalog);

/** The report: the failing articles with their reasons, then the counts and the totals. */
ControlReport::Bands report(const CatalogCheckResult& result);

} // namespace CatalogCheck
