#pragma once

#include "data/ArticleStore.h"
#include "review/ArticleTableModel.h"
#include "review/InvoiceArithmetic.h"

#include <QList>
#include <QPageLayout>

class QPagedPaintDevice;
class QPaintDevice;

/**
 * The control reports: the rows with errors or the clean rows of an interno, painted in the
 * banded layout of the printed report (page header with the two group captions and the grey
 * caption row, a two-line detail per row, the footer "Pagina N de M"). When the invoice's
 * amounts do not add up, the section "Importes a revisar" follows on pages of its own: each
 * wrong line (line, article, expected, found) and the stated total against the lines' sum. The
 * same painting serves the print preview, the printer and the PDF file.
 */
namespace ControlReport {

/** What a report shows. */
struct Contents {
    QList<Article> rows;
    InvoiceArithmetic::Review amounts;
};

/** What the operator is told when the report would have no row. */
QString nothingToShow();

/** The report of the interno: its rows in the list's order (errors or clean), its amounts. */
Contents read(DataSession& work, const QString& interno, ArticleTableModel::List list);

/** A4 upright with margins narrow enough for the report's full width. */
QPageLayout pageLayout();

/**
 * Paints the report's pages on the device, which no painter holds yet; the layout is shrunk to
 * fit a page narrower than the report. Raises when the device cannot be painted on.
 */
void render(QPagedPaintDevice& device, const Contents& contents);

/** Writes the report as a PDF file that replaces the former one whole; raises on failure. */
void writePdf(const Contents& contents, const QString& path,
              const QPageLayout& layout = pageLayout());

} // namespace ControlReport
