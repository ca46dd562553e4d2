// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QList>
#include <QString>

class DataSession;

/** An article of a catalog as the check reads it. */
struct CatalogEntry {
    QString number;   ///< idarticulo
    QString position; ///< ncm
    QString suffixes; ///< sufijos
};

/** An article of any catalog as the suggestions read it. */
struct CatalogArticle {
    QString catalog;     ///< idcatalogo
    QString number;      ///< idarticulo
    QString description; ///< descripcion
    QString position;    ///< ncm
    QString suffixes;    ///< sufijos
};

/** Reads the catalogs of the declaration database (tables catalogo and catarticulos). */
namespace CatalogStore {

/** True when the catalog is a row of catalogo. */
bool exists(DataSession& declaration, const QString& catalog);

/** Every article of the catalog in article number order; NULL fields read as the empty text. */
QList<CatalogEntry> entries(DataSession& declaration, const QString& catalog);

/** Every article of every catalog, in no particular order; NULL fields read as the empty
 *  text. */
QList<CatalogArticle> allArticles(DataSession& declaration);

} // namespace CatalogStore
