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
    QString action; ///< "import", "process", "edit" or "transfer"
    QString field;  ///< the column's name (PRCNCM, PRCSUF, ...); null for a run
    QString oldValue;
    QString newValue;
    QString detail;
    /** The interno was deleted after the entry was written. */
    bool deleted = false;
};

/**
 * The row history of the work database (table ROW_HISTORY). Entries are written inside the
 * transaction of the change they record, so that the change and its entries take effect
 * together or not at all; they are never changed afterwards except to mark them deleted with
 * their interno. A database failure raises.
 */
class HistoryStore {
public:
    HistoryStore(DataSession& work, HistoryAuthor author);

    /** The statements that create the table and its index. */
    static QStringList schema();
    /** Creates the table in a work database made before it existed. */
    static void createWhenMissing(DataSession& work);

    /** One "edit" entry for each column whose value differs between the two states of a row. */
    void recordEdit(const Article& before, const Article& after);
    /** One entry for a run of the automatic work over the interno. */
    void recordRun(const QString& interno, const QString& action, const QString& detail);
    /** Marks the interno's entries as those of a deleted interno. */
    void markDeleted(const QString& interno);

    /** The interno's entries (of one line when given), oldest first. */
    QList<HistoryEntry> entries(const QString& interno, std::optional<qint64> line = {});

private:
    void insert(const HistoryEntry& entry);
    HistoryEntry stamped(const QString& interno, const QString& action) const;

    DataSession& m_work;
    HistoryAuthor m_author;
    /** The entry insert, prepared on first use and reused for every entry. */
    std::unique_ptr<DataSession::Statement> m_insert;
};

/** A catalog entry's field as a transfer changes it; no old value for an inserted entry. */
struct CatalogChange {
    QString article;
    QString field; ///< the catalog's column: "ncm", "sufijos", ...
    QVariant oldValue;
    QVariant newValue;
};

/**
 * The catalog journal of the work database (table CATALOG_JOURNAL): what each transfer wrote
 * into the catalog entries, field by field, with the values before. The declaration
 * database's catalog is another database: the entries are written "pending" and committed
 * before the declaration commits, and marked "done" after it; a pending entry found later is
 * settled (kept as done, or removed) by what the declaration database holds. A database
 * failure raises.
 */
class CatalogJournal {
public:
    explicit CatalogJournal(DataSession& work);

    static QStringList schema();
    static void createWhenMissing(DataSession& work);

    /** Writes the interno's changes to the catalog by the author, pending, in a transaction of
     *  their own;
     *  a field whose value stays is left out. */
    void writePending(const HistoryAuthor& author, const QString& interno, const QString& catalog,
                      const QList<CatalogChange>& changes);
    /** The internos with pending entries. */
    QStringList pendingInternos();
    /** Marks the interno's pending entries done. */
    void markDone(const QString& interno);
    /** Removes the interno's pending entries: their transfer did not take place. */
    void abandon(const QString& interno);

    /**
     * The article's entries in the catalog, oldest first, as history entries of action
     * "transfer" (no line; the detail "pendiente" while pending).
     */
    QList<HistoryEntry> entries(const QString& catalog, const QString& article);

private:
    DataSession& m_work;
};
