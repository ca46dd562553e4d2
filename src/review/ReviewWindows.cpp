#include "review/ReviewWindows.h"

#include "review/ControlReport.h"
#include "review/ResultsExport.h"
#include "workspace/SaveLocation.h"
#include "workspace/Workspace.h"

#include <QAction>
#include <QMenu>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QToolBar>

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
