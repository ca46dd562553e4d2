// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "controls/KeyPreviewDialog.h"

class QComboBox;
class QFrame;
class QLabel;
class QPushButton;
class QTableWidget;
class Workspace;

/**
 * The configuration window ("Configuración"): the catalog of the declaration system and the
 * origin relations. Escape stores the chosen catalog and closes; the close box stores
 * nothing. On the grid, Insert adds a relation and Delete removes the current one. The catalog
 * chosen in the list can be checked against the nomenclator, its failures shown in a report.
 * The catalog changes of an interno's last transfer can be reverted.
 */
class frmConfig : public KeyPreviewDialog {
    Q_OBJECT
public:
    frmConfig(Workspace& ws, QWidget* parent = nullptr);

protected:
    bool previewKey(QObject* target, QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void Cargar_Pais();
    void Agregar_PaisRel();
    void Eliminar_PaisRel();
    void GrabarySalir();
    void checkCatalog();
    /** Asks for an interno and reverts its last transfer's catalog changes (asking first). */
    void revertCatalog();

    Workspace& m_ws;
    bool m_placed = false;
    /** Given the size and place it had when last closed. */
    bool m_restored = false;

    QLabel* Label2 = nullptr;
    QComboBox* cboCatalogo = nullptr;
    QComboBox* cboIdCatalogo = nullptr;
    QFrame* Line2 = nullptr;
    QFrame* Line3 = nullptr;
    QLabel* Label3 = nullptr;
    QTableWidget* GridOrigen = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label4 = nullptr;
    QPushButton* cmdVerificarCatalogo = nullptr;
    QPushButton* cmdRevertirCatalogo = nullptr;
};
