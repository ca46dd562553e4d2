// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "components/RecordSet.h"

#include <QDateTime>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariantList>

#include <functional>
#include <memory>
#include <optional>

struct sqlite3;
struct sqlite3_stmt;
struct pg_conn;
struct pg_result;

/**
 * Where a database is and how to sign in. Each value goes to the driver as it stands: a path
 * or a password may hold any character.
 */
struct ConnectionSettings {
    QString driver = QStringLiteral("QSQLITE"); ///< QSQLITE or QPSQL
    QString database;                           ///< SQLite: the file; PostgreSQL: the database name
    QString host;                               ///< PostgreSQL only, like the rest
    int port = -1;                              ///< -1: the driver's default
    QString user;
    QString password;
    /**
     * PostgreSQL: the seconds a statement waits for a lock another connection holds, and a
     * read in all, before it is refused as busy.
     */
    int lockTimeout = 10;
    /** The file that defines the connection, named when it cannot be opened; may be empty. */
    QString definedIn{};
};

/**
 * One database connection. Statements carry their values as bound parameters ("?"); no value
 * is ever joined into the statement text. The text of the last statement is kept for error
 * messages. Column names written as [001] are quoted as the engine needs.
 */
class DataSession {
public:
    enum class Dialect { SQLite, PostgreSQL };

    /**
     * A statement prepared once and executed many times with new values. On SQLite it runs on
     * the engine's own statement, on the connection and in the transaction of the session:
     * values bound by position, text as UTF-8, rows read one at a time without a cache.
     */
    class Statement {
    public:
        Statement(DataSession& session, const QString& text);
        ~Statement();
        Statement(const Statement&) = delete;
        Statement& operator=(const Statement&) = delete;
        /** Runs the statement as a change; returns the number of rows affected. */
        qint64 ejecutar(const QVariantList& values = {});
        /** Runs the statement as a query; true when at least one row came back. */
        bool CrearRs(RecordSet& rs, const QVariantList& values = {});
        /**
         * Runs the statement as a query and hands each row to `row` as it is read: the rows
         * are never held together.
         */
        void forEachRow(const QVariantList& values,
                        const std::function<void(const QVector<QVariant>&)>& row);

    private:
        void run(const QVariantList& values);
        void readRows(const std::function<void(const QVector<QVariant>&)>& row);
        /** SQLite: binds the values and takes the first step; true while a row is there. */
        bool start(const QVariantList& values);
        /** SQLite: the next step; true while a row is there. */
        bool step();
        /** SQLite: hands the rows to `row`, from the one taken (when `any`) to the last. */
        void readNative(bool any, const std::function<void(const QVector<QVariant>&)>& row);
        /** SQLite: the statement back at its start; raises with the engine's text on `code`. */
        [[noreturn]] void failNative(int code, const QString& action);
        DataSession& m_session;
        QString m_text;
        bool m_prepared;
        QSqlQuery m_query;
        /** SQLite: the engine's statement; null on PostgreSQL. */
        sqlite3_stmt* m_native = nullptr;

    public:
        /**
         * SQLite: a text bound at a position, and its UTF-8, which the engine reads in place.
         * The same text bound again (the same shared string, as a value repeated row after
         * row is) is not converted again.
         */
        struct BoundText {
            QString text;
            QByteArray utf8;
        };

    private:
        /** SQLite: the texts bound to the statement, by position. */
        QList<BoundText> m_texts;
    };

    /**
     * Rows gathered in a temporary table for set statements over them, on the connection and
     * in the transaction of the session: on SQLite each row inserted by the engine's own
     * statement, on PostgreSQL the rows copied in one COPY, in its text form. Column n holds
     * the order the rows were added in.
     */
    class Staging {
    public:
        /** Creates the temporary table `table` with n and the columns, "name type" each. */
        Staging(DataSession& session, QString table, const QStringList& columns);
        /**
         * Ends a copy left unfinished, so that the connection takes statements again, and
         * drops the table when drop() did not and no transaction will.
         */
        ~Staging();
        Staging(const Staging&) = delete;
        Staging& operator=(const Staging&) = delete;
        /** Adds a row: a value for each column, bound as a statement binds it. */
        void add(const QVariantList& row);
        /** Every row added is in the table from here on. */
        void finish();
        /**
         * finish(), and the table ready to be joined by `column`: on PostgreSQL, its size and
         * the statistics of that column taken.
         */
        void finishForJoins(const QString& column);
        /** Drops the table. */
        void drop();
        /** The names of columns given as "name type", joined by commas. */
        static QString columnNames(const QStringList& columns);

    private:
        /** PostgreSQL: sends the rows held to the copy. */
        void send();
        /**
         * Raises the failure of the copy with the server's text, and the code of `result`
         * when there is one (cleared).
         */
        [[noreturn]] void failCopy(const char* action, pg_result* result = nullptr);
        DataSession& m_session;
        QString m_table;
        qint64 m_rows = 0;
        /** SQLite: the insert of a row. */
        std::optional<Statement> m_insert;
        /** PostgreSQL: rows in COPY's text form, not sent yet. */
        QByteArray m_held;
        bool m_copying = false;
    };

    /** The entity name identifies the connection in error messages ("INTERNOS", "NCM", ...). */
    explicit DataSession(QString entity = QStringLiteral("WORK"));
    ~DataSession();
    DataSession(const DataSession&) = delete;
    DataSession& operator=(const DataSession&) = delete;

    /** The connection of an SQLite database file. */
    static ConnectionSettings sqliteConnection(const QString& file)
    {
        ConnectionSettings settings;
        settings.database = file;
        return settings;
    }

    /** Sets the connection that Conectar opens. */
    void CadenaConexion(ConnectionSettings settings) { m_settings = std::move(settings); }
    void Conectar();
    bool isOpen() const;
    /**
     * A connection of its own to the same database, opened, for the thread that asks for it
     * (a connection serves only the thread that opened it).
     */
    std::unique_ptr<DataSession> anotherConnection() const;

    /** Sets the statement of the next CrearRs or ejecutar, with its values. */
    void Sql(const QString& statement, const QVariantList& values = {});
    bool CrearRs(RecordSet& rs);
    qint64 ejecutar();

    /** Text of the statement last run or prepared (for messages). */
    const QString& lastStatement() const { return m_lastStatement; }
    const QString& entity() const { return m_entity; }
    /** The database as messages name it: which one, and its file or server. */
    QString databaseName() const;
    Dialect dialect() const { return m_dialect; }

    /** The most values one statement binds in an "in (...)" list: within every engine's limit. */
    static constexpr qsizetype ListChunk = 500;
    /** "?, ?, ?": the placeholders of a list of n values, for "in (...)". */
    static QString placeholders(qsizetype n);
    /** "(?, ?), (?, ?)": the placeholders of `rows` rows of `width` values, for "values ...". */
    static QString rowPlaceholders(qsizetype rows, qsizetype width);

    /**
     * Runs a select over keys of `width` values each, as many keys at a time as ListChunk
     * values allow. The select's %1 takes the chunk's rows "(?, ?), (?, ?)", as in
     * "with k(a, b) as (values %1) select ..." or "x in (%1)"; `leading` values are bound
     * before each chunk's. `read` gets the record set of each chunk with the index of its first
     * key and its count of keys.
     */
    void selectByKeys(
        const QString& select, int width, const QVariantList& keys,
        const std::function<void(const RecordSet&, qsizetype firstKey, qsizetype keyCount)>& read,
        const QVariantList& leading = {});

    /** The engine's expression for the first n characters of expr. */
    QString left(const QString& expr, int n) const;
    /** A date and time as the engine stores it, ready to be bound. */
    QVariant dateValue(const QDateTime& when) const;

    void beginTransaction();
    void commit();
    void rollback();
    /**
     * Whether the transaction begun is still open after a statement failed, so that more
     * statements may run in it: SQLite undoes only the failed statement unless the failure is
     * one that ends the transaction (a full disk, say). Never on PostgreSQL, whose transaction
     * refuses every statement after a failure.
     */
    bool transactionOpen() const;
    /**
     * Runs `whole`, a set statement in the transaction begun; should it fail, runs `oneByOne`
     * instead, the same writes a row at a time, so that the failure met names the statement of
     * its row. The failed statement is undone first: on PostgreSQL back to a savepoint taken
     * before it, on SQLite by the engine itself. A failure that ends the transaction (or one
     * outside a transaction) is raised as it is.
     */
    void wholeOrRowByRow(const std::function<void()>& whole, const std::function<void()>& oneByOne);

    QSqlDatabase database() const;

private:
    /** SQLite: the engine's connection under the driver's; null on PostgreSQL. */
    sqlite3* nativeHandle() const;
    /** PostgreSQL: the driver's connection; null on SQLite. */
    pg_conn* postgresHandle() const;
    friend class Statement;
    friend class Staging;
    QString adapt(const QString& text) const;
    /** " Revise el grupo [X] de FILE." for a connection a file defines; empty otherwise. */
    QString definitionHint() const;
    [[noreturn]] void fail(const QSqlError& error) const;

    QString m_entity;
    QString m_connectionName;
    ConnectionSettings m_settings;
    QString m_lastStatement;
    QVariantList m_values;
    Dialect m_dialect = Dialect::SQLite;
};

/**
 * One transaction over a run of reads: they see one state of the database, and SQLite takes
 * its lock once instead of once per select. Nothing is written in it; it ends with a rollback.
 */
class ReadTransaction {
public:
    explicit ReadTransaction(DataSession& session)
        : m_session(session)
    {
        m_session.beginTransaction();
    }
    ~ReadTransaction() { m_session.rollback(); }
    ReadTransaction(const ReadTransaction&) = delete;
    ReadTransaction& operator=(const ReadTransaction&) = delete;

private:
    DataSession& m_session;
};

/** Begins a transaction; rolls it back on destruction unless commit() ran. */
class TransactionGuard {
public:
    explicit TransactionGuard(DataSession& session);
    ~TransactionGuard();
    TransactionGuard(const TransactionGuard&) = delete;
    TransactionGuard& operator=(const TransactionGuard&) = delete;
    void commit();

private:
    DataSession& m_session;
    bool m_done = false;
};
