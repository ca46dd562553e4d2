// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "data/OriginRelations.h"
#include "workspace/OperatorDialogs.h"

#include <QStringList>

#include <optional>

class Workspace;

/**
 * The rules of the configuration window (catalog choice, origin relation list) and of the
 * origin relation entry. The windows show what these return and forward the operator's keys.
 */
namespace Configuration {

/** The catalogs of the declaration database as the catalog list shows them. */
struct CatalogChoice {
    /** "[" + identifier + "] " + description, in description order. */
    QStringList lines;
    /** The identifiers, line for line. */
    QStringList ids;
    /** The line to select: the last one whose identifier equals the stored one, else the
     *  first line; -1 when there is none. */
    int selected = -1;
};

/**
 * Load of the configuration window: the catalogs and the line of the catalog identifier
 * stored in the settings. A read failure is told to the operator and gives an empty list.
 */
CatalogChoice catalogs(Workspace& ws);

/**
 * `GrabarySalir`: stores the identifier at the selected line as the catalog (setting and
 * workspace). With no line selected (an empty list) nothing is stored; returns whether a
 * catalog was stored.
 */
bool GrabarySalir(Workspace& ws, const QStringList& ids, int selected);

/** `Cargar_Pais`: the relations ordered by invoice text. A read failure is told to the
 *  operator and gives none. */
QList<OriginRelation> Cargar_Pais(Workspace& ws);

/**
 * `Eliminar_PaisRel`: deletes every row of the relation, without a question. True when a row
 * was deleted; a failure is reported and gives false.
 */
bool Eliminar_PaisRel(Workspace& ws, const OriginRelation& relation);

/** Load of the origin relation entry: the countries. A read failure is told to the operator
 *  and gives none. */
OriginRelations::Countries countries(Workspace& ws);

/**
 * `AgregarRelacionPaisOrigen`: refuses a blank country text or a blank code (critical icon);
 * otherwise adds the relation, the text as typed (untrimmed). The saved relation, or nothing
 * after a refusal, a failure (reported) or an insert that added no row.
 */
std::optional<OriginRelation> AgregarRelacionPaisOrigen(Workspace& ws, const QString& text,
                                                        const QString& code);

} // namespace Configuration
