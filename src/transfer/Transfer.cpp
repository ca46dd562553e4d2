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
#include <QThread>

#include <algorithm>
#include <limits>

namespace {

const QString NothingTransferred = QStringLiteral("No se transfirió ningún registro.");

/** The item's columns and their types, in the order of itemValues. */
const QStringList ItemColumns = {QStringLiteral("idarticulo text"),
                                 QStringLiteral("idcatalogo text"),
                                 QStringLiteral("descripcion text"),
                                 QStringLiteral("interno text"),
                                 QStringLiteral("ncm text"),
                                 QStringLiteral("idunidad text"),
                                 QStringLiteral("cantidad double precision"),
                                 QStringLiteral("preciounitario double precision"),
                                 QStringLiteral("idpais text"),
                                 QStringLiteral("kgneto double precision"),
                                 QStringLiteral("fob double precision"),
                                 QStringLiteral("estadomerc text"),
                                 QStringLiteral("estadistica text"),
                                 QStringLiteral("valorrelacionestadistica double precision"),
                                 QStringLiteral("sufijos text"),
                                 QStringLiteral("lapi text"),
                                 QStringLiteral("valorderesp double precision"),
                                 QStringLiteral("kgbruto double precision"),
                                 QStringLiteral("biendeuso text"),
                                 QStringLiteral("deresp text")};

/**
 * A catalog entry's columns and their types, in the order of catalogContent: everything but
 * the catalog, the key and the quantity (always 0).
 */
const QStringList EntryColumns = {QStringLiteral("descripcion text"),
                                  QStringLiteral("idpais text"),
                                  QStringLiteral("preciounitario double precision"),
                                  QStringLiteral("ncm text"),
                                  QStringLiteral("lapi text"),
                                  QStringLiteral("sufijos text"),
                                  QStringLiteral("idunidad text"),
                                  QStringLiteral("estadistica text"),
                                  QStringLiteral("valorrelacionestadistica double precision"),
                                  QStringLiteral("estadomerc text"),
                                  QStringLiteral("deresp text"),
                                  QStringLiteral("valorderesp double precision")};

/** The insert of one item. */
const QString ItemInsert = QStringLiteral("insert into subitems (%1) values (%2)")
                               .arg(DataSession::Staging::columnNames(ItemColumns),
                                    DataSession::placeholders(ItemColumns.size()));

/** The insert of the items staged in table transfer_item, in their order. */
const QString StagedItemsInsert =
    QStringLiteral("insert into subitems (%1) select %1 from transfer_item order by n")
        .arg(DataSession::Staging::columnNames(ItemColumns));

/** The insert of one new catalog entry: the catalog, the key, the quantity, its content. */
const QString CatalogInsert =
    QStringLiteral("insert into catarticulos (idcatalogo, idarticulo, cantidad, %1) values (%2)")
        .arg(DataSession::Staging::columnNames(EntryColumns),
             DataSession::placeholders(EntryColumns.size() + 3));

/** The insert of the new entries staged in table transfer_entry, in their order. */
const QString StagedEntriesInsert =
    QStringLiteral("insert into catarticulos (idcatalogo, idarticulo, cantidad, %1) select ?, "
                   "idarticulo, 0, %1 from transfer_entry where added = 1 order by n")
        .arg(DataSession::Staging::columnNames(EntryColumns));

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
 * The update of the known entries staged in table transfer_entry, for the catalog. A NULL
 * country keeps the one the catalog has.
 */
const QString StagedEntriesUpdate = QStringLiteral(
    "update catarticulos set descripcion = e.descripcion, idpais = coalesce(e.idpais, "
    "catarticulos.idpais), cantidad = 0, preciounitario = e.preciounitario, ncm = e.ncm, "
    "lapi = e.lapi, sufijos = e.sufijos, idunidad = e.idunidad, estadistica = e.estadistica, "
    "valorrelacionestadistica = e.valorrelacionestadistica, estadomerc = e.estadomerc, "
    "deresp = e.deresp, valorderesp = e.valorderesp from transfer_entry e where e.added = 0 and "
    "catarticulos.idcatalogo = ? and catarticulos.idarticulo = e.idarticulo");

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
    // The records of a run that does not take place go with it.
    if (m_record.valid()) {
        try {
            settleRun(m_ws, m_record.get(), false);
        } catch (const AppError&) {
            // Left pending, or never written: settled by the declaration at the next transfer.
        }
    }
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
        const qint64 run = m_record.get();
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
        readCatalog();

        // On PostgreSQL, where each statement is a round trip to the server, the items are
        // staged in line order and inserted by one statement; on SQLite, where it is a call into
        // the library, each is inserted as it comes. The bar follows the lines.
        const QString& catalog = m_ws.settings().catalog();
        qint64 added = 0;
        const auto oneByOne = [&] {
            DataSession::Statement insert(declaration, ItemInsert);
            added = 0;
            for (qsizetype i = 0; i < rows.size(); ++i) {
                added += insert.ejecutar(itemValues(rows.at(i), catalog, interno));
                progress.setProgressValue(progressCount(i + 1));
            }
        };
        if (declaration.dialect() == DataSession::Dialect::PostgreSQL) {
            DataSession::Staging items(declaration, QStringLiteral("transfer_item"), ItemColumns);
            for (qsizetype i = 0; i < rows.size(); ++i) {
                items.add(itemValues(rows.at(i), catalog, interno));
                progress.setProgressValue(progressCount(i + 1));
            }
            items.finish();
            declaration.wholeOrRowByRow(
                [&] { added = DataSession::Statement(declaration, StagedItemsInsert).ejecutar(); },
                oneByOne);
            items.drop();
        } else {
            oneByOne();
        }
        if (added != rows.size())
            throw AppError(
                1,
                QStringLiteral("Error Grabando registro en Dectra Windows: 0 Registros agregados"),
                QStringLiteral("Aduplan"));
        TestSeam::reach("transfer:items");
        return true;
    } catch (const AppError& error) {
        reportFailure(MessageIcon::Critical, error,
                      QStringLiteral(" - seccion [Aduplan.frmMain.FRAM3_Transfer_B_pasaje]"));
    }
    return false;
}

void Transfer::readCatalog()
{
    // Each article once, in the order it first appears, with the lines that decide its entry.
    const QList<Article>& rows = m_rows;
    m_numbers.clear();
    m_lines.clear();
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const QString number = textOf(rows.at(i).number);
        if (!m_lines.contains(number))
            m_numbers << number;
        ArticleLines& article = m_lines[number];
        article.last = i;
        if (!rows.at(i).country.isEmpty())
            article.lastWithCountry = i;
    }
    const QString& catalog = m_ws.settings().catalog();
    m_held = CatalogEntries::read(m_ws.declaration(), catalog, m_numbers);

    // The work database is written on a connection and a thread of their own while the
    // declaration's statements run on this one; what the entries change is worked out there
    // too, from the rows and entries read, which neither thread changes from here on.
    m_record = std::async(
        std::launch::async,
        [this, &work = m_ws.work(), author = m_ws.historyAuthor(),
         run = RecordedRun{0, m_interno, QStringLiteral("transfer"), m_witness},
         detail =
             QStringLiteral("filas transferidas: %1, catálogo %2").arg(rows.size()).arg(catalog),
         catalog] {
            return recordPendingRun(*work.anotherConnection(), author, run, detail, catalog,
                                    catalogChanges());
        });
}

QList<CatalogEntryChange> Transfer::catalogChanges() const
{
    // What the entries held (nothing for a new one) and will hold: a NULL country keeps the
    // entry's, the quantity becomes 0.
    QList<CatalogEntryChange> changes;
    changes.reserve(m_numbers.size());
    for (const QString& number : m_numbers) {
        const auto entry = m_held.constFind(number);
        const bool inserted = entry == m_held.cend();
        QVariantList after =
            entryContent(number, inserted ? QVariant(QStringLiteral("")) : QVariant());
        after.insert(2, 0.0);
        if (!inserted && after.at(1).isNull())
            after[1] = entry->at(1);
        changes.append(
            {number, inserted ? CatalogChange::Entry::Inserted : CatalogChange::Entry::Updated,
             CatalogEntries::fields(), inserted ? QVariantList() : *entry, std::move(after)});
    }
    return changes;
}

QVariantList Transfer::entryContent(const QString& number, const QVariant& noCountry) const
{
    const ArticleLines& article = m_lines.value(number);
    return catalogContent(m_rows.at(article.last),
                          article.lastWithCountry < 0
                              ? noCountry
                              : QVariant(textOf(m_rows.at(article.lastWithCountry).country)));
}

bool Transfer::FRAM3_Transfer_C_ActualCAT()
{
    ProgressSink& progress = m_ws.progress();
    try {
        progress.setProgressValue(1);
        progress.setProgressMaximum(100);
        const qsizetype lines = m_rows.size();
        progress.setProgressMaximum(progressCount(lines));

        DataSession& declaration = m_ws.declaration();
        const QString& catalog = m_ws.settings().catalog();
        // The known entries updated, then the new ones inserted in the order they first appear.
        // On PostgreSQL each entry is staged, whether it is new, and its content, and the two
        // are done by a statement each; on SQLite entry by entry. The bar follows the entries,
        // scaled to the lines: all of them at the end.
        const auto step = [&](qsizetype i) {
            progress.setProgressValue(progressCount(lines * (i + 1) / m_numbers.size()));
        };
        const auto updateOneByOne = [&] {
            DataSession::Statement update(declaration, CatalogUpdate);
            for (const QString& number : std::as_const(m_numbers)) {
                if (m_held.contains(number))
                    update.ejecutar(entryContent(number, QVariant()) +
                                    QVariantList{catalog, number});
            }
        };
        const auto insertOneByOne = [&] {
            DataSession::Statement insert(declaration, CatalogInsert);
            for (qsizetype i = 0; i < m_numbers.size(); ++i) {
                const QString& number = m_numbers.at(i);
                if (!m_held.contains(number))
                    insert.ejecutar(QVariantList{catalog, number, 0.0} +
                                    entryContent(number, QStringLiteral("")));
                step(i);
            }
        };
        if (declaration.dialect() != DataSession::Dialect::PostgreSQL) {
            updateOneByOne();
            insertOneByOne();
            return true;
        }
        DataSession::Staging entries(
            declaration, QStringLiteral("transfer_entry"),
            QStringList{QStringLiteral("added integer"), QStringLiteral("idarticulo text")} +
                EntryColumns);
        for (qsizetype i = 0; i < m_numbers.size(); ++i) {
            const QString& number = m_numbers.at(i);
            const bool isNew = !m_held.contains(number);
            entries.add(QVariantList{int(isNew), number} +
                        entryContent(number, isNew ? QVariant(QStringLiteral("")) : QVariant()));
            step(i);
        }
        entries.finishForJoins(QStringLiteral("idarticulo"));
        declaration.wholeOrRowByRow(
            [&] { DataSession::Statement(declaration, StagedEntriesUpdate).ejecutar({catalog}); },
            updateOneByOne);
        declaration.wholeOrRowByRow(
            [&] { DataSession::Statement(declaration, StagedEntriesInsert).ejecutar({catalog}); },
            insertOneByOne);
        entries.drop();
        return true;
    } catch (const AppError& error) {
        reportFailure(MessageIcon::None, error,
                      QStringLiteral(" - seccion [Aduplan.frmMain_FRAM3_Transfer_C_ActualCAT]"));
    }
    return false;
}

qint64 recordPendingRun(DataSession& work, const HistoryAuthor& author, RecordedRun run,
                        const QString& detail, const QString& catalog,
                        const QList<CatalogEntryChange>& changes)
{
    TransactionGuard transaction(work);
    run.id =
        HistoryStore(work, author).recordPendingRun(run.interno, run.action, detail, run.witness);
    CatalogJournal(work).writePending(author, run, catalog, changes);
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
