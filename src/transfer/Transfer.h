// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "components/DataSession.h"
#include "data/ArticleStore.h"
#include "data/HistoryStore.h"
#include "workspace/OperatorDialogs.h"

#include <QHash>

#include <future>
#include <optional>

class Workspace;

/** How a transfer of an interno ended. */
enum class TransferOutcome {
    /** Header, items and catalog written and committed; the count was reported. */
    Transferred,
    /** The pre-check found rows still to correct; nothing was written. */
    Refused,
    /** The interno is already in the declaration database and the operator kept it. */
    Declined,
    /** The interno has no row to transfer; nothing was written and the operator was told. */
    Empty,
    /** An error was reported to the operator; nothing was written. */
    Failed,
};

/**
 * The transfer of an interno into the declaration database: the pre-check, the
 * header and items, and the catalog update. Everything it writes there (the deletes of a
 * replacement, the header, the items, the catalog entries) is one transaction: it is
 * committed whole after the catalog update, and any failure or refusal rolls it back.
 */
class Transfer {
public:
    Transfer(Workspace& ws, QString interno);
    ~Transfer();
    Transfer(const Transfer&) = delete;
    Transfer& operator=(const Transfer&) = delete;

    /**
     * The driver: runs the three stages, commits, then reports the items transferred. When
     * nothing was transferred the message line is cleared and the bar hidden.
     */
    TransferOutcome FRM3_Tranferir();

private:
    TransferOutcome run();
    /** True when every row of the interno carries the check code "OK". */
    bool FRAM3_Transfer_A_Validar();
    /**
     * Asks about a replacement, opens the transaction, writes the header, reads the catalog
     * entries (readCatalog) and writes the items.
     */
    bool FRAM3_Transfer_B_Pasaje();
    /** Updates or inserts the catalog entry of every row, inside the open transaction. */
    bool FRAM3_Transfer_C_ActualCAT();
    /**
     * Reads the catalog entries of the interno's articles, as they are before the transfer,
     * and starts writing the run's records (m_record).
     */
    void readCatalog();
    /** What each article's catalog entry held and will hold, for the catalog journal. */
    QList<CatalogEntryChange> catalogChanges() const;
    /**
     * What an article's catalog entry learns: everything but the key and the quantity. The
     * country is the last line's that has one; without one, `noCountry`.
     */
    QVariantList entryContent(const QString& number, const QVariant& noCountry) const;

    /** Rolls back what the transfer wrote so far (before telling the operator). */
    void abandon();
    void reportEmpty();
    void reportFailure(MessageIcon icon, const AppError& error, const QString& section);

    Workspace& m_ws;
    QString m_interno;
    /**
     * The lines of one article in the interno: applied in order, its catalog entry ends with
     * the values of the last line, and with the country of the last line that has one (a line
     * without one keeps the entry's country; a new entry starts with the empty one).
     */
    struct ArticleLines {
        qsizetype last = 0;
        qsizetype lastWithCountry = -1;
    };

    /** The interno's rows, read once by the pre-check. */
    QList<Article> m_rows;
    /** Each article once, in the order it first appears, and its lines. */
    QStringList m_numbers;
    QHash<QString, ArticleLines> m_lines;
    /** The catalog entries the articles had before the transfer, by article number. */
    QHash<QString, QVariantList> m_held;
    /**
     * The run's history entry and catalog journal, committed pending on a connection and a
     * thread of their own while the catalog update runs: the run's identifier. The thread reads
     * the rows and entries above, which outlive it.
     */
    std::future<qint64> m_record;
    std::optional<TransactionGuard> m_transaction;
    /** The time of the header written, as the history keeps it: the run's witness. */
    QString m_witness;
    TransferOutcome m_outcome = TransferOutcome::Failed;
};

/**
 * Writes a run over the declaration database pending, in one transaction of the work
 * database: its history entry (`run`'s interno, action and witness, with the detail) and its
 * catalog changes. The run's identifier.
 */
qint64 recordPendingRun(DataSession& work, const HistoryAuthor& author, RecordedRun run,
                        const QString& detail, const QString& catalog,
                        const QList<CatalogEntryChange>& changes);
/** Settles a pending run's history entry and catalog journal together. */
void settleRun(Workspace& ws, qint64 run, bool tookPlace);

/**
 * Settles the runs left pending by a transfer or a revert stopped between its records and the
 * declaration's commit, by what the declaration database holds: a transfer took place when the
 * interno's header holds the time it wrote or a later one (a replacement that did not take
 * place leaves the former header, with an earlier time), a revert when the catalog holds the
 * values it put back.
 * Runs that took place are kept, the others removed with their journal.
 */
void settleCatalogJournal(Workspace& ws);

/** Transfers the interno into the declaration database (header, items, catalog). */
TransferOutcome FRM3_Tranferir(Workspace& ws, const QString& interno);
