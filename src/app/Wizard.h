#pragma once

#include "app/Internos.h"
#include "process/Statistics.h"

#include <QList>
#include <QString>

class Workspace;

/** Which records the step-3 buttons act on (the results list mode). */
enum class ResultsMode { Errores = 1, Ok = 2 };

/**
 * The three-step wizard over one interno, without its window: the internos of step 1, the
 * document of step 2, the counters of step 3 and the state of the header, the panels and the
 * next-step button. The main window renders this state after each operation it forwards.
 * The step and the current interno live in the workspace.
 */
class Wizard {
public:
    explicit Wizard(Workspace& ws);

    int step() const;

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
    const ProcessCounters& counters() const { return m_counters; }
    /** The results list of the records with errors or of the clean records. */
    void FRAM3_AbrirResultados(ResultsMode mode);
    /** The control report of the records with errors or of the clean records. */
    void FRAM3_ImprimirControl(ResultsMode mode);

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

    Workspace& m_ws;
    QList<InternoRow> m_internos;
    int m_selected = -1;
    QString m_documentPath;
    ProcessCounters m_counters;
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

/**
 * For the operations of step 3 whose windows are not built yet: tells the operator that the
 * function is not available yet.
 */
void funcionNoDisponible(Workspace& ws);
