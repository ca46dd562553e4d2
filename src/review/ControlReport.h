// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "data/ArticleStore.h"
#include "review/ArticleTableModel.h"
#include "review/InvoiceArithmetic.h"

#include <QFont>
#include <QList>
#include <QPageLayout>

#include <functional>

class QPagedPaintDevice;
class QPainter;

/**
 * The control reports: the rows with errors or the clean rows of an interno, painted in the
 * banded layout of the printed report (page header with the two group captions and the grey
 * caption row, a two-line detail per row, the footer "Pagina N de M"). When the invoice's
 * amounts do not add up, the section "Importes a revisar" follows on pages of its own: each
 * wrong line (line, article, expected, found) and the stated total against the lines' sum. The
 * same painting serves the print preview, the printer and the PDF file, and the other reports
 * of the program are painted by it in their own bands.
 */
namespace ControlReport {

/** A text's place in a band, in twips from the band's top left corner. */
struct Box {
    int left;
    int top;
    int width;
    Qt::Alignment alignment;
};

/** The height of a line of text, in twips. */
constexpr int TextHeight = 213;

/**
 * A report's bands: the page header and one detail band per row, painted in twips from the
 * band's top left corner; each page ends with the footer "Pagina N de M". The painter holds
 * the captions' font in the header and the details' font in a detail.
 */
struct Bands {
    qsizetype rows = 0;
    int headerHeight = 0;
    int detailHeight = 0;
    std::function<void(QPainter&)> header;
    std::function<void(QPainter&, qsizetype row, int top)> detail;
};

/**
 * Writes the text in its box, in a band whose top is given, one line high: a text too wide for
 * the box is written smaller, down to the least size the reports print, and cut at the box's
 * end only when it is still too wide.
 */
void draw(QPainter& painter, const Box& box, int top, const QString& text, int height = TextHeight);
/** A column caption: the text on the light grey background. */
void caption(QPainter& painter, const Box& box, const QString& text);

/** What a control report shows. */
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

/** The control report's sections: its rows, then the amounts to review when there are any. */
QList<Bands> bands(const Contents& contents);

/**
 * Paints the report's sections on the device, which no painter holds yet, each from a new page
 * and the pages numbered through; the layout is shrunk to fit a page narrower than the report.
 * Raises when the device cannot be painted on.
 */
void render(QPagedPaintDevice& device, const QList<Bands>& sections);

/** Writes the report as a PDF file that replaces the former one whole; raises on failure. */
void writePdf(const QList<Bands>& sections, const QString& path,
              const QPageLayout& layout = pageLayout());

} // namespace ControlReport
