// SPDX-License-Identifier: Apache-2.0
#include "review/frmDEP.h"

#include "controls/WindowGeometry.h"
#include "review/ReviewWindows.h"
#include "review/frmModificar.h"
#include "workspace/Workspace.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMenuBar>
#include <QShortcut>
#include <QTableView>
#include <QVBoxLayout>

frmDEP::frmDEP(Workspace& ws, const QString& interno, ArticleTableModel::List list, QWidget* parent)
    : QMainWindow(parent)
    , m_ws(ws)
    , m_interno(interno)
{
    setObjectName(QStringLiteral("frmDEP"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(WindowGeometry::windowFont());

    m_mnuArchivo = menuBar()->addMenu(QStringLiteral("&Archivo"));
    m_mnuArchivo->setObjectName(QStringLiteral("mnuArchivo"));
    addExportMenu(m_mnuArchivo, ws, interno);
    QAction* mnuSalir = m_mnuArchivo->addAction(QStringLiteral("Salir"));
    mnuSalir->setObjectName(QStringLiteral("mnuSalir"));
    connect(mnuSalir, &QAction::triggered, this, &QWidget::close);
    // F10 opens the menu, as Alt+A does.
    new QShortcut(QKeySequence(Qt::Key_F10), this,
                  [this] { menuBar()->setActiveAction(m_mnuArchivo->menuAction()); });

    auto* frame = new QWidget(this);
    lstDEP = new QTableView(frame);
    lstDEP->setObjectName(QStringLiteral("lstDEP"));
    lstDEP->setModel(&m_withSuggestions);
    lstDEP->setSelectionBehavior(QAbstractItemView::SelectRows);
    lstDEP->setSelectionMode(QAbstractItemView::SingleSelection);
    lstDEP->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstDEP->setShowGrid(false);
    lstDEP->setWordWrap(false);
    lstDEP->setTabKeyNavigation(false);
    lstDEP->verticalHeader()->hide();
    lstDEP->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    lstDEP->verticalHeader()->setDefaultSectionSize(lstDEP->fontMetrics().height() + 4);
    lstDEP->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    for (int column = 0; column < m_model.columnCount(); ++column)
        lstDEP->setColumnWidth(column,
                               WindowGeometry::twips(ArticleTableModel::columnTwips(column)));
    lstDEP->setColumnWidth(m_withSuggestions.column(), WindowGeometry::twips(1600));
    lstDEP->installEventFilter(this);
    connect(lstDEP, &QTableView::doubleClicked, this, [this] { openRecord(); });
    // The list fills the window with a margin of 40 twips on the left and top, 50 on the right
    // and bottom.
    auto* layout = new QVBoxLayout(frame);
    layout->setContentsMargins(WindowGeometry::twips(40), WindowGeometry::twips(40),
                               WindowGeometry::twips(50), WindowGeometry::twips(50));
    layout->addWidget(lstDEP);
    setCentralWidget(frame);

    resize(WindowGeometry::twips(15000), WindowGeometry::twips(6000));
    load(list);
}

void frmDEP::showList(ArticleTableModel::List list)
{
    if (list != m_model.list())
        load(list);
}

void frmDEP::load(ArticleTableModel::List list)
{
    try {
        ArticleStore store(m_ws.work());
        m_model.load(store, m_interno, list);
    } catch (const AppError& error) {
        m_ws.dialogs().message(MessageIcon::None,
                               errorText(error, QStringLiteral(" - seccion [Aduplan.frmDEP.]")));
    }
    // The caption names the list the window shows, which a failed read left as it was.
    setWindowTitle(m_model.list() == ArticleTableModel::List::WithErrors
                       ? QStringLiteral("Resultados: Datos con Errores")
                       : QStringLiteral("Resultados: Registros OK"));
    if (m_model.rowCount() > 0)
        lstDEP->selectRow(0);
}

bool frmDEP::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lstDEP && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            openRecord();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmDEP::openRecord()
{
    const int row = lstDEP->currentIndex().row();
    if (m_model.rowCount() == 0 || row < 0)
        return;
    const qint64 line = m_model.article(row).line;
    // The line to select after a save: the one that followed, else the saved one (the last).
    const qint64 following = row + 1 < m_model.rowCount() ? m_model.article(row + 1).line : line;
    frmModificar editor(m_ws, m_interno, line, this);
    const bool stored = editor.exec() == QDialog::Accepted;
    // Back to the list for the next line, whatever the window system activates.
    activateWindow();
    lstDEP->setFocus();
    if (!stored)
        return;

    Q_EMIT saved();
    load(m_model.list());
    int select = std::min(row, m_model.rowCount() - 1);
    for (int r = 0; r < m_model.rowCount(); ++r) {
        if (m_model.article(r).line == following) {
            select = r;
            break;
        }
    }
    if (select >= 0)
        lstDEP->selectRow(select);
}
