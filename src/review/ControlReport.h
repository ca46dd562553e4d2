#pragma once

#include "data/ArticleStore.h"
#include "review/ArticleTableModel.h"

#include <QList>
#include <QPageLayout>

class QPagedPaintDevice;
class QPaintDevice;

/**
 * The control reports: the rows with errors or the clean rows of an interno, painted in the
 * banded layout of the printed report (page header with the two group captions and the grey
 * caption row, a two-line detail per row, the footer "Pagina N de M"). The same painting
 * serves the print preview, the printer and the PDF file.
 */
namespace ControlReport {

/** What the operator is told when the report would have no row. */
QString nothingToShow();

/** The report's rows of the interno in the list's order (errors or clean). */
QList<Article> rows(ArticleStore& store, const QString& interno, ArticleTableModel::List list);

/** A4 upright with margins narrow enough for the report's full width. */
QPageLayout pageLayout();

/** How many pages the rows take on the device. */
int pageCount(const QPaintDevice& device, qsizetype rows);

/**
 * Paints the rows as the report's pages on the device, which no painter holds yet; the
 * layout is shrunk to fit a page narrower than the report. Raises when the device cannot be
 * painted on.
 */
void render(QPagedPaintDevice& device, const QList<Article>& rows);

/** Writes the report as a PDF file that replaces the former one whole; raises on failure. */
void writePdf(const QList<Article>& rows, const QString& path,
              const QPageLayout& layout = pageLayout());

} // namespace ControlReport
