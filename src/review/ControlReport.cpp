#include "review/ControlReport.h"

#include "components/AppError.h"
#include "process/Statistics.h"
#include "review/AtomicFile.h"

#include <QLocale>
#include <QPageRanges>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

#include <array>
#include <cmath>

namespace ControlReport {

namespace {

// Layout in twips (1/1440 inch), measured from each section's top left corner.
constexpr int HeaderHeight = 570;
constexpr int DetailHeight = 494;
constexpr int FooterHeight = 357;
constexpr int ReportWidth = 11127;
constexpr int TextHeight = 213;
constexpr int SecondLineHeight = 210;
constexpr int FontTwips = 165; // 8.25 pt
constexpr int LineTwips = 15;

struct Box {
    int left;
    int top;
    int width;
    Qt::Alignment alignment;
};

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

void draw(QPainter& painter, const Box& box, int top, int height, const QString& text)
{
    painter.drawText(QRectF(box.left, top + box.top, box.width, height),
                     box.alignment | Qt::AlignTop | Qt::TextSingleLine, text);
}

/** The page in twips, as the layout sees it after shrinking to the page's width. */
struct Page {
    double scale = 1;
    double height = 0;
    int rows = 1;
};

Page page(const QPaintDevice& device)
{
    Page p;
    const double width = device.width() * 1440.0 / device.logicalDpiX();
    p.scale = std::min(1.0, width / ReportWidth);
    p.height = device.height() * 1440.0 / device.logicalDpiY() / p.scale;
    p.rows = std::max(1, int((p.height - HeaderHeight - FooterHeight) / DetailHeight));
    return p;
}

/** A line of the amounts section every so many twips, below its top margin. */
constexpr int SectionLineHeight = 284;
constexpr int SectionTop = 71;

/** The places of a wrong line's number, article, expected and found total. */
const std::array<Box, 4> SectionColumns = {{
    {71, 0, 850, Left},
    {992, 0, 2835, Left},
    {3898, 0, 1134, Right},
    {5103, 0, 1134, Right},
}};
constexpr Box SectionText = {71, 0, ReportWidth - 142, Left};

/** A line of the amounts section: its title, the captions, a wrong line, the stated total. */
struct SectionLine {
    enum Kind { Title, Captions, Values, Text } kind;
    QStringList cells;
};

QList<SectionLine> amountsSection(const InvoiceArithmetic::Review& review)
{
    if (review.count() == 0)
        return {};
    QList<SectionLine> lines = {{SectionLine::Title, {QStringLiteral("Importes a revisar")}},
                                {SectionLine::Captions,
                                 {QStringLiteral("Línea"), QStringLiteral("Articulo"),
                                  QStringLiteral("Esperado"), QStringLiteral("Encontrado")}}};
    for (const InvoiceArithmetic::WrongLine& wrong : review.lines)
        lines.append({SectionLine::Values,
                      {formatCounter(wrong.line), wrong.article, pattern(wrong.expected, 2),
                       pattern(wrong.found, 2)}});
    lines.append({SectionLine::Text, {InvoiceArithmetic::statedComparison(review, QLocale())}});
    return lines;
}

/** The grey behind captions. */
const QColor CaptionBackground(224, 224, 224);

void paintSectionLine(QPainter& painter, const SectionLine& line, int top, const QFont& font,
                      const QFont& captions)
{
    const bool plain = line.kind == SectionLine::Values || line.kind == SectionLine::Text;
    painter.setFont(plain ? font : captions);
    if (line.kind == SectionLine::Title || line.kind == SectionLine::Text) {
        draw(painter, SectionText, top, TextHeight, line.cells.first());
        return;
    }
    for (std::size_t c = 0; c < SectionColumns.size(); ++c) {
        const Box& box = SectionColumns.at(c);
        if (line.kind == SectionLine::Captions)
            painter.fillRect(QRectF(box.left, top, box.width, TextHeight), CaptionBackground);
        draw(painter, box, top, TextHeight, line.cells.at(qsizetype(c)));
    }
}

void paintHeader(QPainter& painter, const QFont& font)
{
    painter.setFont(font);
    for (const auto& [caption, lineWidth] : Groups) {
        draw(painter, caption.box, 0, TextHeight, QString::fromUtf8(caption.text));
        painter.drawLine(
            QLineF(caption.box.left, GroupLineTop, caption.box.left + lineWidth, GroupLineTop));
    }
    for (const Caption& caption : Columns) {
        const Box& b = caption.box;
        painter.fillRect(QRectF(b.left, b.top, b.width, TextHeight), CaptionBackground);
        draw(painter, b, 0, TextHeight, QString::fromUtf8(caption.text));
    }
}

} // namespace

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

void render(QPagedPaintDevice& device, const Contents& contents)
{
    const QList<Article>& rows = contents.rows;
    const Page p = page(device);
    const int rowPages = std::max(1, int((rows.size() + p.rows - 1) / p.rows));
    const QList<SectionLine> section = amountsSection(contents.amounts);
    const int sectionPerPage =
        std::max(1, int((p.height - SectionTop - FooterHeight) / SectionLineHeight));
    const int pages = rowPages + int((section.size() + sectionPerPage - 1) / sectionPerPage);
    QPainter painter;
    if (!painter.begin(&device))
        throw AppError(75, QStringLiteral("No se pudo iniciar la impresión del reporte."));
    painter.scale(device.logicalDpiX() / 1440.0 * p.scale, device.logicalDpiY() / 1440.0 * p.scale);
    painter.setPen(QPen(Qt::black, LineTwips));
    QFont font;
    font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("Liberation Sans")});
    font.setPixelSize(FontTwips);
    QFont captions = font;
    captions.setBold(true);

    // Only the pages the print dialog chose, when it chose some.
    const QPageRanges chosen = device.pageRanges();
    bool firstPainted = true;
    for (int n = 0; n < pages; ++n) {
        if (!chosen.isEmpty() && !chosen.contains(n + 1))
            continue;
        if (!firstPainted)
            device.newPage();
        firstPainted = false;
        if (n < rowPages) {
            paintHeader(painter, captions);
            painter.setFont(font);
            const qsizetype first = qsizetype(n) * p.rows;
            for (qsizetype i = first; i < std::min(rows.size(), first + p.rows); ++i) {
                const int top = HeaderHeight + int(i - first) * DetailHeight;
                for (const Field& field : Fields)
                    draw(painter, field.box, top, field.box.top ? SecondLineHeight : TextHeight,
                         field.text(rows.at(i)));
            }
        } else {
            const qsizetype first = qsizetype(n - rowPages) * sectionPerPage;
            for (qsizetype i = first; i < std::min(section.size(), first + sectionPerPage); ++i)
                paintSectionLine(painter, section.at(i),
                                 SectionTop + int(i - first) * SectionLineHeight, font, captions);
            painter.setFont(font);
        }
        const int footerTop = int(p.height) - FooterHeight;
        const std::array<QString, 4> footer = {QStringLiteral("Pagina"), QString::number(n + 1),
                                               QStringLiteral("de"), QString::number(pages)};
        for (std::size_t i = 0; i < Footer.size(); ++i)
            draw(painter, Footer.at(i), footerTop, TextHeight, footer.at(i));
    }
    painter.end();
}

void writePdf(const Contents& contents, const QString& path, const QPageLayout& layout)
{
    writeAtomically(path, [&](QIODevice& file) {
        QPdfWriter writer(&file);
        writer.setPageLayout(layout);
        writer.setCreator(QStringLiteral("Aduplan"));
        render(writer, contents);
        return true;
    });
}

} // namespace ControlReport
