// SPDX-License-Identifier: Apache-2.0
#include "transfer/CatalogRevert.h"

#include "components/OperatorText.h"
#include "components/TestSeam.h"
#include "data/HistoryStore.h"
#include "transfer/CatalogEntries.h"
#include "transfer/Transfer.h"
#include "workspace/Workspace.h"

#include <QSet>

#include <optional>

namespace {

const QString Section = QStringLiteral(" - seccion [Aduplan.revertTransferCatalog]");
const QString NothingReverted = QStringLiteral("No se revirtió ningún cambio.");

/** A catalog value as the list of conflicts shows it. */
QString shownValue(const QVariant& value)
{
    return value.isNull()
               ? QStringLiteral("NULL")
               : QLatin1Char('"') + OperatorText::shown(historyText(value)) + QLatin1Char('"');
}

/**
 * What undoes the transfer's changes: each field it changed back to its value before (the
 * value the transfer wrote is the one expected now), each entry it inserted removed.
 */
QList<CatalogChange> undoing(const QList<CatalogChange>& changes)
{
    QList<CatalogChange> undo;
    for (const CatalogChange& c : changes) {
        const bool inserted = c.entry == CatalogChange::Entry::Inserted;
        undo.append({c.article, c.field, c.newValue, inserted ? QVariant() : c.oldValue,
                     inserted ? CatalogChange::Entry::Removed : CatalogChange::Entry::Updated});
    }
    return undo;
}

/** The changes as the journal takes them: each entry's consecutive changes together. */
QList<CatalogEntryChange> byEntry(const QList<CatalogChange>& changes)
{
    QList<CatalogEntryChange> entries;
    for (const CatalogChange& c : changes) {
        if (entries.isEmpty() || entries.last().article != c.article ||
            entries.last().entry != c.entry)
            entries.append({c.article, c.entry, {}, {}, {}});
        CatalogEntryChange& entry = entries.last();
        entry.fields << c.field;
        entry.before << c.oldValue;
        entry.after << c.newValue;
    }
    return entries;
}

/** The fields of the catalog entries that no longer hold what the transfer wrote, one a line. */
QStringList conflicts(DataSession& declaration, const JournalRun& undo)
{
    QStringList found;
    for (const CatalogEntries::Mismatch& m :
         CatalogEntries::mismatches(declaration, undo.catalog, undo.changes,
                                    [](const CatalogChange& c) { return c.oldValue; })) {
        const CatalogChange& c = m.change;
        found << QStringLiteral("%1 (catálogo %2), %3: se esperaba %4, hay %5")
                     .arg(OperatorText::shown(c.article), OperatorText::shown(undo.catalog),
                          OperatorText::shown(c.field), shownValue(c.oldValue),
                          m.held ? shownValue(*m.held)
                          : CatalogEntries::fields().contains(c.field)
                              ? QStringLiteral("(la entrada no existe)")
                              : QStringLiteral("(campo desconocido)"));
    }
    return found;
}

/** Writes the undoing into the catalog, entry by entry, inside the open transaction. */
void writeUndo(DataSession& declaration, const JournalRun& undo, const QStringList& numbers)
{
    for (const QString& number : numbers) {
        QStringList assignments;
        QVariantList values;
        bool removed = false;
        for (const CatalogChange& c : undo.changes) {
            if (c.article != number)
                continue;
            removed = c.entry == CatalogChange::Entry::Removed;
            // The field's name is one of the catalog's known columns (checked with the
            // conflicts): never a text joined from elsewhere.
            assignments << CatalogEntries::fields().at(CatalogEntries::fields().indexOf(c.field)) +
                               QStringLiteral(" = ?");
            values << c.newValue;
        }
        if (removed)
            declaration.Sql(QStringLiteral("delete from catarticulos where idcatalogo = ? and "
                                           "idarticulo = ?"),
                            {undo.catalog, number});
        else
            declaration.Sql(QStringLiteral("update catarticulos set ") +
                                assignments.join(QStringLiteral(", ")) +
                                QStringLiteral(" where idcatalogo = ? and idarticulo = ?"),
                            values + QVariantList{undo.catalog, number});
        if (declaration.ejecutar() != 1)
            throw AppError(96,
                           QStringLiteral("La entrada %1 del catálogo %2 no se pudo revertir.")
                               .arg(OperatorText::shown(number), OperatorText::shown(undo.catalog)),
                           QStringLiteral("Aduplan"));
    }
}

} // namespace

RevertOutcome revertTransferCatalog(Workspace& ws, const QString& interno)
{
    OperatorDialogs& dialogs = ws.dialogs();
    const QString shownInterno = OperatorText::shown(interno);
    const auto refuse = [&dialogs](const QString& text) {
        dialogs.message(MessageIcon::Exclamation, text);
        return RevertOutcome::Refused;
    };
    JournalRun undo;
    try {
        settleCatalogJournal(ws);
        const std::optional<RecordedRun> last =
            HistoryStore(ws.work(), ws.historyAuthor())
                .lastRun(interno, {QStringLiteral("transfer"), QStringLiteral("revert")});
        if (!last)
            return refuse(
                QStringLiteral("No hay traspasos registrados del interno %1.").arg(shownInterno));
        if (last->action == QLatin1String("revert"))
            return refuse(QStringLiteral("Los cambios del último traspaso del interno %1 en el "
                                         "catálogo ya fueron revertidos.")
                              .arg(shownInterno));
        undo = CatalogJournal(ws.work()).changes(last->id);
        if (undo.changes.isEmpty())
            return refuse(QStringLiteral("El último traspaso del interno %1 no cambió el catálogo.")
                              .arg(shownInterno));
    } catch (const AppError& error) {
        dialogs.message(MessageIcon::Critical, errorText(error, Section));
        return RevertOutcome::Refused;
    }
    undo.changes = undoing(undo.changes);
    // The entries in the order first journaled.
    QStringList numbers;
    QSet<QString> seen;
    qsizetype removed = 0;
    for (const CatalogChange& c : std::as_const(undo.changes)) {
        if (seen.contains(c.article))
            continue;
        seen.insert(c.article);
        numbers << c.article;
        removed += c.entry == CatalogChange::Entry::Removed ? 1 : 0;
    }
    const qsizetype restored = numbers.size() - removed;
    const QString counts =
        QStringLiteral("entradas restituidas: %1, eliminadas: %2").arg(restored).arg(removed);
    if (!dialogs.question(QStringLiteral("¿Revertir los cambios del último traspaso del interno %1 "
                                         "en el catálogo %2?\n\nEntradas a restituir: %3, a "
                                         "eliminar: %4.")
                              .arg(shownInterno, OperatorText::shown(undo.catalog))
                              .arg(restored)
                              .arg(removed),
                          DefaultAnswer::No))
        return RevertOutcome::Declined;

    bool declared = false;
    try {
        DataSession& declaration = ws.declaration();
        TransactionGuard transaction(declaration);
        CatalogEntries::takeTurn(declaration);
        const QStringList found = conflicts(declaration, undo);
        if (!found.isEmpty())
            return refuse(QStringLiteral("%1 Estos valores del catálogo cambiaron después del "
                                         "traspaso del interno %2:\n")
                              .arg(NothingReverted, shownInterno) +
                          found.join(QLatin1Char('\n')));
        writeUndo(declaration, undo, numbers);
        // Recorded pending before the catalog commits, settled after it, as a transfer is.
        const qint64 run =
            recordPendingRun(ws.work(), ws.historyAuthor(),
                             {0, interno, QStringLiteral("revert"), QStringLiteral("")},
                             QStringLiteral("catálogo %1, %2").arg(undo.catalog, counts),
                             undo.catalog, byEntry(undo.changes));
        TestSeam::reach("revert:recorded");
        transaction.commit();
        declared = true;
        ws.catalogsChanged();
        settleRun(ws, run, true);
    } catch (const AppError& error) {
        dialogs.message(MessageIcon::Critical,
                        declared
                            ? errorText(error, Section)
                            : errorText(error, Section) + QStringLiteral("\n\n") + NothingReverted);
        try {
            settleCatalogJournal(ws);
        } catch (const AppError&) {
            // Left pending: settled by the catalog at the next transfer or revert.
        }
        if (!declared)
            return RevertOutcome::Refused;
    }
    dialogs.message(MessageIcon::Information,
                    QStringLiteral("Se revirtieron los cambios del último traspaso del interno %1 "
                                   "en el catálogo %2 (%3).")
                        .arg(shownInterno, OperatorText::shown(undo.catalog), counts));
    return RevertOutcome::Reverted;
}
