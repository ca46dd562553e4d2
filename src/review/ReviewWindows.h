// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "review/ArticleTableModel.h"
#include "review/ControlReport.h"

#include <QString>

class AppError;
class QMenu;
class QWidget;
class Workspace;

/** The critical report of a failure in a procedure ("frmMain.FRAM3_cmdRepOK"). */
void showProcedureError(Workspace& ws, const AppError& error, const QString& procedure);

/**
 * A report in a print preview that prints, sets up the page and saves as PDF (proposing the
 * file name given): modal (the owner waits) or beside its owner. A failure is reported with
 * the procedure's section ("frmMain.FRAM3_cmdRepOK").
 */
void showReport(Workspace& ws, const QList<ControlReport::Bands>& bands, const QString& title,
                const QString& fileName, bool modal, const QString& procedure, QWidget* owner);

/**
 * The control report of the interno's rows with errors (modal: the owner waits) or of its
 * clean rows (modeless), in a print preview that prints, sets up the page and saves as PDF.
 * With no row the operator is told so and nothing opens.
 */
void showControlReport(Workspace& ws, const QString& interno, ArticleTableModel::List list,
                       QWidget* owner);

/**
 * The amounts to review of the interno ("Importes a revisar"), beside its owner: each line whose
 * total is wrong with the total expected and the one found, and the stated total against the
 * sum of the lines when they differ. Escape closes it. Nothing opens when the amounts cannot
 * be read (the failure is reported).
 */
QWidget* showAmountsToReview(Workspace& ws, const QString& interno, QWidget* owner);

/**
 * Adds the export submenu "Guardar a EXCEL " (`mnuexcel`) with its three orders to a window's
 * "Archivo" menu: each exports every row of the interno, asking the operator where, and tells
 * where the file went.
 */
QMenu* addExportMenu(QMenu* archivo, Workspace& ws, const QString& interno);
