// SPDX-License-Identifier: Apache-2.0
#include "review/FrmCargaSufijos.h"

#include "controls/ClCntrl.h"
#include "controls/WindowGeometry.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QListWidget>

using WindowGeometry::place;
using WindowGeometry::twips;

FrmCargaSufijos::FrmCargaSufijos(const QStringList& lines, int preselected, QWidget* parent)
    : KeyPreviewDialog(parent)
{
    setObjectName(QStringLiteral("FrmCargaSufijos"));
    setWindowTitle(QStringLiteral("Carga de Sufijos"));
    WindowGeometry::makeFixedDialog(this, 5400, 3000);

    FrmList = place(new QGroupBox(QStringLiteral("Selecione una Opción"), this), "FrmList",
                    twips(120, 60, 5160, 2820));
    LstOpcion = place(new QListWidget(FrmList), "LstOpcion", twips(120, 300, 4920, 2400));
    LstOpcion->addItems(lines);
    auto* helper = new ClCntrl;
    helper->sLinkListBox(LstOpcion);
    LstOpcion->setCurrentRow(preselected);
    connect(LstOpcion, &QListWidget::itemDoubleClicked, this, [this] { chooseCurrent(); });
    enableKeyPreview();
}

std::optional<QString> FrmCargaSufijos::choose(const QStringList& lines, int preselected,
                                               QWidget* parent)
{
    FrmCargaSufijos chooser(lines, preselected, parent);
    chooser.exec();
    return chooser.chosen();
}

bool FrmCargaSufijos::previewKey(QObject*, QKeyEvent* event)
{
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter)
        return false;
    chooseCurrent();
    return true;
}

void FrmCargaSufijos::showEvent(QShowEvent* event)
{
    KeyPreviewDialog::showEvent(event);
    if (LstOpcion->count() > 0 && LstOpcion->currentRow() < 0)
        LstOpcion->setCurrentRow(0);
    LstOpcion->setFocus();
}

void FrmCargaSufijos::chooseCurrent()
{
    if (const QListWidgetItem* item = LstOpcion->currentItem()) {
        m_chosen = item->text();
        accept();
    }
}
