// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "data/ArticleStore.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <functional>

class Workspace;

/** One order of the results export, as the results window's menu offers it. */
struct ExportOrder {
    const char* column;  ///< the ART column the rows are sorted by
    const char* caption; ///< the menu item's caption (UTF-8)
    const char* name;    ///< the menu item's object name
    const char* kind;    ///< the part of the file name the save dialog proposes
    ArticleStore::Selection selection;
};

/** The three orders: invoice line, article number, description. */
extern const std::array<ExportOrder, 3> ExportOrders;

/** The order sorting by the column ("ARTORD", "ARTNRO" or "ARTDSC"); null for any other. */
const ExportOrder* exportOrder(const QString& column);

/**
 * The export's name rule: a name whose last three characters are not "xls" (in any case)
 * gets ".xls" appended, except a name ending in ".xlsx", which stays a spreadsheet.
 */
QString withXlsExtension(const QString& path);

/**
 * The rows as tab-separated UTF-8 text: the header line ended by CR LF, then one line per row
 * ended by CR alone; the unit between double quotes, numbers in their general form, NULL as
 * an empty field; tabs and line breaks inside a value become a blank.
 */
QByteArray exportText(const QList<Article>& rows);

/**
 * Writes the rows to the file, replacing it whole or leaving it as it was: a spreadsheet when
 * the name ends in ".xlsx", else the tab-separated text. Raises on failure.
 */
void writeExport(const QList<Article>& rows, const QString& path);

/**
 * Asks where to save the results export: "Guardar resultados del interno N", a spreadsheet
 * or tab-separated text, a name made of the interno and the order in the folder of the last
 * save. The path by the export's name rule, or the empty text when cancelled.
 */
QString Seleccionar_Destino_XLS(Workspace& ws, const QString& interno, const ExportOrder& order);

enum class ExportOutcome { Written, Empty, Cancelled, Failed };

/**
 * Exports every row of the interno in the order: nothing happens when it has none; else the
 * destination is asked for (an empty answer cancels) and the file written. A failure is
 * shown to the operator.
 */
ExportOutcome GuardarEXCEL(Workspace& ws, const QString& interno, const ExportOrder& order,
                           const std::function<QString()>& destination);
