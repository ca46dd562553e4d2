// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "review/ArticleTableModel.h"
#include "review/SuggestionColumn.h"

#include <QMainWindow>

class QMenu;
class QTableView;
class Workspace;

/**
 * The results list ("Resultados") of an interno: its records with errors or its clean records,
 * the caption saying which. Enter or a double click opens the line in the record editor; after
 * a save the list is read again and the line that followed the saved one is selected, so a
 * whole list can be corrected from the keyboard.
 */
class frmDEP : public QMainWindow {
    Q_OBJECT
public:
    frmDEP(Workspace& ws, const QString& interno, ArticleTableModel::List list,
           QWidget* parent = nullptr);

    /** Shows the list: read again when the window shows the other one, else left as it is. */
    void showList(ArticleTableModel::List list);

Q_SIGNALS:
    /** A record was saved in the editor opened from the list. */
    void saved();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    /** `CargarRegConErrores` or `CargarRegOK`: reads the list's rows again, names it. */
    void load(ArticleTableModel::List list);
    /** Opens the current line in the record editor; refills the list after a save. */
    void openRecord();

    Workspace& m_ws;
    QString m_interno;
    ArticleTableModel m_model;
    SuggestionColumn m_withSuggestions{m_ws, m_model};
    QTableView* lstDEP = nullptr;
    QMenu* m_mnuArchivo = nullptr;
};
