#include "transfer/Transfer.h"

#include "components/TestSeam.h"
#include "data/ArticleStore.h"
#include "workspace/Workspace.h"

#include <QDateTime>
#include <QSet>

#include <algorithm>
#include <limits>

namespace {

const QString NothingTransferred = QStringLiteral("No se transfirió ningún registro.");

/** The values of one item, and how many items one insert writes. */
constexpr qsizetype ItemColumns = 20;
constexpr qsizetype ItemsPerInsert = DataSession::ListChunk / ItemColumns;

/** The insert of `count` items in one statement. */
QString itemInsert(qsizetype count)
{
    const QString row =
        QLatin1Char('(') + DataSession::placeholders(ItemColumns) + QLatin1Char(')');
    return QStringLiteral(
               "insert into subitems (idarticulo,idcatalogo,descripcion,interno,ncm,IdUnidad,"
               "Cantidad,Preciounitario,IdPais,KGNETO,fob,EstadoMerc,estadistica,"
               "valorrelacionestadistica,sufijos,LAPI,valorderesp,kgbruto,biendeuso,deresp) "
               "values ") +
           QStringList(count, row).join(QLatin1Char(','));
}

const QString CatalogSelect = QStringLiteral(
    "select idarticulo from catarticulos where idcatalogo = ? and idarticulo in (%1)");

const QString CatalogUpdate = QStringLiteral(
    "update CATARTICULOS set descripcion = ?,idpais = ?,cantidad = 0,Preciounitario = ?,"
    "ncm = ?,lapi = ?,sufijos = ?,idunidad = ?,estadistica = ?,valorrelacionestadistica = ?,"
    "EstadoMerc = ?,deresp = ?,valorderesp = ? where idcatalogo = ? and idarticulo = ?");

/** The update for a row without a country of its own: the catalog keeps the one it has. */
const QString CatalogUpdateKeepingCountry = QStringLiteral(
    "update CATARTICULOS set descripcion = ?,cantidad = 0,Preciounitario = ?,"
    "ncm = ?,lapi = ?,sufijos = ?,idunidad = ?,estadistica = ?,valorrelacionestadistica = ?,"
    "EstadoMerc = ?,deresp = ?,valorderesp = ? where idcatalogo = ? and idarticulo = ?");

const QString CatalogInsert = QStringLiteral(
    "insert into CATARTICULOS (idcatalogo, idarticulo, descripcion, idpais, cantidad, "
    "Preciounitario, ncm, lapi, sufijos, idunidad, estadistica, valorrelacionestadistica, "
    "estadomerc, deresp, valorderesp) values (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)");

/** A text column as the declaration database receives it: a NULL is the empty text. */
QString textOf(const QString& value)
{
    return FormatService().EsNull(value);
}

/** A number the item cannot do without: a NULL stops the transfer with a clear error. */
double requiredNumber(const Article& art, const std::optional<double>& value,
                      const QString& meaning)
{
    if (!value)
        throw AppError(94,
                       QStringLiteral("La línea %1 (artículo %2) no tiene %3.")
                           .arg(QString::number(art.line), art.number, meaning),
                       QStringLiteral("Aduplan"));
    return *value;
}

/** The twenty values of an item, in the order of the insert. */
QVariantList itemValues(const Article& art, const QString& catalog, const QString& interno)
{
    const double quantity = requiredNumber(art, art.quantity, QStringLiteral("cantidad"));
    const double unitPrice = requiredNumber(art, art.unitPrice, QStringLiteral("precio unitario"));
    const double total = requiredNumber(art, art.total, QStringLiteral("total"));
    const QString declaredUnit = textOf(art.declaredUnit);
    const QString statisticalUnit = textOf(art.statisticalUnit);
    const double netKilograms = declaredUnit.trimmed() == QLatin1String("01") ? quantity : 0.0;
    const double statisticalQuantity =
        statisticalUnit.trimmed() == declaredUnit.trimmed() ? quantity : 0.0;
    return {textOf(art.number),
            catalog,
            textOf(art.description),
            interno,
            textOf(art.position),
            declaredUnit,
            quantity,
            unitPrice,
            textOf(art.origin),
            netKilograms,
            total,
            textOf(art.goodsCondition),
            statisticalUnit,
            statisticalQuantity,
            textOf(art.suffixes),
            textOf(art.lapi),
            art.specificDutyQuantity.value_or(0),
            0.0,
            QStringLiteral("N"),
            textOf(art.specificDutyUnit)};
}

/**
 * What the catalog learns of an article, in the order of the update: everything but the
 * key and the quantity (always 0).
 */
QVariantList catalogContent(const Article& art)
{
    return {textOf(art.description),
            textOf(art.country),
            art.unitPrice.value_or(0),
            textOf(art.position),
            textOf(art.lapi),
            textOf(art.suffixes),
            textOf(art.declaredUnit),
            textOf(art.statisticalUnit),
            art.statisticalQuantity.value_or(0),
            textOf(art.goodsCondition),
            textOf(art.specificDutyUnit),
            art.specificDutyQuantity.value_or(0)};
}

/** The values of the catalog update: the content (without the country when it keeps the
 *  catalog's), then the key. */
QVariantList catalogUpdateValues(const Article& art, const QString& catalog, bool keepCountry)
{
    QVariantList values = catalogContent(art);
    if (keepCountry)
        values.removeAt(1);
    return values + QVariantList{catalog, textOf(art.number)};
}

/** The fifteen values of a new catalog entry: key, description, origin, quantity 0, the rest. */
QVariantList catalogInsertValues(const Article& art, const QString& catalog)
{
    QVariantList values = QVariantList{catalog, textOf(art.number)} + catalogContent(art);
    values.insert(4, 0.0);
    return values;
}

/** A row the transfer may take: checked "OK". */
bool isClean(const Article& row)
{
    return row.check == QLatin1String("OK");
}

int progressCount(qsizetype count)
{
    return static_cast<int>(qMin<qsizetype>(count, std::numeric_limits<int>::max()));
}

} // namespace

Transfer::Transfer(Workspace& ws, QString interno)
    : m_ws(ws)
    , m_interno(std::move(interno))
{}

Transfer::~Transfer() = default;

void Transfer::abandon()
{
    m_transaction.reset();
}

void Transfer::reportEmpty()
{
    abandon();
    m_outcome = TransferOutcome::Empty;
    m_ws.dialogs().message(MessageIcon::Exclamation,
                           QStringLiteral("El interno ") + m_interno +
                               QStringLiteral(" no tiene artículos para transferir.\n\n") +
                               NothingTransferred);
}

void Transfer::reportFailure(MessageIcon icon, const AppError& error, const QString& section)
{
    abandon();
    m_outcome = TransferOutcome::Failed;
    m_ws.dialogs().message(icon,
                           errorText(error, section) + QStringLiteral("\n\n") + NothingTransferred);
}

TransferOutcome Transfer::FRM3_Tranferir()
{
    const TransferOutcome outcome = run();
    if (outcome != TransferOutcome::Transferred) {
        // Nothing was transferred: the footer goes back to rest.
        m_ws.progress().setMessage(QString());
        m_ws.progress().setProgressVisible(false);
    }
    return outcome;
}

TransferOutcome Transfer::run()
{
    ProgressSink& progress = m_ws.progress();
    BusyCursor busy(progress);

    progress.setMessage(QStringLiteral("Validando datos..."));
    if (!FRAM3_Transfer_A_Validar())
        return m_outcome;

    progress.setMessage(QStringLiteral("Transfiriendo al Dectra Windows..."));
    progress.setProgressVisible(true);
    if (!FRAM3_Transfer_B_Pasaje())
        return m_outcome;

    progress.setMessage(QStringLiteral("Actualizando catalogo..."));
    if (!FRAM3_Transfer_C_ActualCAT())
        return m_outcome;

    const QString section = QStringLiteral(" - seccion [Aduplan.FRAM3_Transferir]");
    try {
        m_transaction->commit();
        m_transaction.reset();
    } catch (const AppError& error) {
        reportFailure(MessageIcon::None, error, section);
        return m_outcome;
    }

    m_outcome = TransferOutcome::Transferred;
    try {
        DataSession& declaration = m_ws.declaration();
        declaration.Sql(
            QStringLiteral("select count(interno) as Total from subitems where interno = ?"),
            {m_interno});
        RecordSet rs;
        if (declaration.CrearRs(rs)) {
            const QVariant total = rs.Fields(QStringLiteral("Total"));
            if (m_ws.formatter().EsNumero(total) > 0) {
                m_ws.dialogs().message(MessageIcon::Information,
                                       QStringLiteral("Se transfirio ") + total.toString() +
                                           QStringLiteral(" articulos en el interno ") + m_interno);
            } else {
                m_outcome = TransferOutcome::Failed;
                m_ws.dialogs().message(
                    MessageIcon::Exclamation,
                    QStringLiteral("ERROR: No se transfirio los articulos en el interno ") +
                        m_interno);
            }
        }
    } catch (const AppError& error) {
        // The transfer is committed by now: only the count could not be read.
        m_ws.dialogs().message(MessageIcon::None, errorText(error, section));
    }
    progress.setMessage(QStringLiteral("Fin de proceso"));
    progress.setProgressVisible(false);
    return m_outcome;
}

bool Transfer::FRAM3_Transfer_A_Validar()
{
    try {
        // The interno's rows are read once, in one statement: the check, the items and the
        // catalog all see the same rows, whatever a process of the interno does meanwhile.
        m_rows = ArticleStore(m_ws.work()).rows(m_interno, ArticleStore::Selection::All);
        if (std::all_of(m_rows.cbegin(), m_rows.cend(), isClean))
            return true;
        m_outcome = TransferOutcome::Refused;
        m_ws.dialogs().message(MessageIcon::Exclamation,
                               QStringLiteral("Hay registros para depurar.\n\n"
                                              "Haga click en el boton \"DATOS CON ERRORES\""));
    } catch (const AppError& error) {
        m_outcome = TransferOutcome::Failed;
        m_ws.dialogs().message(
            MessageIcon::Critical,
            errorText(error,
                      QStringLiteral(" - seccion [Aduplan.frmMain_FRAM3_Transfer_A_Validar]")));
    }
    return false;
}

bool Transfer::FRAM3_Transfer_B_Pasaje()
{
    const QString& interno = m_interno;
    ProgressSink& progress = m_ws.progress();
    try {
        DataSession& declaration = m_ws.declaration();
        RecordSet rs;
        declaration.Sql(QStringLiteral("select interno from caratula where interno = ?"),
                        {interno});
        const bool exists = declaration.CrearRs(rs);
        // The question comes before the transaction opens: nothing stays locked while it is up.
        if (exists &&
            !m_ws.dialogs().question(QStringLiteral("El interno [ ") + interno +
                                     QStringLiteral(" ] ya existe.\n\nDesea reemplazarlo?"))) {
            m_outcome = TransferOutcome::Declined;
            return false;
        }
        m_transaction.emplace(declaration);
        if (declaration.dialect() == DataSession::Dialect::PostgreSQL) {
            // Transfers take turns: two of them would otherwise both insert the same new
            // catalog entry, or replace the same interno at once. SQLite serialises writers
            // by itself.
            declaration.Sql(QStringLiteral("lock table catarticulos in exclusive mode"));
            declaration.ejecutar();
            // Another transfer of this interno may have ended while this one waited.
            declaration.Sql(QStringLiteral("select interno from caratula where interno = ?"),
                            {interno});
            if (!exists && declaration.CrearRs(rs))
                throw AppError(
                    95,
                    QStringLiteral("Otro usuario transfirió el interno %1 mientras tanto.")
                        .arg(interno),
                    QStringLiteral("Aduplan"));
        }
        if (exists) {
            for (const QString& statement :
                 {QStringLiteral("delete from caratula where interno = ?"),
                  QStringLiteral("delete from subitems where interno = ?"),
                  QStringLiteral("delete from facturas where interno = ?")}) {
                declaration.Sql(statement, {interno});
                declaration.ejecutar();
            }
        }

        progress.setProgressValue(1);
        progress.setProgressMaximum(100);
        declaration.Sql(QStringLiteral("insert into caratula (interno, fechaalta) values (?,?)"),
                        {interno, m_ws.directory().getDateFormatbyEntity(
                                      QStringLiteral("INTERNOS"), QDateTime::currentDateTime())});
        declaration.ejecutar();

        QList<Article> rows;
        std::copy_if(m_rows.cbegin(), m_rows.cend(), std::back_inserter(rows), isClean);
        if (rows.isEmpty()) {
            reportEmpty();
            return false;
        }
        progress.setProgressMaximum(progressCount(rows.size()));

        // Several items per insert, in line order; each counts on the bar once written.
        DataSession::Statement fullInsert(declaration, itemInsert(ItemsPerInsert));
        const QString& catalog = m_ws.settings().catalog();
        for (qsizetype start = 0; start < rows.size(); start += ItemsPerInsert) {
            const qsizetype count = std::min(ItemsPerInsert, rows.size() - start);
            QVariantList values;
            for (qsizetype i = start; i < start + count; ++i)
                values += itemValues(rows.at(i), catalog, interno);
            const qint64 added =
                count == ItemsPerInsert
                    ? fullInsert.ejecutar(values)
                    : DataSession::Statement(declaration, itemInsert(count)).ejecutar(values);
            if (added != count)
                throw AppError(
                    1,
                    QStringLiteral(
                        "Error Grabando registro en Dectra Windows: 0 Registros agregados"),
                    QStringLiteral("Aduplan"));
            for (qsizetype i = start; i < start + count; ++i)
                progress.setProgressValue(progressCount(i + 1));
        }
        TestSeam::reach("transfer:items");
        return true;
    } catch (const AppError& error) {
        reportFailure(MessageIcon::Critical, error,
                      QStringLiteral(" - seccion [Aduplan.frmMain.FRAM3_Transfer_B_pasaje]"));
    }
    return false;
}

bool Transfer::FRAM3_Transfer_C_ActualCAT()
{
    ProgressSink& progress = m_ws.progress();
    try {
        progress.setProgressValue(1);
        progress.setProgressMaximum(100);
        const QList<Article>& rows = m_rows;
        progress.setProgressMaximum(progressCount(rows.size()));

        DataSession& declaration = m_ws.declaration();
        const QString& catalog = m_ws.settings().catalog();
        // The article numbers the catalog holds, read a chunk of numbers per select; an entry
        // that a line adds is there for the later lines of the same article.
        QSet<QString> held;
        {
            QStringList numbers;
            for (const Article& art : rows)
                numbers << textOf(art.number);
            numbers.removeDuplicates();
            RecordSet found;
            for (qsizetype start = 0; start < numbers.size(); start += DataSession::ListChunk) {
                const QStringList chunk = numbers.mid(start, DataSession::ListChunk);
                declaration.Sql(CatalogSelect.arg(DataSession::placeholders(chunk.size())),
                                QVariantList{catalog} + QVariantList(chunk.cbegin(), chunk.cend()));
                declaration.CrearRs(found);
                for (qsizetype r = 0; r < found.RecordCount(); ++r)
                    held.insert(found.row(r).at(0).toString());
            }
        }
        DataSession::Statement update(declaration, CatalogUpdate);
        DataSession::Statement updateKeepingCountry(declaration, CatalogUpdateKeepingCountry);
        DataSession::Statement insert(declaration, CatalogInsert);
        for (qsizetype i = 0; i < rows.size(); ++i) {
            const Article& art = rows.at(i);
            // Lines are applied in order: an article on several lines ends with the values of
            // its last line.
            if (held.contains(textOf(art.number))) {
                const bool keepCountry = art.country.isEmpty();
                (keepCountry ? updateKeepingCountry : update)
                    .ejecutar(catalogUpdateValues(art, catalog, keepCountry));
            } else {
                insert.ejecutar(catalogInsertValues(art, catalog));
                held.insert(textOf(art.number));
            }
            progress.setProgressValue(progressCount(i + 1));
        }
        return true;
    } catch (const AppError& error) {
        reportFailure(MessageIcon::None, error,
                      QStringLiteral(" - seccion [Aduplan.frmMain_FRAM3_Transfer_C_ActualCAT]"));
    }
    return false;
}

TransferOutcome FRM3_Tranferir(Workspace& ws, const QString& interno)
{
    return Transfer(ws, interno).FRM3_Tranferir();
}
