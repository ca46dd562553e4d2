// SPDX-License-Identifier: Apache-2.0
#include "config/frmConfig.h"

#include "config/CatalogCheck.h"
#include "config/Configuration.h"
#include "config/frmNewPais.h"
#include "controls/WindowGeometry.h"
#include "review/ReviewWindows.h"
#include "transfer/CatalogRevert.h"
#include "wizard/Internos.h"
#include "workspace/SaveLocation.h"
#include "workspace/Workspace.h"

#include <QComboBox>
#include <QFrame>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

using WindowGeometry::named;
using WindowGeometry::twips;

namespace {

/** A bold title label. */
QLabel* title(QWidget* parent, const char* name, const QString& text)
{
    auto* label = named(new QLabel(text, parent), name);
    label->setFont(WindowGeometry::windowFont(true));
    return label;
}

/** A horizontal separator under a title. */
QFrame* makeLine(QWidget* parent, const char* name)
{
    auto* line = named(new QFrame(parent), name);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

/** The relations the grid shows at least without scrolling. */
constexpr int VisibleRelations = 12;

} // namespace

frmConfig::frmConfig(Workspace& ws, QWidget* parent)
    : KeyPreviewDialog(parent)
    , m_ws(ws)
{
    setObjectName(QStringLiteral("frmConfig"));
    setWindowTitle(QStringLiteral("Configuración"));
    setFont(WindowGeometry::windowFont());

    Label2 = title(this, "Label2", QStringLiteral("Catalogo Dectra"));
    Line2 = makeLine(this, "Line2");
    cboCatalogo = named(new QComboBox(this), "cboCatalogo");
    // Wide enough for the longest catalog name.
    cboCatalogo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    cboIdCatalogo = named(new QComboBox(this), "cboIdCatalogo");
    cboIdCatalogo->hide();

    Label3 = title(this, "Label3", QStringLiteral("Relaciones de Origen"));
    Line3 = makeLine(this, "Line3");

    GridOrigen = named(new QTableWidget(0, 2, this), "GridOrigen");
    GridOrigen->setHorizontalHeaderLabels({QStringLiteral("Un Fact"), QStringLiteral("Un Maria")});
    GridOrigen->verticalHeader()->hide();
    // Both columns share the grid's width, so moving along a row never scrolls one away.
    GridOrigen->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    GridOrigen->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    GridOrigen->setEditTriggers(QAbstractItemView::NoEditTriggers);
    GridOrigen->setSelectionBehavior(QAbstractItemView::SelectRows);
    GridOrigen->setSelectionMode(QAbstractItemView::SingleSelection);
    GridOrigen->setTabKeyNavigation(false);
    GridOrigen->setMinimumHeight(GridOrigen->horizontalHeader()->sizeHint().height() +
                                 VisibleRelations *
                                     GridOrigen->verticalHeader()->defaultSectionSize() +
                                 2 * GridOrigen->frameWidth());

    Label5 =
        named(new QLabel(QStringLiteral("[INSERT] Agregar - [DELETE] Eliminar"), this), "Label5");
    cmdVerificarCatalogo = named(new QPushButton(QStringLiteral("Verificar catálogo..."), this),
                                 "cmdVerificarCatalogo");
    connect(cmdVerificarCatalogo, &QPushButton::clicked, this, &frmConfig::checkCatalog);
    cmdRevertirCatalogo =
        named(new QPushButton(QStringLiteral("Revertir el catálogo de un traspaso..."), this),
              "cmdRevertirCatalogo");
    connect(cmdRevertirCatalogo, &QPushButton::clicked, this, &frmConfig::revertCatalog);
    Label4 = named(new QLabel(QStringLiteral("[ESC] Cerrar"), this), "Label4");

    // The grid takes the room the window gains; the list and the lines widen with it.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(twips(180), twips(120), twips(180), twips(180));
    for (QWidget* control :
         std::initializer_list<QWidget*>{Label2, Line2, cboCatalogo, Label3, Line3, GridOrigen,
                                         Label5, cmdVerificarCatalogo, cmdRevertirCatalogo})
        layout->addWidget(control);
    layout->addWidget(Label4, 0, Qt::AlignRight);
    layout->insertSpacing(layout->indexOf(Label3), twips(180));

    setTabOrder(cboCatalogo, GridOrigen);
    setTabOrder(GridOrigen, cmdVerificarCatalogo);
    setTabOrder(cmdVerificarCatalogo, cmdRevertirCatalogo);
    enableKeyPreview();

    const Configuration::CatalogChoice catalogs = Configuration::catalogs(m_ws);
    cboIdCatalogo->addItems(catalogs.ids);
    cboCatalogo->addItems(catalogs.lines);
    cboCatalogo->setCurrentIndex(catalogs.selected);
    Cargar_Pais();
    WindowGeometry::makeResizableDialog(this);
    m_restored = WindowGeometry::rememberGeometry(this, m_ws.settings());
}

bool frmConfig::previewKey(QObject* target, QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        GrabarySalir();
        return true;
    }
    if (target != GridOrigen)
        return false;
    switch (event->key()) {
    case Qt::Key_Insert:
        Agregar_PaisRel();
        return true;
    case Qt::Key_Delete:
        Eliminar_PaisRel();
        return true;
    default:
        return false;
    }
}

void frmConfig::showEvent(QShowEvent* event)
{
    KeyPreviewDialog::showEvent(event);
    if (m_placed)
        return;
    m_placed = true;
    if (!m_restored)
        WindowGeometry::centreOn(this, nullptr);
    cboCatalogo->setFocus();
}

void frmConfig::Cargar_Pais()
{
    const QList<OriginRelation> relations = Configuration::Cargar_Pais(m_ws);
    GridOrigen->setRowCount(0);
    GridOrigen->setRowCount(static_cast<int>(relations.size()));
    for (int row = 0; row < relations.size(); ++row) {
        GridOrigen->setItem(row, 0, new QTableWidgetItem(relations.at(row).text));
        GridOrigen->setItem(row, 1, new QTableWidgetItem(relations.at(row).code));
    }
    if (GridOrigen->rowCount() > 0) {
        GridOrigen->setCurrentCell(0, 0);
        GridOrigen->selectRow(0);
    }
}

void frmConfig::Agregar_PaisRel()
{
    if (frmNewPais::open(m_ws, frmNewPais::Mode::M, QString(), this))
        Cargar_Pais();
}

void frmConfig::Eliminar_PaisRel()
{
    const int row = GridOrigen->currentRow();
    if (GridOrigen->rowCount() == 0 || row < 0)
        return;
    const OriginRelation relation{GridOrigen->item(row, 0)->text(),
                                  GridOrigen->item(row, 1)->text()};
    if (!Configuration::Eliminar_PaisRel(m_ws, relation))
        return;
    if (GridOrigen->rowCount() == 1) {
        GridOrigen->setRowCount(0);
        return;
    }
    GridOrigen->removeRow(row);
    if (GridOrigen->currentRow() >= 0)
        GridOrigen->selectRow(GridOrigen->currentRow());
}

void frmConfig::GrabarySalir()
{
    QStringList ids;
    for (int line = 0; line < cboIdCatalogo->count(); ++line)
        ids << cboIdCatalogo->itemText(line);
    Configuration::GrabarySalir(m_ws, ids, cboCatalogo->currentIndex());
    accept();
}

void frmConfig::checkCatalog()
{
    const int line = cboCatalogo->currentIndex();
    if (line < 0)
        return;
    const QString procedure = QStringLiteral("frmConfig.cmdVerificarCatalogo");
    CatalogCheckResult result;
    try {
        result = CatalogCheck::run(m_ws, cboIdCatalogo->itemText(line));
    } catch (const AppError& error) {
        m_ws.dialogs().message(MessageIcon::Critical,
                               errorText(error, QStringLiteral(" - seccion [Aduplan.") + procedure +
                                                    QLatin1Char(']')));
        return;
    }
    if (result.failures.isEmpty()) {
        m_ws.dialogs().message(MessageIcon::Information,
                               QStringLiteral("Los %1 artículos del catálogo %2 son válidos.")
                                   .arg(QString::number(result.checked), result.catalog));
        return;
    }
    showReport(
        m_ws, {CatalogCheck::report(result)},
        QStringLiteral("Verificación del catálogo ") + result.catalog,
        QStringLiteral("catalogo-%1-verificacion.pdf").arg(SaveLocation::namePart(result.catalog)),
        true, procedure, this);
}

void frmConfig::revertCatalog()
{
    const std::optional<QString> interno = m_ws.dialogs().textInput(
        QStringLiteral("Interno cuyo último traspaso se revierte en el catálogo:"),
        QStringLiteral("Revertir el catálogo de un traspaso"), QString());
    if (interno && !interno->trimmed().isEmpty())
        revertTransferCatalog(m_ws, Internos::textoGuardado(*interno));
}
