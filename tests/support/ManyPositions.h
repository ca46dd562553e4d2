// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QString>
#include <QStringList>

class DataSession;

/**
 * More positions and article numbers than one select takes: nomenclator and catalog rows
 * (SQL scripts) and the rows of an interno, each article on its own line, last article first.
 * Every 7th position is unknown, every 3rd marked for LAPI; odd ones have an option group on
 * the position, one in two of the others a Z group on the subheading. Every 10th article is
 * in another catalog, odd ones leave their LAPI blank, one in three of those with a Z group
 * has a wrong value.
 */
struct ManyPositions {
    ManyPositions(const QString& catalog, const QString& interno);

    QString nomenclator;
    QString declaration;
    QString work;
    /** Each line's PRCSUN, PRCLAP and PRCCRC after the process, as checkedRows gives them. */
    QStringList expected;
    /** How many rows the catalog classifies. */
    int classified = 0;

    /** PRCSUN, PRCLAP and PRCCRC of the interno's rows by line, joined by "|", NULL as "~". */
    static QStringList checkedRows(DataSession& work, const QString& interno);
};
