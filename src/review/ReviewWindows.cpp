// SPDX-License-Identifier: Apache-2.0
#include "review/ReviewWindows.h"

#include "controls/ButtonKeys.h"
#include "controls/WindowGeometry.h"
#include "review/ControlReport.h"
#include "review/InvoiceArithmetic.h"
#include "review/ResultsExport.h"
#include "workspace/SaveLocation.h"
#include "workspace/Workspace.h"

#include <QAbstractButton>
#include <QAction>
#include <QCoreApplication>
#include <QDialog>
#include <QHeaderView>
#include <QLayout>
#include <QMenu>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTableWidget>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

/** The preview's own action: the report as a PDF file, written whole or not at all. */
void addSaveAsPdf(QPrintPreviewDialog* preview, Workspace& ws,
                  const QList<ControlReport::Bands>& bands, const QString& fileName,
                  const QString& procedure)
{
    auto* save = new QAction(QStringLiteral("Guardar como PDF"), preview);
    save->setObjectName(QStringLiteral("cmdGuardarPDF"));
    QObject::connect(
        save, &QAction::triggered, preview, [preview, &ws, bands, fileName, procedure] {
            std::optional<QString> path =
                SaveLocation::ask(ws, QStringLiteral("Guardar como PDF"),
                                  {QStringLiteral("Documentos PDF (*.pdf)"),
                                   QStringLiteral("Todos los archivos (*)")},
                                  fileName);
            if (!path)
                return;
            if (!path->endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
                *path += QStringLiteral(".pdf");
            try {
                const BusyCursor busy(ws.progress());
                ControlReport::writePdf(bands, *path, preview->printer()->pageLayout());
            } catch (const AppError& error) {
                showProcedureError(ws, error, procedure);
                return;
            }
            ws.dialogs().message(MessageIcon::Information, SaveLocation::savedTo(*path));
        });
    if (auto* toolbar = preview->findChild<QToolBar*>())
        toolbar->addAction(save);
}

/**
 * Print and save from the keyboard: their shortcuts, named in their tooltips, and their buttons
 * in the Tab order, taking Enter. Escape closes the preview as it closes any dialog.
 */
void addKeys(QPrintPreviewDialog* preview)
{
    auto* toolbar = preview->findChild<QToolBar*>();
    if (!toolbar)
        return;
    // Wide enough for the whole toolbar: a button left in its overflow menu takes no focus.
    const QMargins margins =
        preview->contentsMargins() +
        (preview->layout() ? preview->layout()->contentsMargins() : QMargins());
    preview->setMinimumWidth(toolbar->sizeHint().width() + margins.left() + margins.right());
    const QString printText = QCoreApplication::translate("QPrintPreviewDialog", "Print");
    for (QAction* action : toolbar->actions()) {
        QKeySequence keys;
        QString tip;
        if (action->objectName() == QLatin1String("cmdGuardarPDF")) {
            keys = QKeySequence::Save;
            tip = QStringLiteral("Guardar como PDF");
        } else if (action->text() == printText) {
            keys = QKeySequence::Print;
            tip = QStringLiteral("Imprimir");
        } else {
            continue;
        }
        action->setShortcut(keys);
        action->setToolTip(tip + QStringLiteral(" (") + keys.toString(QKeySequence::NativeText) +
                           QLatin1Char(')'));
        if (auto* button = qobject_cast<QAbstractButton*>(toolbar->widgetForAction(action))) {
            button->setFocusPolicy(Qt::StrongFocus);
            ButtonKeys::enterPresses(button);
        }
    }
}

} // namespace

void showProcedureError(Workspace& ws, const AppError& error, const QString& procedure)
{
    ws.dialogs().message(
        MessageIcon::Critical,
        errorText(error, QStringLiteral(" - seccion [Aduplan.") + procedure + QLatin1Char(']')));
}

void showReport(Workspace& ws, const QList<ControlReport::Bands>& bands, const QString& title,
                const QString& fileName, bool modal, const QString& procedure, QWidget* owner)
{
    auto* preview = new QPrintPreviewDialog(owner);
    preview->setObjectName(QStringLiteral("Reporte"));
    preview->setWindowTitle(title);
    preview->setAttribute(Qt::WA_DeleteOnClose);
    preview->printer()->setPageLayout(ControlReport::pageLayout());
    QObject::connect(preview, &QPrintPreviewDialog::paintRequested, preview,
                     [&ws, bands, procedure](QPrinter* printer) {
                         try {
                             const BusyCursor busy(ws.progress());
                             ControlReport::render(*printer, bands);
                         } catch (const AppError& error) {
                             showProcedureError(ws, error, procedure);
                         }
                     });
    addSaveAsPdf(preview, ws, bands, fileName,
                 procedure.section(u'.', 0, 0) + QStringLiteral(".cmdGuardarPDF"));
    addKeys(preview);
    if (modal) {
        preview->exec();
    } else {
        preview->setWindowModality(Qt::NonModal);
        preview->show();
    }
}

void showControlReport(Workspace& ws, const QString& interno, ArticleTableModel::List list,
                       QWidget* owner)
{
    const bool errors = list == ArticleTableModel::List::WithErrors;
    const QString procedure = errors ? QStringLiteral("frmMain.FRAM3_cmdRepErr")
                                     : QStringLiteral("frmMain.FRAM3_cmdRepOK");
    ControlReport::Contents contents;
    try {
        const BusyCursor busy(ws.progress());
        contents = ControlReport::read(ws.work(), interno, list);
    } catch (const AppError& error) {
        showProcedureError(ws, error, procedure);
        return;
    }
    if (contents.rows.isEmpty()) {
        ws.dialogs().message(MessageIcon::Information, ControlReport::nothingToShow());
        return;
    }
    showReport(ws, ControlReport::bands(contents),
               errors ? QStringLiteral("Datos con Errores") : QStringLiteral("Registros OK"),
               QStringLiteral("interno-%1-%2.pdf")
                   .arg(SaveLocation::namePart(interno), errors
                                                             ? QStringLiteral("datos-con-errores")
                                                             : QStringLiteral("registros-ok")),
               errors, procedure, owner);
}

QWidget* showAmountsToReview(Workspace& ws, const QString& interno, QWidget* owner)
{
    QList<InvoiceArithmetic::ReviewLine> lines;
    try {
        const BusyCursor busy(ws.progress());
        lines = InvoiceArithmetic::reviewLines(InvoiceArithmetic::review(ws.work(), interno));
    } catch (const AppError& error) {
        showProcedureError(ws, error, QStringLiteral("frmMain.cmdAmountsToReview"));
        return nullptr;
    }
    auto* window = new QDialog(owner);
    window->setObjectName(QStringLiteral("frmAmountsToReview"));
    window->setWindowTitle(QStringLiteral("Importes a revisar"));
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setFont(WindowGeometry::windowFont());

    auto* table = new QTableWidget(int(lines.size()), 5, window);
    table->setObjectName(QStringLiteral("lstAmounts"));
    table->setHorizontalHeaderLabels({QStringLiteral("Línea"), QStringLiteral("Articulo"),
                                      QStringLiteral("Esperado"), QStringLiteral("Encontrado"),
                                      QStringLiteral("Diferencia")});
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setTabKeyNavigation(false);
    table->setWordWrap(false);
    const QLocale locale;
    for (int row = 0; row < lines.size(); ++row) {
        const InvoiceArithmetic::ReviewLine& line = lines.at(row);
        const QStringList cells = {line.line, line.subject,
                                   InvoiceArithmetic::amount(line.expected, locale),
                                   InvoiceArithmetic::amount(line.found, locale),
                                   InvoiceArithmetic::amount(line.found - line.expected, locale)};
        for (int column = 0; column < cells.size(); ++column) {
            auto* item = new QTableWidgetItem(cells.at(column));
            if (column >= 2)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table->setItem(row, column, item);
        }
    }
    table->resizeColumnsToContents();
    table->horizontalHeader()->setStretchLastSection(true);
    if (!lines.isEmpty())
        table->selectRow(0);

    auto* layout = new QVBoxLayout(window);
    layout->addWidget(table);
    window->resize(WindowGeometry::twips(9000), WindowGeometry::twips(3000));
    window->show();
    window->activateWindow();
    table->setFocus();
    return window;
}

QMenu* addExportMenu(QMenu* archivo, Workspace& ws, const QString& interno)
{
    QMenu* excel = archivo->addMenu(QStringLiteral("Guardar a EXCEL "));
    excel->setObjectName(QStringLiteral("mnuexcel"));
    for (const ExportOrder& order : ExportOrders) {
        QAction* action = excel->addAction(QString::fromUtf8(order.caption));
        action->setObjectName(QLatin1String(order.name));
        QObject::connect(action, &QAction::triggered, excel, [&ws, interno, &order] {
            QString path;
            const auto destination = [&] {
                return path = Seleccionar_Destino_XLS(ws, interno, order);
            };
            if (GuardarEXCEL(ws, interno, order, destination) == ExportOutcome::Written)
                ws.dialogs().message(MessageIcon::Information, SaveLocation::savedTo(path));
        });
    }
    return excel;
}
