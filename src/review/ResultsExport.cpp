// SPDX-License-Identifier: Apache-2.0
#include "review/ResultsExport.h"

#include "components/FormatService.h"
#include "components/SharedLibrary.h"
#include "review/AtomicFile.h"
#include "workspace/SaveLocation.h"
#include "workspace/Workspace.h"

#include <QFile>

#include <xlsxwriter.h>

#include <cstdio>
#include <optional>

const std::array<ExportOrder, 3> ExportOrders = {{
    {"ARTORD", "Ordenado por Factura", "mnufactu", "por-factura", ArticleStore::Selection::All},
    {"ARTNRO", "Ordenado por Codigo de Articulo", "mnuarticulo", "por-articulo",
     ArticleStore::Selection::ByNumber},
    {"ARTDSC", "Ordenado por Descripción", "mnudescripcion", "por-descripcion",
     ArticleStore::Selection::ByDescription},
}};

namespace {

const std::array<const char*, 10> Header = {"codigo",   "descripcion", "origen", "unidad",
                                            "cantidad", "unitario",    "total",  "ncm",
                                            "sufijos",  "estado"};
constexpr int UnitColumn = 3;

/** A field of the export: its text (tabs and line breaks made blanks), and its number. */
struct Cell {
    QString text;
    std::optional<double> number;
};

QString flat(QString text)
{
    for (const char c : {'\t', '\r', '\n'})
        text.replace(QLatin1Char(c), QLatin1Char(' '));
    return text;
}

Cell cell(const QString& text)
{
    return {flat(text), std::nullopt};
}

Cell cell(const std::optional<double>& number)
{
    return {number ? FormatService().generalNumber(*number) : QString(), number};
}

std::array<Cell, 10> cells(const Article& a)
{
    return {cell(a.number),   cell(a.description), cell(a.origin), cell(a.declaredUnit),
            cell(a.quantity), cell(a.unitPrice),   cell(a.total),  cell(a.position),
            cell(a.suffixes), cell(a.check)};
}

/**
 * The spreadsheet library's functions, taken the first time a workbook is written: linked, the
 * library would load into every run of the programs.
 */
struct Spreadsheet {
    decltype(&lxw_strerror) strerror = nullptr;
    decltype(&workbook_new) workbookNew = nullptr;
    decltype(&workbook_add_worksheet) addWorksheet = nullptr;
    decltype(&workbook_add_format) addFormat = nullptr;
    decltype(&format_set_bold) setBold = nullptr;
    decltype(&worksheet_write_string) writeString = nullptr;
    decltype(&worksheet_write_number) writeNumber = nullptr;
    decltype(&worksheet_set_column) setColumn = nullptr;
    decltype(&worksheet_freeze_panes) freezePanes = nullptr;
    decltype(&workbook_close) close = nullptr;
};

/** The functions, taken once; raises an AppError naming the library when it is unusable. */
const Spreadsheet& spreadsheet()
{
    static const Spreadsheet functions = [] {
        SharedLibrary library(QStringLiteral("xlsxwriter"), 4,
                              QStringLiteral("de hojas de cálculo"));
        Spreadsheet found;
        library.take(found.strerror, "lxw_strerror");
        library.take(found.workbookNew, "workbook_new");
        library.take(found.addWorksheet, "workbook_add_worksheet");
        library.take(found.addFormat, "workbook_add_format");
        library.take(found.setBold, "format_set_bold");
        library.take(found.writeString, "worksheet_write_string");
        library.take(found.writeNumber, "worksheet_write_number");
        library.take(found.setColumn, "worksheet_set_column");
        library.take(found.freezePanes, "worksheet_freeze_panes");
        library.take(found.close, "workbook_close");
        return found;
    }();
    return functions;
}

void check(lxw_error error)
{
    if (error != LXW_NO_ERROR)
        throw AppError(75, QString::fromUtf8(spreadsheet().strerror(error)));
}

/**
 * The spreadsheet library prints its own diagnostics on the C stream stderr; while it works,
 * that stream writes nowhere, and its failures reach the operator as our message only.
 */
class QuietSpreadsheetLibrary {
public:
    QuietSpreadsheetLibrary()
        : m_saved(stderr)
        , m_nowhere(std::fopen("/dev/null", "w"))
    {
        if (m_nowhere)
            stderr = m_nowhere;
    }
    ~QuietSpreadsheetLibrary()
    {
        stderr = m_saved;
        if (m_nowhere)
            std::fclose(m_nowhere);
    }
    QuietSpreadsheetLibrary(const QuietSpreadsheetLibrary&) = delete;
    QuietSpreadsheetLibrary& operator=(const QuietSpreadsheetLibrary&) = delete;

private:
    FILE* m_saved;
    FILE* m_nowhere;
};

/** The rows as a one-sheet workbook written to the file. */
void writeWorkbook(const QList<Article>& rows, const QString& path)
{
    const Spreadsheet& lib = spreadsheet();
    const QuietSpreadsheetLibrary quiet;
    lxw_workbook* book = lib.workbookNew(QFile::encodeName(path).constData());
    if (!book)
        throw AppError(75, QString::fromUtf8(lib.strerror(LXW_ERROR_MEMORY_MALLOC_FAILED)));
    lxw_worksheet* sheet = lib.addWorksheet(book, "Resultados");
    lxw_format* bold = lib.addFormat(book);
    lib.setBold(bold);
    std::array<qsizetype, 10> widths{};
    for (std::size_t c = 0; c < Header.size(); ++c) {
        check(lib.writeString(sheet, 0, lxw_col_t(c), Header.at(c), bold));
        widths.at(c) = qsizetype(qstrlen(Header.at(c)));
    }
    lxw_row_t row = 1;
    for (const Article& article : rows) {
        const std::array<Cell, 10> line = cells(article);
        for (std::size_t c = 0; c < line.size(); ++c) {
            const Cell& field = line.at(c);
            widths.at(c) = std::max(widths.at(c), field.text.size());
            if (field.number)
                check(lib.writeNumber(sheet, row, lxw_col_t(c), *field.number, nullptr));
            else if (!field.text.isEmpty())
                check(lib.writeString(sheet, row, lxw_col_t(c), field.text.toUtf8().constData(),
                                      nullptr));
        }
        ++row;
    }
    for (std::size_t c = 0; c < widths.size(); ++c)
        lib.setColumn(sheet, lxw_col_t(c), lxw_col_t(c),
                      double(std::min<qsizetype>(widths.at(c), 60) + 2), nullptr);
    lib.freezePanes(sheet, 1, 0);
    check(lib.close(book));
}

} // namespace

const ExportOrder* exportOrder(const QString& column)
{
    for (const ExportOrder& order : ExportOrders) {
        if (column == QLatin1String(order.column))
            return &order;
    }
    return nullptr;
}

QString withXlsExtension(const QString& path)
{
    if (path.endsWith(QLatin1String(".xlsx"), Qt::CaseInsensitive) ||
        path.endsWith(QLatin1String("xls"), Qt::CaseInsensitive))
        return path;
    return path + QStringLiteral(".xls");
}

QString Seleccionar_Destino_XLS(Workspace& ws, const QString& interno, const ExportOrder& order)
{
    // An existing file is replaced without a question, as the export always did.
    const std::optional<QString> path =
        SaveLocation::ask(ws, QStringLiteral("Guardar resultados del interno ") + interno,
                          {QStringLiteral("Hojas de cálculo (*.xlsx)"),
                           QStringLiteral("Texto separado por tabulaciones (*.xls)"),
                           QStringLiteral("Todos los archivos (*)")},
                          QStringLiteral("interno-%1-%2.xlsx")
                              .arg(SaveLocation::namePart(interno), QLatin1String(order.kind)),
                          false);
    return path ? withXlsExtension(*path) : QString();
}

QByteArray exportText(const QList<Article>& rows)
{
    QString text;
    for (std::size_t c = 0; c < Header.size(); ++c)
        text += (c ? QStringLiteral("\t") : QString()) + QLatin1String(Header.at(c));
    text += QStringLiteral("\r\n");
    for (const Article& article : rows) {
        const std::array<Cell, 10> line = cells(article);
        for (std::size_t c = 0; c < line.size(); ++c) {
            if (c)
                text += QLatin1Char('\t');
            // The unit stands between double quotes so that "07" stays text; NULL stays empty.
            const bool quoted = c == UnitColumn && !line.at(c).text.isNull();
            text +=
                quoted ? QLatin1Char('"') + line.at(c).text + QLatin1Char('"') : line.at(c).text;
        }
        text += QLatin1Char('\r');
    }
    return text.toUtf8();
}

void writeExport(const QList<Article>& rows, const QString& path)
{
    if (path.endsWith(QLatin1String(".xlsx"), Qt::CaseInsensitive)) {
        writeAtomically(path, [&rows](const QString& file) { writeWorkbook(rows, file); });
        return;
    }
    const QByteArray bytes = exportText(rows);
    writeAtomically(path, [&bytes](QIODevice& file) { return file.write(bytes) == bytes.size(); });
}

ExportOutcome GuardarEXCEL(Workspace& ws, const QString& interno, const ExportOrder& order,
                           const std::function<QString()>& destination)
{
    try {
        QList<Article> rows;
        {
            const BusyCursor busy(ws.progress());
            rows = ArticleStore(ws.work()).rows(interno, order.selection);
        }
        if (rows.isEmpty())
            return ExportOutcome::Empty;
        const QString path = destination().trimmed();
        if (path.isEmpty())
            return ExportOutcome::Cancelled;
        const BusyCursor busy(ws.progress());
        writeExport(rows, path);
        return ExportOutcome::Written;
    } catch (const AppError& error) {
        ws.dialogs().message(MessageIcon::Critical, errorText(error, QString()));
        return ExportOutcome::Failed;
    }
}
