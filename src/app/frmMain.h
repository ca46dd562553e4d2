#pragma once

#include "app/ProgressSink.h"
#include "app/Workspace.h"

#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;

/** The main window: the three-step wizard over one interno. */
class frmMain : public QWidget, public ProgressSink {
    Q_OBJECT
public:
    frmMain(const QString& home, OperatorDialogs& dialogs, QWidget* parent = nullptr);

    /** Start-up: opens the workspace; false (after telling the operator) when it cannot. */
    bool load();
    Workspace& workspace() { return m_workspace; }

    void setMessage(const QString& text) override;
    void setProgressVisible(bool visible) override;
    void setProgressMaximum(int maximum) override;
    void setProgressValue(int value) override;
    void setBusy(bool busy) override;

private:
    Workspace m_workspace;
    QLabel* m_message = nullptr;
    QProgressBar* m_progress = nullptr;
    QLabel* m_version = nullptr;
    QPushButton* m_config = nullptr;
    QPushButton* m_cancel = nullptr;
    QPushButton* m_next = nullptr;
};
