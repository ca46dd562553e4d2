// SPDX-License-Identifier: Apache-2.0
#include "transfer/CatalogEntries.h"

#include "data/HistoryStore.h"

namespace CatalogEntries {

const QStringList& fields()
{
    static const QStringList names = {
        QStringLiteral("descripcion"), QStringLiteral("idpais"),
        QStringLiteral("cantidad"),    QStringLiteral("preciounitario"),
        QStringLiteral("ncm"),         QStringLiteral("lapi"),
        QStringLiteral("sufijos"),     QStringLiteral("idunidad"),
        QStringLiteral("estadistica"), QStringLiteral("valorrelacionestadistica"),
        QStringLiteral("estadomerc"),  QStringLiteral("deresp"),
        QStringLiteral("valorderesp")};
    return names;
}

QHash<QString, QVariantList> read(DataSession& declaration, const QString& catalog,
                                  const QStringList& numbers)
{
    static const QString columns =
        QStringLiteral("select c.idarticulo, c.") + fields().join(QStringLiteral(", c."));
    QHash<QString, QVariantList> held;
    held.reserve(numbers.size());
    const auto keep = [&held](const QVector<QVariant>& row) {
        held.insert(row.at(0).toString(), QVariantList(row.cbegin() + 1, row.cend()));
    };
    if (declaration.dialect() == DataSession::Dialect::SQLite) {
        // The numbers bound as one JSON array, of which the engine makes its own index.
        static const QString select =
            columns + QStringLiteral(" from catarticulos c where c.idcatalogo = ? and "
                                     "c.idarticulo in (select value from json_each(?))");
        QString array;
        for (const QString& number : numbers)
            appendJson(array, number);
        array += array.isEmpty() ? QStringLiteral("[]") : QStringLiteral("]");
        DataSession::Statement(declaration, select).forEachRow({catalog, array}, keep);
        return held;
    }
    // On PostgreSQL the numbers are staged, then the entries read in one select.
    static const QString select =
        columns + QStringLiteral(" from catarticulos c join catalog_key k on c.idarticulo = "
                                 "k.idarticulo where c.idcatalogo = ?");
    DataSession::Staging keys(declaration, QStringLiteral("catalog_key"),
                              {QStringLiteral("idarticulo text")});
    for (const QString& number : numbers)
        keys.add({number});
    keys.finishForJoins(QStringLiteral("idarticulo"));
    DataSession::Statement(declaration, select).forEachRow({catalog}, keep);
    keys.drop();
    return held;
}

void takeTurn(DataSession& declaration)
{
    if (declaration.dialect() != DataSession::Dialect::PostgreSQL)
        return;
    declaration.Sql(QStringLiteral("lock table catarticulos in exclusive mode"));
    declaration.ejecutar();
}

QList<Mismatch> mismatches(DataSession& declaration, const QString& catalog,
                           const QList<CatalogChange>& changes, const Expected& expected)
{
    QStringList numbers;
    for (const CatalogChange& change : changes)
        numbers << change.article;
    numbers.removeDuplicates();
    const QHash<QString, QVariantList> held = read(declaration, catalog, numbers);
    QList<Mismatch> found;
    for (const CatalogChange& c : changes) {
        const auto entry = held.constFind(c.article);
        const qsizetype field = fields().indexOf(c.field);
        const std::optional<QVariant> value =
            entry == held.cend() || field < 0 ? std::nullopt : std::optional(entry->at(field));
        const std::optional<QVariant> wanted = expected(c);
        if (wanted ? !value || !sameHistoryText(*value, *wanted) : entry != held.cend())
            found.append({c, value});
    }
    return found;
}

bool holds(DataSession& declaration, const JournalRun& run)
{
    return mismatches(declaration, run.catalog, run.changes,
                      [](const CatalogChange& c) {
                          return c.entry == CatalogChange::Entry::Removed
                                     ? std::nullopt
                                     : std::optional(c.newValue);
                      })
        .isEmpty();
}

} // namespace CatalogEntries
