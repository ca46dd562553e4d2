// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "process/Statistics.h"
#include "wizard/Internos.h"

#include <QList>
#include <QString>

class Workspace;

/**
 * The three-step wizard over one interno, without its window: the internos of step 1, the
 * document of step 2, the counters of step 3 and the state of the header, the panels and the
 * next-step button. The main window renders this state after each operation it forwards.
 * It holds the step and the interno being worked on, from step 2 on.
 */
class Wizard {
public:
    explicit Wizard(Workspace& ws);

    int step() const { return m_step; }
    /** The interno chosen at step 1 (empty before). */
    const QString& interno() const { return m_interno; }

    // Step 1: the internos list.
    const QList<InternoRow>& internos() const { return m_internos; }
    /** Index of the selected list item; -1 when the list is empty. */
    int selected() const { return m_selected; }
    void select(int index);
    /** Refills the list from the work database; the first item is selected. */
    void FRAM1_CargarInternos();
    /** After the add dialog stored an interno: refills the list and selects the new one. */
    void FRAM1_InternoCreado(const QString& numero);
    /** Deletes the selected interno after the operator's confirmation. */
    void FRAM1_EliminarInterno();

    // Step 2: the document.
    const QString& documentPath() const { return m_documentPath; }
    /** The file choice: the document's path, then its check. */
    void FRAM2_CmdProcesar();
    /** Asks for the document; true when one was chosen (its path is then kept). */
    bool Seleccionar_Archivo_XLS();
    /** True when the document exists: the next-step button is enabled and its tag emptied. */
    bool lf_LevantarExcel(const QString& p_Archivo);

    // Step 3.
    const ArticleCounters& counters() const { return m_counters; }
    /** Lines whose total is wrong, plus one when the invoice's stated total differs. */
    qint64 amountsToReview() const { return m_amountsToReview; }
    /** Reads the counters and the amounts to review again, as after a save in the editor. */
    void refreshCounters();

    /** The next-step button: leaves step 1, processes at step 2, transfers at step 3. */
    void MAIN_CambiarPaso();

    // What the window shows.
    const QString& pasoNro() const { return m_pasoNro; }
    const QString& pasoDesc() const { return m_pasoDesc; }
    /** The panel in front, 1 to 3. */
    int panel() const { return m_panel; }
    /** Whether a step panel (1 to 3) accepts input. */
    bool panelEnabled(int panel) const { return m_panelEnabled.at(panel - 1); }
    bool nextEnabled() const { return m_nextEnabled; }
    const QString& nextCaption() const { return m_nextCaption; }
    /** "OK" when step 2 may skip processing because the interno already has rows. */
    const QString& nextTag() const { return m_nextTag; }

private:
    void dejarPaso1();
    void procesar();
    void irPaso3();
    /** Step 3's counters and amounts to review; a database failure raises. */
    void readCounters();

    Workspace& m_ws;
    int m_step = 1;
    QString m_interno;
    QList<InternoRow> m_internos;
    int m_selected = -1;
    QString m_documentPath;
    ArticleCounters m_counters;
    qint64 m_amountsToReview = 0;
    QString m_pasoNro;
    QString m_pasoDesc;
    int m_panel = 1;
    QList<bool> m_panelEnabled{true, true, true};
    bool m_nextEnabled = true;
    QString m_nextCaption;
    QString m_nextTag;
    /** The point of the step change reached, for its error report. */
    int m_line = 0;
};
