// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "components/DataSession.h"

#include <QList>
#include <QStringList>

#include <optional>

/** An origin relation (table ORG): the country text of an invoice and its country code. */
struct OriginRelation {
    QString text;
    QString code;
};

/** The origin relations (table ORG) and the country table (PAIS) of the work database. */
namespace OriginRelations {

/** Adds a relation, text and code as given (untrimmed); returns the rows affected. */
qint64 add(DataSession& work, const QString& text, const QString& code);
/** Every relation, ordered by the invoice text. */
QList<OriginRelation> list(DataSession& work);
/** Deletes every row of the pair; returns the rows affected. */
qint64 remove(DataSession& work, const QString& text, const QString& code);

/** Looks up the code of invoice texts, one prepared query for many lookups. */
class Lookup {
public:
    explicit Lookup(DataSession& work);
    /** The code of the first relation of the text (as stored); nothing when there is none. */
    std::optional<QString> code(const QString& text);

private:
    DataSession::Statement m_query;
};

/** True when the country code is a row of the country table. */
bool countryExists(DataSession& work, const QString& code);

/** The country table in name order: names and codes line for line (NULL as empty). */
struct Countries {
    QStringList names;
    QStringList codes;
};
Countries countries(DataSession& work);

} // namespace OriginRelations
