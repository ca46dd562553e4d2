// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "review/ArticleTableModel.h"
#include "wizard/Wizard.h"
#include "workspace/ProgressSink.h"
#include "workspace/Workspace.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QWidget>

#include <optional>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QStackedWidget;
class QTreeWidget;
class frmDEP;

/** The main window: the three-step wizard over one interno. */
class frmMain : public QWidget, public ProgressSink {
    Q_OBJECT
public:
    frmMain(const QString& home, OperatorDialogs& dialogs, QWidget* parent = nullptr);

    /**
     * Start-up: opens the workspace, fills the internos list and shows step 1; false (after
     * telling the operator) when the workspace cannot be opened.
     */
    bool load();
    Workspace& workspace() { return m_workspace; }
    Wizard& wizard() { return m_wizard; }

    void setMessage(const QString& text) override;
    void setProgressVisible(bool visible) override;
    void setProgressMaximum(int maximum) override;
    void setProgressValue(int value) override;
    void setBusy(bool busy) override;

private:
    QWidget* buildHeader();
    QWidget* buildStep1();
    QWidget* buildStep2();
    QWidget* buildStep3();
    QWidget* buildFooter();

    void FRAM1_NuevoInterno();
    void FRAM1_EliminarInterno();
    void MAIN_CambiarPaso();
    /** The results list of the records with errors or of the clean records. */
    void FRAM3_AbrirResultados(ArticleTableModel::List list);
    /** The amounts to review, read anew. */
    void openAmountsToReview();
    /** The control report of the records with errors or of the clean records. */
    void FRAM3_ImprimirControl(ArticleTableModel::List list);
    /** Shows the wizard's state: header, panels, document, counters and next-step button. */
    void render();
    void renderInternos();
    /** Gives the progress bar the value setProgressValue held back, if any. */
    void showHeldProgress();

    Workspace m_workspace;
    Wizard m_wizard;
    /** Since the last step change, to tell a double-click from two presses. */
    QElapsedTimer m_stepChanged;
    int m_busyDepth = 0;
    /** The bar's last value not shown yet, and since when it shows the one it has. */
    std::optional<int> m_heldValue;
    QElapsedTimer m_progressShown;

    QLabel* m_pasoNro = nullptr;
    QLabel* m_pasoDesc = nullptr;
    QStackedWidget* m_panels = nullptr;
    QList<QWidget*> m_frames;
    QTreeWidget* m_internos = nullptr;
    QLineEdit* m_archivo = nullptr;
    QPushButton* m_procesar = nullptr;
    QList<QLabel*> m_counters;
    QPushButton* m_amountsButton = nullptr;
    QPushButton* m_regErr = nullptr;
    /** The results list while it is open. */
    QPointer<frmDEP> m_results;
    /** The amounts to review while they are open. */
    QPointer<QWidget> m_amounts;

    QLabel* m_message = nullptr;
    QProgressBar* m_progress = nullptr;
    QLabel* m_version = nullptr;
    QPushButton* m_config = nullptr;
    QPushButton* m_cancel = nullptr;
    QPushButton* m_next = nullptr;
};
