// SPDX-License-Identifier: Apache-2.0
#include "review/ControlReport.h"

#include "components/AppError.h"
#include "process/Statistics.h"
#include "review/AtomicFile.h"

#include <QFontMetricsF>
#include <QLocale>
#include <QPageRanges>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <array>
#include <cmath>

namespace ControlReport {

namespace {

// Layout in twips (1/1440 inch), measured from each section's top left corner.
constexpr int HeaderHeight = 570;
constexpr int DetailHeight = 494;
constexpr int FooterHeight = 357;
constexpr int ReportWidth = 11127;
constexpr int SecondLineHeight = 210;
// Liberation Sans 8 pt for the details, bold for the captions; a text wider than its box
// shrinks to fit it, down to 6 pt, before it is cut.
constexpr int FontTwips = 160;
constexpr int LeastFontTwips = 120;
// What an article number too long for its box leaves of the description's.
constexpr int MinDescriptionWidth = 284;
constexpr int LineTwips = 15;

struct Caption {
    const char* text; ///< UTF-8
    Box box;
};

constexpr Qt::Alignment Left = Qt::AlignLeft;
constexpr Qt::Alignment Right = Qt::AlignRight;
constexpr Qt::Alignment Centre = Qt::AlignHCenter;

/** The group captions, each underlined by a line as wide as the group. */
const std::array<std::pair<Caption, int>, 2> Groups = {{
    {{"Desde Archivo", {71, 71, 5457, Centre}}, 5457},
    {{"Proceso o Depuración", {5598, 71, 4110, Centre}}, 4465},
}};
constexpr int GroupLineTop = 283;

/** The column captions, on a light grey background. */
const std::array<Caption, 14> Columns = {{
    {"Articulo", {71, 355, 850, Left}},
    {"Descripcion", {992, 355, 1701, Left}},
    {"Pais", {2764, 355, 357, Left}},
    {"Cantidad", {3189, 355, 709, Left}},
    {"Unitario", {3968, 355, 780, Left}},
    {"Total", {4818, 355, 709, Left}},
    {"Posición", {5598, 355, 1276, Left}},
    {"Declar", {6945, 355, 567, Left}},
    {"Estadis", {7583, 355, 567, Left}},
    {"Estad Cant", {8221, 355, 850, Left}},
    {"Merc", {9142, 354, 425, Left}},
    {"Orig", {9638, 355, 425, Left}},
    {"Modo", {10135, 354, 425, Left}},
    {"Estad", {10631, 354, 496, Left}},
}};

/**
 * A number by the patterns "00.00" and "00.0000": at least two integer digits, a fixed number
 * of decimals, the locale's decimal separator and no thousands separator; NULL as nothing.
 */
QString pattern(const std::optional<double>& value, int decimals)
{
    if (!value)
        return {};
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    QString text = locale.toString(std::abs(*value), 'f', decimals);
    if (text.indexOf(locale.decimalPoint()) == 1)
        text.prepend(locale.zeroDigit());
    // A value that rounds to zero prints without its sign.
    const bool negative = *value < 0 && std::abs(*value) >= 0.5 * std::pow(10.0, -decimals);
    return negative ? locale.negativeSign() + text : text;
}

struct Field {
    QString (*text)(const Article&);
    Box box;
};

/** The detail's bound text boxes: fourteen on the first line, the suffixes on the second. */
const std::array<Field, 15> Fields = {{
    {[](const Article& a) { return a.number; }, {71, 0, 851, Left}},
    {[](const Article& a) { return a.description; }, {992, 0, 1701, Left}},
    {[](const Article& a) { return a.origin; }, {2764, 0, 354, Left}},
    {[](const Article& a) { return pattern(a.quantity, 2); }, {3189, 0, 709, Right}},
    {[](const Article& a) { return pattern(a.unitPrice, 4); }, {4039, 0, 709, Right}},
    {[](const Article& a) { return pattern(a.total, 2); }, {4819, 0, 709, Right}},
    {[](const Article& a) { return a.position; }, {5598, 0, 1277, Left}},
    {[](const Article& a) { return a.declaredUnit; }, {6945, 0, 566, Centre}},
    {[](const Article& a) { return a.statisticalUnit; }, {7583, 0, 567, Centre}},
    {[](const Article& a) { return pattern(a.statisticalQuantity, 2); }, {8221, 0, 850, Right}},
    {[](const Article& a) { return a.goodsCondition; }, {9142, 0, 425, Centre}},
    {[](const Article& a) { return a.country; }, {9638, 0, 425, Centre}},
    {[](const Article& a) { return a.state; }, {10135, 0, 425, Centre}},
    {[](const Article& a) { return a.check; }, {10631, 0, 496, Centre}},
    {[](const Article& a) { return a.suffixes; }, {71, 213, 9015, Left}},
}};

/** The places of "Pagina", the page number, "de" and the page count. */
const std::array<Box, 4> Footer = {{
    {8861, 71, 1063, Right},
    {9995, 71, 283, Centre},
    {10349, 71, 283, Centre},
    {10703, 71, 355, Centre},
}};

/** The page in twips, as the layout sees it after shrinking to the page's width. */
struct Page {
    double scale = 1;
    double height = 0;
};

Page page(const QPaintDevice& device)
{
    Page p;
    const double width = device.width() * 1440.0 / device.logicalDpiX();
    p.scale = std::min(1.0, width / ReportWidth);
    p.height = device.height() * 1440.0 / device.logicalDpiY() / p.scale;
    return p;
}

/** How many details of the section a page holds. */
int rowsPerPage(const Page& page, const Bands& section)
{
    return std::max(
        1, int((page.height - section.headerHeight - FooterHeight) / section.detailHeight));
}

/** How many pages the section takes: one at least. */
int pagesOf(const Page& page, const Bands& section)
{
    const int perPage = rowsPerPage(page, section);
    return std::max(1, int((section.rows + perPage - 1) / perPage));
}

/** The amounts section: its title, the captions below it, then a line every so many twips. */
constexpr int SectionTop = 71;
constexpr int SectionLineHeight = 284;
constexpr Box SectionText = {71, SectionTop, ReportWidth - 142, Left};

/** The places of a wrong line's number, article, expected and found total. */
const std::array<Box, 4> SectionColumns = {{
    {71, 0, 850, Left},
    {992, 0, 2835, Left},
    {3898, 0, 1134, Right},
    {5103, 0, 1134, Right},
}};
const std::array<const char*, 4> SectionCaptions = {"Línea", "Articulo", "Esperado", "Encontrado"};

Bands amountsSection(const InvoiceArithmetic::Review& review)
{
    Bands b;
    b.rows = review.lines.size() + 1;
    b.headerHeight = SectionTop + 2 * SectionLineHeight;
    b.detailHeight = SectionLineHeight;
    b.header = [](QPainter& painter) {
        draw(painter, SectionText, 0, QStringLiteral("Importes a revisar"));
        for (std::size_t c = 0; c < SectionColumns.size(); ++c) {
            Box box = SectionColumns.at(c);
            box.top = SectionTop + SectionLineHeight;
            caption(painter, box, QString::fromUtf8(SectionCaptions.at(c)));
        }
    };
    b.detail = [review](QPainter& painter, qsizetype row, int top) {
        if (row == review.lines.size()) {
            draw(painter, {SectionText.left, 0, SectionText.width, Left}, top,
                 InvoiceArithmetic::statedComparison(review, QLocale()));
            return;
        }
        const InvoiceArithmetic::WrongLine& wrong = review.lines.at(row);
        const std::array<QString, 4> cells = {formatCounter(wrong.line), wrong.article,
                                              pattern(wrong.expected, 2), pattern(wrong.found, 2)};
        for (std::size_t c = 0; c < SectionColumns.size(); ++c)
            draw(painter, SectionColumns.at(c), top, cells.at(c));
    };
    return b;
}

/** The width of the text in the font on the painter's device, in twips. */
qreal widthIn(const QPainter& painter, const QFont& font, const QString& text)
{
    return QFontMetricsF(font, painter.device()).horizontalAdvance(text);
}

/**
 * The painter's font, made smaller until the text fits the width (in twips), but never below
 * the least size.
 */
QFont fittingFont(const QPainter& painter, const QString& text, qreal width)
{
    QFont font = painter.font();
    for (qreal needed = widthIn(painter, font, text);
         needed > width && font.pixelSize() > LeastFontTwips; needed = widthIn(painter, font, text))
        font.setPixelSize(
            std::max(LeastFontTwips,
                     std::min(font.pixelSize() - 1, int(font.pixelSize() * width / needed))));
    return font;
}

/** The width the text takes in its fitting font (wider than given when even that is too big). */
qreal fittedWidth(const QPainter& painter, const QString& text, qreal width)
{
    return widthIn(painter, fittingFont(painter, text, width), text);
}

void paintHeader(QPainter& painter)
{
    for (const auto& [group, lineWidth] : Groups) {
        draw(painter, group.box, 0, QString::fromUtf8(group.text));
        painter.drawLine(
            QLineF(group.box.left, GroupLineTop, group.box.left + lineWidth, GroupLineTop));
    }
    for (const Caption& column : Columns)
        caption(painter, column.box, QString::fromUtf8(column.text));
}

} // namespace

void draw(QPainter& painter, const Box& box, int top, const QString& text, int height)
{
    const QRectF place(box.left, top + box.top, box.width, height);
    const int flags = box.alignment | Qt::AlignTop | Qt::TextSingleLine;
    const QFont font = fittingFont(painter, text, box.width);
    if (font == painter.font())
        return painter.drawText(place, flags, text);
    painter.save();
    painter.setFont(font);
    painter.drawText(
        place, flags,
        QFontMetricsF(font, painter.device()).elidedText(text, Qt::ElideRight, box.width));
    painter.restore();
}

void caption(QPainter& painter, const Box& box, const QString& text)
{
    painter.fillRect(QRectF(box.left, box.top, box.width, TextHeight), QColor(224, 224, 224));
    draw(painter, box, 0, text);
}

QString nothingToShow()
{
    return QStringLiteral("No hay articulos para mostrar");
}

Contents read(DataSession& work, const QString& interno, ArticleTableModel::List list)
{
    return {ArticleStore(work).rows(interno, ArticleTableModel::selection(list)),
            InvoiceArithmetic::review(work, interno)};
}

QPageLayout pageLayout()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(6, 10, 6, 10),
                       QPageLayout::Millimeter);
}

QList<Bands> bands(const Contents& contents)
{
    Bands rows;
    rows.rows = contents.rows.size();
    rows.headerHeight = HeaderHeight;
    rows.detailHeight = DetailHeight;
    rows.header = paintHeader;
    rows.detail = [articles = contents.rows](QPainter& painter, qsizetype row, int top) {
        const Article& article = articles.at(row);
        // An article number too long for its box even at the least size takes the room it
        // needs from the description, which follows it.
        std::array<Box, Fields.size()> boxes;
        std::transform(Fields.begin(), Fields.end(), boxes.begin(),
                       [](const Field& field) { return field.box; });
        Box& number = boxes.at(0);
        Box& description = boxes.at(1);
        const int spill = std::clamp(
            int(std::ceil(fittedWidth(painter, article.number, number.width))) - number.width, 0,
            description.width - MinDescriptionWidth);
        number.width += spill;
        description.left += spill;
        description.width -= spill;
        for (std::size_t f = 0; f < Fields.size(); ++f)
            draw(painter, boxes.at(f), top, Fields.at(f).text(article),
                 boxes.at(f).top ? SecondLineHeight : TextHeight);
    };
    if (contents.amounts.count() == 0)
        return {rows};
    return {rows, amountsSection(contents.amounts)};
}

void render(QPagedPaintDevice& device, const QList<Bands>& sections)
{
    const Page p = page(device);
    int pages = 0;
    for (const Bands& section : sections)
        pages += pagesOf(p, section);
    QPainter painter;
    if (!painter.begin(&device))
        throw AppError(75, QStringLiteral("No se pudo iniciar la impresión del reporte."));
    painter.scale(device.logicalDpiX() / 1440.0 * p.scale, device.logicalDpiY() / 1440.0 * p.scale);
    painter.setPen(QPen(Qt::black, LineTwips));
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(FontTwips);
    QFont captions = font;
    captions.setBold(true);

    // Only the pages the print dialog chose, when it chose some.
    const QPageRanges chosen = device.pageRanges();
    bool firstPainted = true;
    int n = 0;
    for (const Bands& section : sections) {
        const int perPage = rowsPerPage(p, section);
        for (int sectionPage = 0, count = pagesOf(p, section); sectionPage < count;
             ++sectionPage, ++n) {
            if (!chosen.isEmpty() && !chosen.contains(n + 1))
                continue;
            if (!firstPainted)
                device.newPage();
            firstPainted = false;
            painter.setFont(captions);
            section.header(painter);
            painter.setFont(font);
            const qsizetype first = qsizetype(sectionPage) * perPage;
            for (qsizetype i = first; i < std::min(section.rows, first + perPage); ++i)
                section.detail(painter, i,
                               section.headerHeight + int(i - first) * section.detailHeight);
            const int footerTop = int(p.height) - FooterHeight;
            const std::array<QString, 4> footer = {QStringLiteral("Pagina"), QString::number(n + 1),
                                                   QStringLiteral("de"), QString::number(pages)};
            for (std::size_t i = 0; i < Footer.size(); ++i)
                draw(painter, Footer.at(i), footerTop, footer.at(i));
        }
    }
    painter.end();
}

void writePdf(const QList<Bands>& sections, const QString& path, const QPageLayout& layout)
{
    writeAtomically(path, [&](QIODevice& file) {
        QPdfWriter writer(&file);
        writer.setPageLayout(layout);
        writer.setCreator(QStringLiteral("Aduplan"));
        render(writer, sections);
        return true;
    });
}

} // namespace ControlReport
