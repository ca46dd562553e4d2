// SPDX-License-Identifier: Apache-2.0
#include "review/HistoryWindow.h"

#include "controls/WindowGeometry.h"
#include "data/HistoryStore.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QTreeWidget>

using WindowGeometry::place;
using WindowGeometry::twips;

HistoryWindow::HistoryWindow(const QString& row, const QList<HistoryEntry>& entries,
                             QWidget* parent)
    : KeyPreviewDialog(parent)
{
    setObjectName(QStringLiteral("HistoryWindow"));
    setWindowTitle(QStringLiteral("Historial - ") + row);
    WindowGeometry::makeFixedDialog(this, 12000, 3900);

    lstHistory = place(new QTreeWidget(this), "lstHistory", twips(60, 60, 11880, 3780));
    lstHistory->setRootIsDecorated(false);
    lstHistory->setHeaderLabels({QStringLiteral("Hora"), QStringLiteral("Usuario"),
                                 QStringLiteral("Equipo"), QStringLiteral("Interfaz"),
                                 QStringLiteral("Campo"), QStringLiteral("Anterior"),
                                 QStringLiteral("Nuevo"), QStringLiteral("Detalle")});
    for (const HistoryEntry& e : entries)
        lstHistory->addTopLevelItem(new QTreeWidgetItem(
            {e.time, e.user, e.host, e.frontEnd, e.field, e.oldValue, e.newValue, e.detail}));
    lstHistory->header()->resizeSections(QHeaderView::ResizeToContents);
    if (lstHistory->topLevelItemCount() > 0)
        lstHistory->setCurrentItem(lstHistory->topLevelItem(0));
    lstHistory->setFocus();
    enableKeyPreview();
}

void HistoryWindow::showModal(const QString& row, const QList<HistoryEntry>& entries,
                              QWidget* parent)
{
    HistoryWindow window(row, entries, parent);
    window.exec();
}

bool HistoryWindow::previewKey(QObject* /*target*/, QKeyEvent* event)
{
    if (event->key() != Qt::Key_Escape)
        return false;
    reject();
    return true;
}
