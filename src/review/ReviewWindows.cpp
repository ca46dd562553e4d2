#include "review/ReviewWindows.h"

#include "review/ControlReport.h"
#include "review/ResultsExport.h"
#include "workspace/Workspace.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QMenu>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QToolBar>

namespace {

/** The preview's own action: the report as a PDF file, written whole or not at all. */
void addSaveAsPdf(QPrintPreviewDialog* preview, Workspace& ws,
                  const QList<ControlReport::Bands>& bands, const QString& procedure)
{
    auto* save = new QAction(QStringLiteral("Guardar como PDF"), preview);
    save->setObjectName(QStringLiteral("cmdGuardarPDF"));
    QObject::connect(save, &QAction::triggered, preview, [preview, &ws, bands, procedure] {
        QString path = QFileDialog::getSaveFileName(preview, QStringLiteral("Guardar como PDF"),
                                                    QString(), QStringLiteral("PDF (*.pdf)"))
                           .trimmed();
        if (path.isEmpty())
            return;
        if (!path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
            path += QStringLiteral(".pdf");
        try {
            const BusyCursor busy(ws.progress());
            ControlReport::writePdf(bands, path, preview->printer()->pageLayout());
        } catch (const AppError& error) {
            showProcedureError(ws, error, procedure);
        }
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
                bool modal, const QString& procedure, QWidget* owner)
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
    addSaveAsPdf(preview, ws, bands,
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
               errors, procedure, owner);
}

QString Seleccionar_Destino_XLS(QWidget* owner)
{
    QFileDialog dialog(owner, QStringLiteral("Guardar Reporte de Libro IVA Ventas"),
                       QDir::rootPath());
    dialog.setObjectName(QStringLiteral("Seleccionar_Destino_XLS"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // An existing file is replaced without a question, as the export always did.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setNameFilters(
        {QStringLiteral("XLS Delimitado por comas (*.xls)"), QStringLiteral("All Files (*.*)")});
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    const QString path = dialog.selectedFiles().first().remove(QChar(0)).trimmed();
    return path.isEmpty() ? path : withXlsExtension(path);
}

QMenu* addExportMenu(QMenu* archivo, Workspace& ws, const QString& interno, QWidget* owner)
{
    QMenu* excel = archivo->addMenu(QStringLiteral("Guardar a EXCEL "));
    excel->setObjectName(QStringLiteral("mnuexcel"));
    for (const ExportOrder& order : ExportOrders) {
        QAction* action = excel->addAction(QString::fromUtf8(order.caption));
        action->setObjectName(QLatin1String(order.name));
        QObject::connect(action, &QAction::triggered, excel, [&ws, interno, owner, &order] {
            GuardarEXCEL(ws, interno, order, [owner] { return Seleccionar_Destino_XLS(owner); });
        });
    }
    return excel;
}
