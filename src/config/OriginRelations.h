#pragma once

#include "app/OperatorDialogs.h"

#include <QList>

class DataSession;

/** The origin relation (table ORG): an invoice's country text and the country code. */
namespace OriginRelations {

/** Adds a relation, text and code as given (untrimmed); returns the rows affected. */
qint64 add(DataSession& work, const QString& text, const QString& code);
/** Every relation, ordered by the invoice text. */
QList<OriginRelation> list(DataSession& work);
/** Deletes every row of the pair; returns the rows affected. */
qint64 remove(DataSession& work, const QString& text, const QString& code);

/** The country table in name order: names and codes line for line (NULL as empty). */
struct Countries {
    QStringList names;
    QStringList codes;
};
Countries countries(DataSession& work);

} // namespace OriginRelations
