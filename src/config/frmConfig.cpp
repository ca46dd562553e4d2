#include "config/frmConfig.h"

#include "config/CatalogCheck.h"
#include "config/Configuration.h"
#include "config/frmNewPais.h"
#include "controls/WindowGeometry.h"
#include "review/ReviewWindows.h"
#include "workspace/Workspace.h"

#include <QComboBox>
#include <QFrame>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

using WindowGeometry::place;
using WindowGeometry::twips;

namespace {

/** A bold title label. */
QLabel* title(QWidget* parent, const char* name, const QString& text, const QRect& at)
{
    QLabel* label = place(new QLabel(text, parent), name, at);
    label->setFont(WindowGeometry::windowFont(true));
    return label;
}

/** A horizontal separator from left to right (twips) at the given height. */
QFrame* makeLine(QWidget* parent, const char* name, int left, int right, int height)
{
    QFrame* line = place(new QFrame(parent), name,
                         QRect(twips(left), twips(height) - 1, twips(right) - twips(left), 3));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

/** The starting size (twips) and the places of the controls that follow the window's size. */
constexpr int Width = 3225;
constexpr int Height = 4875;
const QRect CatalogPlace = twips(240, 450, 2745, 315);
const QRect GridPlace = twips(210, 1245, 2805, 2415);
const QRect KeysPlace = twips(180, 3735, 2835, 255);
const QRect CheckPlace = twips(180, 3990, 2835, 345);
const QRect ClosePlace = twips(1440, 4410, 1515, 195);

} // namespace

frmConfig::frmConfig(Workspace& ws, QWidget* parent)
    : KeyPreviewDialog(parent)
    , m_ws(ws)
{
    setObjectName(QStringLiteral("frmConfig"));
    setWindowTitle(QStringLiteral("Configuración"));
    WindowGeometry::makeResizableDialog(this, Width, Height);

    Label2 = title(this, "Label2", QStringLiteral("Catalogo Dectra"), twips(270, 120, 2115, 195));
    Line2 = makeLine(this, "Line2", 150, 3090, 360);

    cboCatalogo = place(new QComboBox(this), "cboCatalogo", CatalogPlace);
    cboIdCatalogo = place(new QComboBox(this), "cboIdCatalogo", twips(630, 450, 525, 315));
    cboIdCatalogo->hide();

    Label3 =
        title(this, "Label3", QStringLiteral("Relaciones de Origen"), twips(270, 945, 2535, 195));
    Line3 = makeLine(this, "Line3", 150, 3090, 1185);

    GridOrigen = place(new QTableWidget(0, 2, this), "GridOrigen", GridPlace);
    GridOrigen->setHorizontalHeaderLabels({QStringLiteral("Un Fact"), QStringLiteral("Un Maria")});
    GridOrigen->verticalHeader()->hide();
    // Both columns share the grid's width, so moving along a row never scrolls one away.
    GridOrigen->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    GridOrigen->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    GridOrigen->setEditTriggers(QAbstractItemView::NoEditTriggers);
    GridOrigen->setSelectionBehavior(QAbstractItemView::SelectRows);
    GridOrigen->setSelectionMode(QAbstractItemView::SingleSelection);
    GridOrigen->setTabKeyNavigation(false);

    Label5 = place(new QLabel(QStringLiteral("[INSERT] Agregar - [DELETE] Eliminar"), this),
                   "Label5", KeysPlace);
    Label4 = place(new QLabel(QStringLiteral("[ESC] Cerrar"), this), "Label4", ClosePlace);
    cmdVerificarCatalogo = place(new QPushButton(QStringLiteral("Verificar catálogo..."), this),
                                 "cmdVerificarCatalogo", CheckPlace);
    connect(cmdVerificarCatalogo, &QPushButton::clicked, this, &frmConfig::checkCatalog);

    setTabOrder(cboCatalogo, GridOrigen);
    setTabOrder(GridOrigen, cmdVerificarCatalogo);
    enableKeyPreview();

    const Configuration::CatalogChoice catalogs = Configuration::catalogs(m_ws);
    cboIdCatalogo->addItems(catalogs.ids);
    cboCatalogo->addItems(catalogs.lines);
    cboCatalogo->setCurrentIndex(catalogs.selected);
    Cargar_Pais();
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
    WindowGeometry::centreOn(this, nullptr);
    cboCatalogo->setFocus();
}

void frmConfig::resizeEvent(QResizeEvent* event)
{
    KeyPreviewDialog::resizeEvent(event);
    // The grid takes the room the window gained; the list and the lines widen, the key help
    // moves down.
    const int dx = width() - twips(Width);
    const int dy = height() - twips(Height);
    cboCatalogo->setGeometry(CatalogPlace.adjusted(0, 0, dx, 0));
    GridOrigen->setGeometry(GridPlace.adjusted(0, 0, dx, dy));
    for (QFrame* line : {Line2, Line3})
        line->resize(twips(3090) - twips(150) + dx, line->height());
    Label5->move(KeysPlace.topLeft() + QPoint(0, dy));
    cmdVerificarCatalogo->setGeometry(CheckPlace.translated(0, dy).adjusted(0, 0, dx, 0));
    Label4->move(ClosePlace.topLeft() + QPoint(dx / 2, dy));
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
    showReport(m_ws, {CatalogCheck::report(result)},
               QStringLiteral("Verificación del catálogo ") + result.catalog, true, procedure,
               this);
}
