// SPDX-License-Identifier: Apache-2.0
#include "data/CatalogStore.h"

#include "components/DataSession.h"

#include <algorithm>

namespace CatalogStore {

bool exists(DataSession& declaration, const QString& catalog)
{
    RecordSet rs;
    declaration.Sql(QStringLiteral("select 1 from catalogo where idcatalogo = ?"), {catalog});
    return declaration.CrearRs(rs);
}

QList<CatalogEntry> entries(DataSession& declaration, const QString& catalog)
{
    RecordSet rs;
    declaration.Sql(QStringLiteral("select idarticulo, ncm, sufijos from catarticulos "
                                   "where idcatalogo = ?"),
                    {catalog});
    declaration.CrearRs(rs);
    QList<CatalogEntry> result;
    result.reserve(rs.RecordCount());
    for (qsizetype i = 0; i < rs.RecordCount(); ++i) {
        const QVector<QVariant>& row = rs.row(i);
        result.append({row.at(0).toString(), row.at(1).toString(), row.at(2).toString()});
    }
    // Sorted here: engines order text by different collations.
    std::sort(result.begin(), result.end(),
              [](const CatalogEntry& a, const CatalogEntry& b) { return a.number < b.number; });
    return result;
}

QList<CatalogArticle> allArticles(DataSession& declaration)
{
    RecordSet rs;
    declaration.Sql(QStringLiteral("select idcatalogo, idarticulo, descripcion, ncm, sufijos "
                                   "from catarticulos"));
    declaration.CrearRs(rs);
    QList<CatalogArticle> result;
    result.reserve(rs.RecordCount());
    for (qsizetype i = 0; i < rs.RecordCount(); ++i) {
        const QVector<QVariant>& row = rs.row(i);
        result.append({row.at(0).toString(), row.at(1).toString(), row.at(2).toString(),
                       row.at(3).toString(), row.at(4).toString()});
    }
    return result;
}

} // namespace CatalogStore
