// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "components/DataSession.h"
#include "data/ArticleStore.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <optional>

/** A value as the history keeps it: NULL as null, numbers in their shortest form. */
QString historyText(const QVariant& value);
/** Whether two values are the same as the history keeps them (NULL differs from ""). */
bool sameHistoryText(const QVariant& a, const QVariant& b);
/**
 * Appends a text to a JSON array being written, opened with "[" when empty, without its
 * closing "]": as a JSON string, or null for a null text.
 */
void appendJson(QString& array, const QString& text);

/** Who makes the changes recorded: the system's login name, the host and the front end. */
struct HistoryAuthor {
    QString user;
    QString host;
    /** "desktop" or "cli". */
    QString frontEnd;

    /** The user logged in on this host, working through the front end. */
    static HistoryAuthor current(const QString& frontEnd);
};

/**
 * One entry of the row history: a field of an article row changed by a person, or a run of
 * the automatic work over an interno (no line, no field; its summary in `detail`).
 */
struct HistoryEntry {
    QString time; ///< UTC, ISO 8601 to the second: "2026-12-07T04:49:49Z"
    QString user;
    QString host;
    QString frontEnd;
    QString interno;
    std::optional<qint64> line;
    QString action; ///< "import", "process", "edit", "transfer" or "revert"
    QString field;  ///< the column's name (PRCNCM, PRCSUF, ...); null for a run
    QString oldValue;
    QString newValue;
    QString detail;
    /** The interno was deleted after the entry was written. */
    bool deleted = false;
};

/**
 * A run recorded over the declaration database (a transfer, a revert of its catalog changes):
 * its entry is written pending before the declaration commits, and settled after it.
 */
struct RecordedRun {
    qint64 id = 0;
    QString interno;
    QString action;
    /** For a transfer, the time its header holds in the declaration database. */
    QString witness;
};

/**
 * The row history of the work database (table ROW_HISTORY). Entries are written inside the
 * transaction of the change they record, so that the change and its entries take effect
 * together or not at all; they are never changed afterwards except to mark them deleted with
 * their interno, or to settle a run written pending. A database failure raises.
 */
class HistoryStore {
public:
    HistoryStore(DataSession& work, HistoryAuthor author);

    /** The statements that create the table and its index. */
    static QStringList schema();
    /** Creates the table in a work database made before it existed, or its later columns. */
    static void createWhenMissing(DataSession& work);

    /** One "edit" entry for each column whose value differs between the two states of a row. */
    void recordEdit(const Article& before, const Article& after);
    /** One entry for a run of the automatic work over the interno. */
    void recordRun(const QString& interno, const QString& action, const QString& detail);
    /**
     * One entry for a run over the declaration database, pending until settled; `witness` tells
     * later whether it took place. Its identifier.
     */
    qint64 recordPendingRun(const QString& interno, const QString& action, const QString& detail,
                            const QString& witness);
    /** The runs written pending and not settled, oldest first. */
    QList<RecordedRun> pendingRuns();
    /** Settles a pending run: kept when it took place, removed when not. */
    void settleRun(qint64 id, bool tookPlace);
    /** The interno's last settled run of the actions given, if any. */
    std::optional<RecordedRun> lastRun(const QString& interno, const QStringList& actions);
    /** Marks the interno's entries as those of a deleted interno. */
    void markDeleted(const QString& interno);

    /**
     * The interno's entries (of one line when given), oldest first; a run not settled yet says
     * so in its detail.
     */
    QList<HistoryEntry> entries(const QString& interno, std::optional<qint64> line = {});

private:
    /** Writes the entry; with a witness, as a run pending until settled. */
    void insert(const HistoryEntry& entry, const std::optional<QString>& pendingWitness = {});
    HistoryEntry stamped(const QString& interno, const QString& action) const;

    DataSession& m_work;
    HistoryAuthor m_author;
    /** The entry insert, prepared on first use and reused for every entry. */
    std::unique_ptr<DataSession::Statement> m_insert;
};

/** A catalog entry's field as a run changes it; no old value for an inserted entry. */
struct CatalogChange {
    /** What the run did to the whole entry. */
    enum class Entry { Updated, Inserted, Removed };

    QString article;
    QString field; ///< the catalog's column: "ncm", "sufijos", ...
    QVariant oldValue;
    QVariant newValue;
    Entry entry = Entry::Updated;
};

/**
 * A catalog entry as a run changes it: its fields with their values before and after, one
 * of each a field (no values before for an inserted entry).
 */
struct CatalogEntryChange {
    QString article;
    CatalogChange::Entry entry = CatalogChange::Entry::Updated;
    QStringList fields;
    QVariantList before;
    QVariantList after;
};

/** The catalog changes of one run, in the order written. */
struct JournalRun {
    QString catalog;
    QList<CatalogChange> changes;
};

/**
 * The catalog journal of the work database (table CATALOG_JOURNAL): what each transfer wrote
 * into the catalog entries, with the values before, and what a revert put back. One row a
 * catalog entry: FIELD, OLDVALUE and NEWVALUE hold JSON arrays of the fields changed and
 * their values (texts or null), STATE "run": its run's history entry tells whether it is
 * pending. Rows of one field each, with a state of their own ("pending" or "done"), were
 * written by earlier versions and are read alike. The declaration database's catalog is
 * another database: the entries are written with their run's history entry, pending, and
 * committed before the declaration commits, and settled with the run after it. A database
 * failure raises.
 */
class CatalogJournal {
public:
    explicit CatalogJournal(DataSession& work);

    static QStringList schema();
    static void createWhenMissing(DataSession& work);

    /**
     * Writes the changes of the run (its history entry `run`, its action) to the interno's
     * catalog by the author, pending, in the caller's transaction; a field whose value stays
     * is left out, an entry none of whose values change too.
     */
    void writePending(const HistoryAuthor& author, const RecordedRun& run, const QString& catalog,
                      const QList<CatalogEntryChange>& changes);
    /** Settles a run's entries: done when it took place, removed when not. */
    void settle(qint64 run, bool tookPlace);
    /** The changes the run wrote, field by field. */
    JournalRun changes(qint64 run);

    /**
     * The article's entries in the catalog, oldest first, as history entries of their run's
     * action (no line; the detail "pendiente" while pending).
     */
    QList<HistoryEntry> entries(const QString& catalog, const QString& article);

private:
    DataSession& m_work;
};
