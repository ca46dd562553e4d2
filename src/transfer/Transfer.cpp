// SPDX-License-Identifier: Apache-2.0
#include "transfer/Transfer.h"

#include "components/OperatorText.h"
#include "components/TestSeam.h"
#include "data/ArticleStore.h"
#include "data/HistoryStore.h"
#include "transfer/CatalogEntries.h"
#include "workspace/Workspace.h"

#include <QDateTime>
#include <QHash>
#include <QSet>
#include <QThread>

#include <algorithm>
#include <functional>
#include <limits>

namespace {

const QString NothingTransferred = QStringLiteral("No se transfirió ningún registro.");

/** The values of one item, and of one new catalog entry. */
constexpr qsizetype ItemColumns = 20;
constexpr qsizetype CatalogColumns = 15;

/**
 * The values one statement of the transfer binds. On PostgreSQL a few thousand: a longer
 * statement costs the server more per value than the round trips it saves. On SQLite as many
 * as the engine takes: the values are bound by position on the engine's own statement, so a
 * value costs the same however many the statement has, and each statement run costs a step.
 */
qsizetype valuesPerStatement(const DataSession& session)
{
    return session.dialect() == DataSession::Dialect::PostgreSQL
               ? std::min<qsizetype>(session.valueLimit(), 2000)
               : session.valueLimit();
}

/** The insert of `count` items in one statement. */
QString itemInsert(qsizetype count)
{
    return QStringLiteral(
               "insert into subitems (idarticulo,idcatalogo,descripcion,interno,ncm,IdUnidad,"
               "Cantidad,Preciounitario,IdPais,KGNETO,fob,EstadoMerc,estadistica,"
               "valorrelacionestadistica,sufijos,LAPI,valorderesp,kgbruto,biendeuso,deresp) "
               "values ") +
           DataSession::rowPlaceholders(count, ItemColumns);
}

/** The insert of `count` new catalog entries in one statement. */
QString catalogInsert(qsizetype count)
{
    return QStringLiteral(
               "insert into CATARTICULOS (idcatalogo, idarticulo, descripcion, idpais, cantidad, "
               "Preciounitario, ncm, lapi, sufijos, idunidad, estadistica, "
               "valorrelacionestadistica, estadomerc, deresp, valorderesp) values ") +
           DataSession::rowPlaceholders(count, CatalogColumns);
}

/**
 * The update of one catalog entry: its content and its key. A NULL country keeps the one the
 * catalog has.
 */
const QString CatalogUpdate = QStringLiteral(
    "update CATARTICULOS set descripcion = ?,idpais = coalesce(?, idpais),cantidad = 0,"
    "Preciounitario = ?,ncm = ?,lapi = ?,sufijos = ?,idunidad = ?,estadistica = ?,"
    "valorrelacionestadistica = ?,EstadoMerc = ?,deresp = ?,valorderesp = ? "
    "where idcatalogo = ? and idarticulo = ?");

/**
 * The update of `count` catalog entries in one statement (PostgreSQL): each row of values is
 * an article number and its content, then comes the catalog. A NULL country keeps the one the
 * catalog has.
 */
QString catalogUpdates(qsizetype count)
{
    return QStringLiteral(
               "update catarticulos as c set descripcion = v.descripcion,"
               "idpais = coalesce(v.idpais, c.idpais),cantidad = 0,"
               "preciounitario = cast(v.preciounitario as double precision),ncm = v.ncm,"
               "lapi = v.lapi,sufijos = v.sufijos,idunidad = v.idunidad,"
               "estadistica = v.estadistica,valorrelacionestadistica = "
               "cast(v.valorrelacionestadistica as double precision),estadomerc = v.estadomerc,"
               "deresp = v.deresp,valorderesp = cast(v.valorderesp as double precision) "
               "from (values ") +
           DataSession::rowPlaceholders(count, CatalogColumns - 2) +
           QStringLiteral(
               ") as v (idarticulo, descripcion, idpais, preciounitario, ncm, lapi, sufijos, "
               "idunidad, estadistica, valorrelacionestadistica, estadomerc, deresp, "
               "valorderesp) where c.idcatalogo = ? and c.idarticulo = v.idarticulo");
}

/**
 * Runs a statement of `perStatement` rows of values over `total` rows, the last one shorter:
 * the statement of a full chunk is prepared once. `values(from, count)` gives the values of
 * the rows from `from`; `written(from, count, affected)` follows every statement.
 */
void inChunks(DataSession& session, qsizetype total, qsizetype perStatement,
              const std::function<QString(qsizetype)>& text,
              const std::function<QVariantList(qsizetype, qsizetype)>& values,
              const std::function<void(qsizetype, qsizetype, qint64)>& written)
{
    std::optional<DataSession::Statement> full;
    for (qsizetype start = 0; start < total; start += perStatement) {
        const qsizetype count = std::min(perStatement, total - start);
        qint64 affected = 0;
        if (count == perStatement) {
            if (!full)
                full.emplace(session, text(perStatement));
            affected = full->ejecutar(values(start, count));
        } else {
            affected = DataSession::Statement(session, text(count)).ejecutar(values(start, count));
        }
        written(start, count, affected);
    }
}

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
 * key and the quantity (always 0). The country is the one given: NULL keeps the catalog's.
 */
QVariantList catalogContent(const Article& art, const QVariant& country)
{
    return {textOf(art.description),
            country,
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

/**
 * The lines of one article in the interno: applied in order, its catalog entry ends with the
 * values of the last line, and with the country of the last line that has one (a line
 * without one keeps the entry's country; a new entry starts with the empty one).
 */
struct ArticleLines {
    qsizetype last = 0;
    qsizetype lastWithCountry = -1;
};

/** A row the transfer may take: checked "OK". */
bool isClean(const Article& row)
{
    return row.check == QLatin1String("OK");
}

/** The time the interno's header holds in the declaration database, as the history keeps it. */
std::optional<QString> headerTime(DataSession& declaration, const QString& interno)
{
    declaration.Sql(QStringLiteral("select fechaalta from caratula where interno = ?"), {interno});
    RecordSet header;
    if (!declaration.CrearRs(header))
        return std::nullopt;
    return historyText(header.row(0).at(0));
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
                           QStringLiteral("El interno ") + OperatorText::shown(m_interno) +
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
    try {
        settleCatalogJournal(m_ws);
    } catch (const AppError& error) {
        reportFailure(MessageIcon::Critical, error,
                      QStringLiteral(" - seccion [Aduplan.FRAM3_Transferir]"));
        return m_outcome;
    }
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
    bool declared = false;
    try {
        // The run's history entry and its catalog journal are committed pending before the
        // declaration commits, and settled after it: a stop at any moment leaves no transfer
        // without them, nor them without their transfer.
        const QString& catalog = m_ws.settings().catalog();
        const qint64 run = recordPendingRun(
            m_ws, {0, m_interno, QStringLiteral("transfer"), m_witness},
            QStringLiteral("filas transferidas: %1, catálogo %2").arg(m_rows.size()).arg(catalog),
            catalog, m_catalogChanges);
        TestSeam::reach("transfer:recorded");
        m_transaction->commit();
        m_transaction.reset();
        declared = true;
        m_ws.catalogsChanged();
        TestSeam::reach("transfer:declared");
        settleRun(m_ws, run, true);
    } catch (const AppError& error) {
        if (declared) {
            // The transfer stands: only its records failed to settle.
            m_ws.dialogs().message(MessageIcon::None, errorText(error, section));
        } else {
            reportFailure(MessageIcon::None, error, section);
        }
        // Whether the declaration committed is told by the declaration itself (a failed commit
        // may have taken place); what cannot be settled now is settled at the next transfer.
        try {
            settleCatalogJournal(m_ws);
        } catch (const AppError&) {
            // Left pending: settled by the declaration at the next transfer.
        }
        if (!declared)
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
        declaration.Sql(QStringLiteral("select interno, fechaalta from caratula where interno = ?"),
                        {interno});
        const bool exists = declaration.CrearRs(rs);
        const QVariant replacedTime = exists ? rs.row(0).at(1) : QVariant();
        // The question comes before the transaction opens: nothing stays locked while it is up.
        if (exists &&
            !m_ws.dialogs().question(QStringLiteral("El interno [ ") + interno +
                                         QStringLiteral(" ] ya existe.\n\nDesea reemplazarlo?"),
                                     DefaultAnswer::No)) {
            m_outcome = TransferOutcome::Declined;
            return false;
        }
        m_transaction.emplace(declaration);
        // Transfers take turns: two of them would otherwise both insert the same new catalog
        // entry, or replace the same interno at once.
        CatalogEntries::takeTurn(declaration);
        if (declaration.dialect() == DataSession::Dialect::PostgreSQL) {
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
        // The header's time tells this transfer from the one it replaces (see
        // settleCatalogJournal): a replacement within the same second waits for the next.
        const auto registered = [this] {
            return m_ws.directory().getDateFormatbyEntity(QStringLiteral("INTERNOS"),
                                                          QDateTime::currentDateTime());
        };
        QVariant time = registered();
        while (exists && time == replacedTime) {
            QThread::msleep(50);
            time = registered();
        }
        declaration.Sql(QStringLiteral("insert into caratula (interno, fechaalta) values (?,?)"),
                        {interno, time});
        declaration.ejecutar();
        m_witness = headerTime(declaration, interno).value_or(QString());

        // Every row is clean by now (the pre-check): all of them are transferred.
        const QList<Article>& rows = m_rows;
        if (rows.isEmpty()) {
            reportEmpty();
            return false;
        }
        progress.setProgressMaximum(progressCount(rows.size()));

        // Many items per insert, in line order; the bar follows each insert.
        const QString& catalog = m_ws.settings().catalog();
        inChunks(
            declaration, rows.size(), valuesPerStatement(declaration) / ItemColumns, itemInsert,
            [&](qsizetype from, qsizetype count) {
                QVariantList values;
                values.reserve(count * ItemColumns);
                for (qsizetype i = from; i < from + count; ++i)
                    values += itemValues(rows.at(i), catalog, interno);
                return values;
            },
            [&](qsizetype from, qsizetype count, qint64 added) {
                if (added != count)
                    throw AppError(
                        1,
                        QStringLiteral(
                            "Error Grabando registro en Dectra Windows: 0 Registros agregados"),
                        QStringLiteral("Aduplan"));
                progress.setProgressValue(progressCount(from + count));
            });
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

        // Each article once, in the order it first appears, with the lines that decide its
        // entry.
        QStringList numbers;
        QHash<QString, ArticleLines> lines;
        for (qsizetype i = 0; i < rows.size(); ++i) {
            const QString number = textOf(rows.at(i).number);
            if (!lines.contains(number))
                numbers << number;
            ArticleLines& article = lines[number];
            article.last = i;
            if (!rows.at(i).country.isEmpty())
                article.lastWithCountry = i;
        }

        DataSession& declaration = m_ws.declaration();
        const QString& catalog = m_ws.settings().catalog();
        const QHash<QString, QVariantList> held =
            CatalogEntries::read(declaration, catalog, numbers);
        QStringList known;
        QStringList added;
        for (const QString& number : std::as_const(numbers))
            (held.contains(number) ? known : added) << number;

        // The content of an article's entry; without a country, NULL or the empty one.
        const auto content = [&](const QString& number, const QVariant& noCountry) {
            const ArticleLines& article = lines.value(number);
            return catalogContent(rows.at(article.last),
                                  article.lastWithCountry < 0
                                      ? noCountry
                                      : QVariant(textOf(rows.at(article.lastWithCountry).country)));
        };
        // What the entries held (nothing for a new one) and will hold, for the catalog
        // journal: a NULL country keeps the entry's, the quantity becomes 0.
        m_catalogChanges.clear();
        m_catalogChanges.reserve(numbers.size());
        for (const QString& number : std::as_const(numbers)) {
            const auto entry = held.constFind(number);
            const bool inserted = entry == held.cend();
            QVariantList after =
                content(number, inserted ? QVariant(QStringLiteral("")) : QVariant());
            after.insert(2, 0.0);
            if (!inserted && after.at(1).isNull())
                after[1] = entry->at(1);
            m_catalogChanges.append(
                {number, inserted ? CatalogChange::Entry::Inserted : CatalogChange::Entry::Updated,
                 CatalogEntries::fields(), inserted ? QVariantList() : *entry, std::move(after)});
        }
        // The bar counts the entries written, scaled to the lines: all of them at the end.
        const auto advance = [&](qsizetype entriesWritten) {
            progress.setProgressValue(progressCount(rows.size() * entriesWritten / numbers.size()));
        };

        // The known entries are updated: on PostgreSQL many per statement, on SQLite one
        // prepared statement for them all.
        const bool multiRow = declaration.dialect() == DataSession::Dialect::PostgreSQL;
        inChunks(
            declaration, known.size(),
            multiRow ? (valuesPerStatement(declaration) - 1) / (CatalogColumns - 2) : 1,
            [multiRow](qsizetype count) {
                return multiRow ? catalogUpdates(count) : CatalogUpdate;
            },
            [&](qsizetype from, qsizetype count) {
                QVariantList values;
                for (qsizetype i = from; i < from + count; ++i) {
                    const QVariantList entry = content(known.at(i), QVariant());
                    values += multiRow ? QVariantList{known.at(i)} + entry
                                       : entry + QVariantList{catalog, known.at(i)};
                }
                if (multiRow)
                    values << catalog;
                return values;
            },
            [&](qsizetype from, qsizetype count, qint64) { advance(from + count); });
        // The new ones are inserted, many per statement.
        inChunks(
            declaration, added.size(), valuesPerStatement(declaration) / CatalogColumns,
            catalogInsert,
            [&](qsizetype from, qsizetype count) {
                QVariantList values;
                values.reserve(count * CatalogColumns);
                for (qsizetype i = from; i < from + count; ++i) {
                    QVariantList entry = QVariantList{catalog, added.at(i)} +
                                         content(added.at(i), QStringLiteral(""));
                    entry.insert(4, 0.0);
                    values += entry;
                }
                return values;
            },
            [&](qsizetype from, qsizetype count, qint64) { advance(known.size() + from + count); });
        return true;
    } catch (const AppError& error) {
        reportFailure(MessageIcon::None, error,
                      QStringLiteral(" - seccion [Aduplan.frmMain_FRAM3_Transfer_C_ActualCAT]"));
    }
    return false;
}

qint64 recordPendingRun(Workspace& ws, RecordedRun run, const QString& detail,
                        const QString& catalog, const QList<CatalogEntryChange>& changes)
{
    TransactionGuard transaction(ws.work());
    run.id = HistoryStore(ws.work(), ws.historyAuthor())
                 .recordPendingRun(run.interno, run.action, detail, run.witness);
    CatalogJournal(ws.work()).writePending(ws.historyAuthor(), run, catalog, changes);
    transaction.commit();
    return run.id;
}

void settleRun(Workspace& ws, qint64 run, bool tookPlace)
{
    TransactionGuard transaction(ws.work());
    HistoryStore(ws.work(), ws.historyAuthor()).settleRun(run, tookPlace);
    CatalogJournal(ws.work()).settle(run, tookPlace);
    transaction.commit();
}

void settleCatalogJournal(Workspace& ws)
{
    CatalogJournal journal(ws.work());
    DataSession& declaration = ws.declaration();
    for (const RecordedRun& run : HistoryStore(ws.work(), ws.historyAuthor()).pendingRuns()) {
        bool tookPlace = false;
        if (run.action == QLatin1String("transfer")) {
            // The interno's header holds the time the transfer wrote, or a later one (the
            // interno transferred again since); a replacement that did not take place left the
            // earlier header.
            const std::optional<QString> header = headerTime(declaration, run.interno);
            tookPlace = header && *header >= run.witness;
        } else {
            // A revert: the catalog holds what it wrote.
            tookPlace = CatalogEntries::holds(declaration, journal.changes(run.id));
        }
        settleRun(ws, run.id, tookPlace);
    }
}

TransferOutcome FRM3_Tranferir(Workspace& ws, const QString& interno)
{
    return Transfer(ws, interno).FRM3_Tranferir();
}
