#include "app/frmMain.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

frmMain::frmMain(const QString& home, OperatorDialogs& dialogs, QWidget* parent)
    : QWidget(parent)
    , m_workspace(home, dialogs, *this)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Aduplan"));

    m_message = new QLabel(this);
    m_message->setObjectName(QStringLiteral("Main_lbMensaje"));
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("Main_PrB"));
    m_progress->hide();
    m_version = new QLabel(Workspace::versionLabel(), this);
    m_version->setObjectName(QStringLiteral("lbVersion"));
    m_config = new QPushButton(QStringLiteral("Configuracion"), this);
    m_config->setObjectName(QStringLiteral("cmdConfig"));
    m_cancel = new QPushButton(QStringLiteral("Cancelar"), this);
    m_cancel->setObjectName(QStringLiteral("Command4"));
    m_next = new QPushButton(QStringLiteral("Seguiente >"), this);
    m_next->setObjectName(QStringLiteral("cmdSiguiente"));
    connect(m_cancel, &QPushButton::clicked, qApp, &QApplication::quit);

    auto* footer = new QHBoxLayout;
    footer->addWidget(m_version, 1);
    footer->addWidget(m_config);
    footer->addWidget(m_cancel);
    footer->addWidget(m_next);
    auto* layout = new QVBoxLayout(this);
    layout->addStretch(1);
    layout->addWidget(m_message);
    layout->addWidget(m_progress);
    layout->addLayout(footer);
}

bool frmMain::load()
{
    try {
        m_workspace.open();
    } catch (const AppError& error) {
        m_workspace.dialogs().message(MessageIcon::Critical, error.description());
        return false;
    }
    return true;
}

void frmMain::setMessage(const QString& text)
{
    m_message->setText(text);
    m_message->repaint();
}

void frmMain::setProgressVisible(bool visible)
{
    m_progress->setVisible(visible);
}

void frmMain::setProgressMaximum(int maximum)
{
    m_progress->setMaximum(maximum);
}

void frmMain::setProgressValue(int value)
{
    m_progress->setValue(value);
    m_progress->repaint();
}

void frmMain::setBusy(bool busy)
{
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}
