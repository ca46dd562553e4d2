// SPDX-License-Identifier: Apache-2.0
#include "components/DataSession.h"

#include "components/AppError.h"
#include "components/OperatorText.h"
#include "components/SharedLibrary.h"

#include <QAtomicInt>
#include <QDir>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlRecord>

#include <libpq-fe.h>
#include <sqlite3.h>

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace {

QAtomicInt connectionCounter;

/** What went wrong with a database, as far as the operator can act on it. */
enum class FailureKind { Busy, Full, Disk, ReadOnly, Lost, Damaged, Schema, Other };

/**
 * SQLite's primary result code of the failure. A failed commit carries the engine's text
 * without its code: the code is then found by the engine's fixed text.
 */
int sqliteCode(const QSqlError& error)
{
    bool given = false;
    const int code = error.nativeErrorCode().toInt(&given);
    if (given)
        return code & 0xFF;
    static const std::pair<int, const char*> texts[] = {
        {5, "database is locked"},
        {6, "database table is locked"},
        {8, "attempt to write a readonly database"},
        {10, "disk I/O error"},
        {11, "database disk image is malformed"},
        {13, "database or disk is full"},
        {26, "file is not a database"},
    };
    for (const auto& [known, text] : texts) {
        if (error.databaseText().startsWith(QLatin1String(text)))
            return known;
    }
    return 0;
}

FailureKind failureKind(const QSqlError& error, DataSession::Dialect dialect)
{
    const QString code = error.nativeErrorCode();
    if (dialect == DataSession::Dialect::SQLite) {
        switch (sqliteCode(error)) {
        case 5: // SQLITE_BUSY
        case 6: // SQLITE_LOCKED
            return FailureKind::Busy;
        case 8: // SQLITE_READONLY
            return FailureKind::ReadOnly;
        case 10: // SQLITE_IOERR
            return FailureKind::Disk;
        case 11: // SQLITE_CORRUPT
        case 26: // SQLITE_NOTADB
            return FailureKind::Damaged;
        case 13: // SQLITE_FULL
            return FailureKind::Full;
        default:
            break;
        }
        const QString text = error.databaseText();
        return text.startsWith(QLatin1String("no such table")) ||
                       text.startsWith(QLatin1String("no such column"))
                   ? FailureKind::Schema
                   : FailureKind::Other;
    }
    // PostgreSQL's SQLSTATE: class 08 connection exceptions, 57P0x server shut down; a failure
    // without one never reached the server. 55P03 is a lock not granted within lock_timeout,
    // 57014 a statement cancelled by statement_timeout.
    if (code.isEmpty() || code.startsWith(QLatin1String("08")) ||
        code.startsWith(QLatin1String("57P0")))
        return FailureKind::Lost;
    if (code == QLatin1String("55P03") || code == QLatin1String("57014") ||
        code == QLatin1String("40P01") || code == QLatin1String("40001"))
        return FailureKind::Busy;
    if (code == QLatin1String("53100"))
        return FailureKind::Full;
    if (code == QLatin1String("25006"))
        return FailureKind::ReadOnly;
    if (code == QLatin1String("XX001") || code == QLatin1String("XX002"))
        return FailureKind::Damaged;
    if (code == QLatin1String("42P01") || code == QLatin1String("42703"))
        return FailureKind::Schema;
    return FailureKind::Other;
}

/** The operator's sentence for a failure of the named database: what failed, what to do. */
QString failureSentence(FailureKind kind, const QString& database)
{
    switch (kind) {
    case FailureKind::Busy:
        return QStringLiteral("%1 está ocupada por otro usuario o programa. Espere unos momentos "
                              "y vuelva a intentarlo.")
            .arg(database);
    case FailureKind::Full:
        return QStringLiteral(
                   "No queda espacio en el disco de %1. Libere espacio y vuelva a intentarlo.")
            .arg(database);
    case FailureKind::Disk:
        return QStringLiteral("No se pudo leer o escribir el disco de %1. Revise que haya espacio "
                              "libre y que el disco funcione, y vuelva a intentarlo.")
            .arg(database);
    case FailureKind::ReadOnly:
        return QStringLiteral(
                   "%1 es de solo lectura: no se pueden guardar cambios. Revise los permisos.")
            .arg(database);
    case FailureKind::Lost:
        return QStringLiteral("Se perdió la conexión con %1. Revise la red y el servidor y vuelva "
                              "a intentarlo.")
            .arg(database);
    case FailureKind::Damaged:
        return QStringLiteral("%1 está dañada o no es una base de datos. Restáurela desde una "
                              "copia de seguridad o corrija su ubicación en directory.ini.")
            .arg(database);
    case FailureKind::Schema:
        return QStringLiteral("A %1 le falta una tabla o una columna que el programa usa. Revise "
                              "que directory.ini apunte a la base correcta.")
            .arg(database);
    case FailureKind::Other:
        break;
    }
    return QStringLiteral("Falló una operación en %1. Si vuelve a ocurrir, informe el detalle al "
                          "responsable de los sistemas.")
        .arg(database);
}

/**
 * Whether the value goes to the database as NULL: an empty variant, or a null text, null bytes
 * or an invalid time, as Qt's SQL layer has it.
 */
bool isNullValue(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::QString:
        return static_cast<const QString*>(value.constData())->isNull();
    case QMetaType::QByteArray:
        return static_cast<const QByteArray*>(value.constData())->isNull();
    case QMetaType::QDateTime:
        return !static_cast<const QDateTime*>(value.constData())->isValid();
    default:
        return value.isNull();
    }
}

/** Binds the text as UTF-8 kept in `held`, which the statement reads until it is bound anew. */
int bindText(sqlite3_stmt* statement, int position, const QString& text,
             DataSession::Statement::BoundText& held)
{
    // A string shares its characters until it is changed, and `held` keeps them from being
    // changed: the same characters at the same place are the same text.
    if (text.constData() != held.text.constData() || text.size() != held.text.size()) {
        held.text = text;
        held.utf8 = text.toUtf8();
    }
    return sqlite3_bind_text(statement, position, held.utf8.constData(), int(held.utf8.size()),
                             SQLITE_STATIC);
}

/**
 * Binds a value at its position (from 1) as Qt's SQLite driver does, text as UTF-8 held in
 * `held` (no copy of it is made).
 */
int bindValue(sqlite3_stmt* statement, int position, const QVariant& value,
              DataSession::Statement::BoundText& held)
{
    if (isNullValue(value))
        return sqlite3_bind_null(statement, position);
    switch (value.typeId()) {
    case QMetaType::QByteArray: {
        const auto* bytes = static_cast<const QByteArray*>(value.constData());
        return sqlite3_bind_blob(statement, position, bytes->constData(), int(bytes->size()),
                                 SQLITE_TRANSIENT);
    }
    case QMetaType::Int:
    case QMetaType::Bool:
        return sqlite3_bind_int(statement, position, value.toInt());
    case QMetaType::Double:
        return sqlite3_bind_double(statement, position, value.toDouble());
    case QMetaType::UInt:
    case QMetaType::LongLong:
        return sqlite3_bind_int64(statement, position, value.toLongLong());
    case QMetaType::QDateTime:
        return bindText(statement, position, value.toDateTime().toString(Qt::ISODateWithMs), held);
    case QMetaType::QString:
        return bindText(statement, position, *static_cast<const QString*>(value.constData()), held);
    default:
        return bindText(statement, position, value.toString(), held);
    }
}

/**
 * A column of the current row other than a text, of the engine's `type`, as Qt's SQLite driver
 * reads it (NULL as a null text).
 */
QVariant columnValue(sqlite3_stmt* statement, int column, int type)
{
    switch (type) {
    case SQLITE_BLOB:
        return QByteArray(static_cast<const char*>(sqlite3_column_blob(statement, column)),
                          sqlite3_column_bytes(statement, column));
    case SQLITE_INTEGER:
        return qint64(sqlite3_column_int64(statement, column));
    case SQLITE_FLOAT:
        return sqlite3_column_double(statement, column);
    default:
        return QVariant(QMetaType::fromType<QString>());
    }
}

/**
 * The client library's functions the bulk path calls, taken at run time from the library Qt's
 * PostgreSQL driver has loaded: linked, it would load with the nineteen libraries it needs into
 * every run of the programs, most of which never speak to PostgreSQL.
 */
struct PostgresClient {
    decltype(&PQexec) exec = nullptr;
    decltype(&PQresultStatus) resultStatus = nullptr;
    decltype(&PQresultErrorField) resultErrorField = nullptr;
    decltype(&PQclear) clear = nullptr;
    decltype(&PQerrorMessage) errorMessage = nullptr;
    decltype(&PQtransactionStatus) transactionStatus = nullptr;
    decltype(&PQputCopyData) putCopyData = nullptr;
    decltype(&PQputCopyEnd) putCopyEnd = nullptr;
    decltype(&PQgetResult) getResult = nullptr;
};

/** The client library's functions; only called on a PostgreSQL connection, which loaded it. */
const PostgresClient& postgresClient()
{
    static const PostgresClient client = [] {
        SharedLibrary library(QStringLiteral("pq"), 5, QStringLiteral("de PostgreSQL"));
        PostgresClient found;
        library.take(found.exec, "PQexec");
        library.take(found.resultStatus, "PQresultStatus");
        library.take(found.resultErrorField, "PQresultErrorField");
        library.take(found.clear, "PQclear");
        library.take(found.errorMessage, "PQerrorMessage");
        library.take(found.transactionStatus, "PQtransactionStatus");
        library.take(found.putCopyData, "PQputCopyData");
        library.take(found.putCopyEnd, "PQputCopyEnd");
        library.take(found.getResult, "PQgetResult");
        return found;
    }();
    return client;
}

/**
 * Appends a value in the text form of COPY: NULL as \\N, a number in its shortest exact
 * form, text as UTF-8 with backslash, tab, line feed and carriage return escaped.
 */
void appendCopyValue(QByteArray& out, const QVariant& value)
{
    if (isNullValue(value)) {
        out += "\\N";
        return;
    }
    if (value.typeId() == QMetaType::Double) {
        const double number = value.toDouble();
        if (qIsNaN(number))
            out += "NaN";
        else if (qIsInf(number))
            out += number > 0 ? "Infinity" : "-Infinity";
        else
            out += QByteArray::number(number, 'g', QLocale::FloatingPointShortest);
        return;
    }
    const QByteArray text = value.toString().toUtf8();
    for (const char c : text) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += c;
        }
    }
}

/** The text with its first letter in upper case: a sentence that starts with a name. */
QString capitalized(QString text)
{
    if (!text.isEmpty())
        text[0] = text[0].toUpper();
    return text;
}

} // namespace

DataSession::DataSession(QString entity)
    : m_entity(std::move(entity))
    , m_connectionName(QStringLiteral("aduplan-%1").arg(connectionCounter.fetchAndAddRelaxed(1)))
{}

DataSession::~DataSession()
{
    if (QSqlDatabase::contains(m_connectionName)) {
        {
            QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(m_connectionName);
    }
}

QSqlDatabase DataSession::database() const
{
    return QSqlDatabase::database(m_connectionName, false);
}

bool DataSession::isOpen() const
{
    return QSqlDatabase::contains(m_connectionName) && database().isOpen();
}

void DataSession::Conectar()
{
    // SQLite counts the memory it takes under one lock that all its connections share: the
    // transfer's two threads, each on a connection of its own, would wait on each other at
    // every allocation. Nothing here reads the count. The engine takes the setting only before
    // it starts, that is before the first connection opens; later it refuses it and goes on
    // counting, which changes nothing else.
    static const int uncounted = sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
    Q_UNUSED(uncounted);
    const QString driver = m_settings.driver.toUpper();
    if (driver != QLatin1String("QSQLITE") && driver != QLatin1String("QPSQL"))
        throw AppError(-1,
                       QStringLiteral("Controlador de base de datos desconocido \"%1\" para %2.")
                               .arg(OperatorText::shown(driver), m_entity) +
                           definitionHint(),
                       m_entity);
    m_dialect = driver == QLatin1String("QPSQL") ? Dialect::PostgreSQL : Dialect::SQLite;
    QSqlDatabase db = QSqlDatabase::addDatabase(driver, m_connectionName);
    if (!db.isValid())
        throw AppError(-1,
                       QStringLiteral("No está instalado el controlador %1 de base de datos (%2).")
                               .arg(driver, m_entity) +
                           definitionHint(),
                       m_entity);
    db.setDatabaseName(m_settings.database);
    if (m_dialect == Dialect::SQLite) {
        // Never create an empty file in place of a missing database.
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READWRITE;QSQLITE_BUSY_TIMEOUT=5000"));
    } else {
        db.setHostName(m_settings.host);
        db.setPort(m_settings.port);
        db.setUserName(m_settings.user);
        db.setPassword(m_settings.password);
    }
    if (!db.open())
        throw AppError(
            db.lastError().nativeErrorCode().toLong(),
            OperatorText::failure(
                capitalized(QStringLiteral("No se pudo abrir %1. Revise que exista y que tenga "
                                           "permiso para usarla.")
                                .arg(databaseName())) +
                    definitionHint(),
                db.lastError().text()),
            m_entity);
    if (m_dialect == Dialect::SQLite) {
        // Temporary tables and the journals that undo a single failed statement live in
        // memory: neither outlives the connection, so a crash loses nothing committed, and
        // the set statements over many rows no longer write every page they touch to a file.
        QSqlQuery set(db);
        if (!set.exec(QStringLiteral("pragma temp_store = memory")))
            fail(set.lastError());
    } else {
        // Waiting on another connection's lock ends after the set time, with a refusal; so
        // does any read. Writes in a transaction are exempt from the statement limit (see
        // TransactionGuard); their lock waits are not.
        const QString wait = QString::number(qint64(m_settings.lockTimeout) * 1000);
        QSqlQuery set(db);
        if (!set.exec(QStringLiteral("set lock_timeout = ") + wait) ||
            !set.exec(QStringLiteral("set statement_timeout = ") + wait))
            fail(set.lastError());
    }
}

std::unique_ptr<DataSession> DataSession::anotherConnection() const
{
    auto session = std::make_unique<DataSession>(m_entity);
    session->CadenaConexion(m_settings);
    session->Conectar();
    return session;
}

QString DataSession::adapt(const QString& text) const
{
    if (m_dialect == Dialect::SQLite)
        return text;
    static const QRegularExpression bracketed(QStringLiteral("\\[(\\w+)\\]"));
    QString out = text;
    out.replace(bracketed, QStringLiteral("\"\\1\""));
    return out;
}

QString DataSession::definitionHint() const
{
    if (m_settings.definedIn.isEmpty())
        return {};
    return QStringLiteral(" Revise el grupo [%1] de %2.")
        .arg(m_entity, QDir::toNativeSeparators(m_settings.definedIn));
}

QString DataSession::databaseName() const
{
    QString where = QDir::toNativeSeparators(m_settings.database);
    if (m_dialect == Dialect::PostgreSQL && !m_settings.host.isEmpty())
        where += QStringLiteral(" en ") + m_settings.host;
    QString name;
    if (m_entity == QLatin1String("WORK"))
        name = QStringLiteral("la base de datos de trabajo");
    else if (m_entity == QLatin1String("INTERNOS"))
        name = QStringLiteral("la base de datos de declaraciones INTERNOS");
    else if (m_entity == QLatin1String("NCM"))
        name = QStringLiteral("la base de datos del nomenclador NCM");
    else
        name = QStringLiteral("la base de datos ") + m_entity;
    return where.isEmpty() ? name : name + QStringLiteral(" (") + where + QLatin1Char(')');
}

void DataSession::fail(const QSqlError& error) const
{
    QString detail = error.databaseText();
    if (detail.isEmpty())
        detail = error.text();
    const QString sentence = failureSentence(failureKind(error, m_dialect), databaseName());
    bool ok = false;
    const long number = error.nativeErrorCode().toLong(&ok);
    throw AppError(ok ? number : -1, OperatorText::failure(capitalized(sentence), detail),
                   m_entity);
}

void DataSession::Sql(const QString& statement, const QVariantList& values)
{
    m_lastStatement = statement;
    m_values = values;
}

bool DataSession::CrearRs(RecordSet& rs)
{
    return Statement(*this, m_lastStatement).CrearRs(rs, m_values);
}

qint64 DataSession::ejecutar()
{
    return Statement(*this, m_lastStatement).ejecutar(m_values);
}

QString DataSession::placeholders(qsizetype n)
{
    QString list;
    list.reserve(n * 3);
    for (qsizetype i = 0; i < n; ++i)
        list += i ? QLatin1String(", ?") : QLatin1String("?");
    return list;
}

QString DataSession::rowPlaceholders(qsizetype rows, qsizetype width)
{
    return QStringList(rows, QLatin1Char('(') + placeholders(width) + QLatin1Char(')')).join(u", ");
}

void DataSession::selectByKeys(
    const QString& select, int width, const QVariantList& keys,
    const std::function<void(const RecordSet&, qsizetype firstKey, qsizetype keyCount)>& read,
    const QVariantList& leading)
{
    const qsizetype step = std::max<qsizetype>(ListChunk / width, 1) * width;
    // Every full chunk runs the same statement: it is prepared once.
    std::optional<Statement> full;
    RecordSet rs;
    for (qsizetype start = 0; start < keys.size(); start += step) {
        const QVariantList chunk = keys.mid(start, step);
        const QString text = select.arg(rowPlaceholders(chunk.size() / width, width));
        if (chunk.size() < step) {
            Statement(*this, text).CrearRs(rs, leading + chunk);
        } else {
            if (!full)
                full.emplace(*this, text);
            full->CrearRs(rs, leading + chunk);
        }
        read(rs, start / width, chunk.size() / width);
    }
}

sqlite3* DataSession::nativeHandle() const
{
    if (m_dialect != Dialect::SQLite || !isOpen())
        return nullptr;
    const QVariant handle = database().driver()->handle();
    if (qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3* const*>(handle.constData());
}

PGconn* DataSession::postgresHandle() const
{
    if (m_dialect != Dialect::PostgreSQL || !isOpen())
        return nullptr;
    const QVariant handle = database().driver()->handle();
    // The driver names the type as libpq's header does, or by the structure behind it.
    if (qstrcmp(handle.typeName(), "PGconn*") != 0 && qstrcmp(handle.typeName(), "pg_conn*") != 0)
        return nullptr;
    return *static_cast<PGconn* const*>(handle.constData());
}

QString DataSession::left(const QString& expr, int n) const
{
    if (m_dialect == Dialect::PostgreSQL)
        return QStringLiteral("left(%1, %2)").arg(expr).arg(n);
    return QStringLiteral("substr(%1, 1, %2)").arg(expr).arg(n);
}

QVariant DataSession::dateValue(const QDateTime& when) const
{
    if (m_dialect == Dialect::PostgreSQL)
        return when;
    return when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

void DataSession::beginTransaction()
{
    QSqlDatabase db = database();
    if (!db.transaction())
        fail(db.lastError());
}

void DataSession::commit()
{
    QSqlDatabase db = database();
    if (!db.commit())
        fail(db.lastError());
}

void DataSession::rollback()
{
    database().rollback();
}

bool DataSession::transactionOpen() const
{
    sqlite3* db = nativeHandle();
    return db && !sqlite3_get_autocommit(db);
}

void DataSession::wholeOrRowByRow(const std::function<void()>& whole,
                                  const std::function<void()>& oneByOne)
{
    // PostgreSQL refuses every statement of a transaction after a failure, up to a rollback.
    PGconn* postgres = postgresHandle();
    const bool savepoint =
        postgres && postgresClient().transactionStatus(postgres) == PQTRANS_INTRANS;
    if (savepoint)
        Statement(*this, QStringLiteral("savepoint whole")).ejecutar();
    try {
        whole();
    } catch (const AppError&) {
        // A connection that refuses the rollback too: the first failure is the one to tell.
        const auto undone = [this] {
            try {
                Statement(*this, QStringLiteral("rollback to savepoint whole")).ejecutar();
                return true;
            } catch (const AppError&) {
                return false;
            }
        };
        if (savepoint ? !undone() : !transactionOpen())
            throw;
        oneByOne();
    }
    if (savepoint)
        Statement(*this, QStringLiteral("release savepoint whole")).ejecutar();
}

DataSession::Statement::Statement(DataSession& session, const QString& text)
    : m_session(session)
    , m_text(text)
    , m_prepared(text.contains(QLatin1Char('?')))
    , m_query(session.database())
{
    session.m_lastStatement = text;
    if (!session.isOpen())
        throw AppError(-1, QStringLiteral("La conexión %1 no está abierta.").arg(session.m_entity),
                       session.m_entity);
    if (sqlite3* db = session.nativeHandle()) {
        const QByteArray utf8 = text.toUtf8();
        const char* tail = nullptr;
        const int code = sqlite3_prepare_v3(db, utf8.constData(), int(utf8.size()),
                                            SQLITE_PREPARE_PERSISTENT, &m_native, &tail);
        if (code != SQLITE_OK)
            failNative(code, QStringLiteral("Unable to execute statement"));
        // Several statements in one text run through the driver, which refuses them.
        if (tail && !QByteArray(tail).trimmed().isEmpty()) {
            sqlite3_finalize(m_native);
            m_native = nullptr;
        } else {
            return;
        }
    }
    m_query.setForwardOnly(true);
    // A statement without values runs as it stands: engines do not prepare every kind of
    // statement (PostgreSQL prepares no create or drop).
    if (m_prepared && !m_query.prepare(session.adapt(text)))
        session.fail(m_query.lastError());
}

DataSession::Statement::~Statement()
{
    sqlite3_finalize(m_native);
}

void DataSession::Statement::failNative(int code, const QString& action)
{
    sqlite3* db = m_session.nativeHandle();
    const QSqlError error(action, QString::fromUtf8(sqlite3_errmsg(db)), QSqlError::StatementError,
                          QString::number(code));
    if (m_native)
        sqlite3_reset(m_native);
    m_session.fail(error);
}

bool DataSession::Statement::start(const QVariantList& values)
{
    m_session.m_lastStatement = m_text;
    sqlite3_reset(m_native);
    if (sqlite3_bind_parameter_count(m_native) != values.size())
        m_session.fail(QSqlError(QStringLiteral("Parameter count mismatch"), QString(),
                                 QSqlError::StatementError));
    // The texts bound last stay until every parameter is bound anew: the engine reads them in
    // place.
    m_texts.resize(values.size());
    for (int i = 0; i < values.size(); ++i) {
        const int code = bindValue(m_native, i + 1, values.at(i), m_texts[i]);
        if (code != SQLITE_OK)
            failNative(code, QStringLiteral("Unable to bind parameters"));
    }
    return step();
}

bool DataSession::Statement::step()
{
    const int code = sqlite3_step(m_native);
    if (code == SQLITE_ROW)
        return true;
    if (code != SQLITE_DONE)
        failNative(code, QStringLiteral("Unable to fetch row"));
    sqlite3_reset(m_native);
    return false;
}

void DataSession::Statement::run(const QVariantList& values)
{
    m_session.m_lastStatement = m_text;
    for (int i = 0; i < values.size(); ++i)
        m_query.bindValue(i, values.at(i));
    if (!(m_prepared ? m_query.exec() : m_query.exec(m_session.adapt(m_text))))
        m_session.fail(m_query.lastError());
}

qint64 DataSession::Statement::ejecutar(const QVariantList& values)
{
    if (m_native) {
        // A statement that returns rows stops at the first: they are not wanted.
        if (start(values))
            sqlite3_reset(m_native);
        return sqlite3_changes64(sqlite3_db_handle(m_native));
    }
    run(values);
    const qint64 affected = m_query.numRowsAffected();
    m_query.finish();
    return affected;
}

bool DataSession::Statement::CrearRs(RecordSet& rs, const QVariantList& values)
{
    QStringList columns;
    QVector<QVector<QVariant>> rows;
    const auto keep = [&rows](const QVector<QVariant>& row) {
        rows << row;
    };
    if (m_native) {
        const bool any = start(values);
        for (int i = 0; i < sqlite3_column_count(m_native); ++i) {
            // Named as the driver names them: without quotes or the table before a dot.
            const QString name =
                QString::fromUtf8(sqlite3_column_name(m_native, i)).remove(QLatin1Char('"'));
            columns << name.mid(name.lastIndexOf(QLatin1Char('.')) + 1);
        }
        readNative(any, keep);
    } else {
        run(values);
        const QSqlRecord record = m_query.record();
        for (int i = 0; i < record.count(); ++i)
            columns << record.fieldName(i);
        readRows(keep);
    }
    rs = RecordSet(std::move(columns), std::move(rows));
    return rs.RecordCount() > 0;
}

void DataSession::Statement::forEachRow(const QVariantList& values,
                                        const std::function<void(const QVector<QVariant>&)>& row)
{
    if (m_native) {
        readNative(start(values), row);
        return;
    }
    run(values);
    readRows(row);
}

void DataSession::Statement::readNative(bool any,
                                        const std::function<void(const QVector<QVariant>&)>& row)
{
    // Back at its start however the reading ends: no read stays open in the transaction.
    const auto reset = qScopeGuard([this] { sqlite3_reset(m_native); });
    QVector<QVariant> fields(sqlite3_column_count(m_native));
    // The UTF-8 of each column's text in the row before, while `fields` holds that text: a text
    // repeated row after row (a unit, a code, the interno) is read as the string already made.
    struct Text {
        std::string utf8;
        bool held = false;
    };
    std::vector<Text> texts(size_t(fields.size()));
    for (bool more = any; more; more = step()) {
        for (int i = 0; i < fields.size(); ++i) {
            Text& text = texts[size_t(i)];
            if (const int type = sqlite3_column_type(m_native, i); type != SQLITE_TEXT) {
                fields[i] = columnValue(m_native, i, type);
                text.held = false;
                continue;
            }
            const std::string_view utf8(
                reinterpret_cast<const char*>(sqlite3_column_text(m_native, i)),
                size_t(sqlite3_column_bytes(m_native, i)));
            if (text.held && text.utf8 == utf8)
                continue;
            fields[i] = QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
            text.utf8.assign(utf8);
            text.held = true;
        }
        row(fields);
    }
}

void DataSession::Statement::readRows(const std::function<void(const QVector<QVariant>&)>& row)
{
    QVector<QVariant> fields(m_query.record().count());
    while (m_query.next()) {
        for (int i = 0; i < fields.size(); ++i)
            fields[i] = m_query.value(i);
        row(fields);
    }
    if (m_query.lastError().isValid())
        m_session.fail(m_query.lastError());
    m_query.finish();
}

DataSession::Staging::Staging(DataSession& session, QString table, const QStringList& columns)
    : m_session(session)
    , m_table(std::move(table))
{
    const bool postgres = m_session.dialect() == Dialect::PostgreSQL;
    if (postgres)
        postgresClient(); // a library it cannot use is told here, not in the destructor
    // On SQLite n is the row's key, which the engine numbers as the rows come.
    Statement(m_session,
              QStringLiteral("create temporary table %1 (n %2, %3)")
                  .arg(m_table,
                       postgres ? QStringLiteral("bigint") : QStringLiteral("integer primary key"),
                       columns.join(QStringLiteral(", "))))
        .ejecutar();
    if (!postgres) {
        m_insert.emplace(m_session,
                         QStringLiteral("insert into %1 (%2) values (%3)")
                             .arg(m_table, columnNames(columns), placeholders(columns.size())));
    }
}

QString DataSession::Staging::columnNames(const QStringList& columns)
{
    QStringList names;
    for (const QString& column : columns)
        names << column.section(QLatin1Char(' '), 0, 0);
    return names.join(QStringLiteral(", "));
}

DataSession::Staging::~Staging()
{
    PGconn* connection = m_session.postgresHandle();
    if (connection && m_copying) {
        // The copy fails on the server; the transaction it leaves is rolled back by its owner.
        postgresClient().putCopyEnd(connection, "abandoned");
        while (PGresult* result = postgresClient().getResult(connection))
            postgresClient().clear(result);
    }
    // Left by a failure: a rollback takes a table made in the transaction along, one made
    // outside a transaction is dropped here. The failure is on its way to the operator: a
    // drop that fails too has nothing to add.
    const bool inTransaction = connection
                                   ? postgresClient().transactionStatus(connection) != PQTRANS_IDLE
                                   : m_session.transactionOpen();
    if (m_table.isEmpty() || inTransaction)
        return;
    try {
        drop();
    } catch (const AppError&) {
    }
}

void DataSession::Staging::add(const QVariantList& row)
{
    if (m_insert) {
        m_insert->ejecutar(row);
        ++m_rows;
        return;
    }
    if (!m_copying) {
        // The copy starts with the first row.
        const QString copy = QStringLiteral("copy %1 from stdin").arg(m_table);
        m_session.m_lastStatement = copy;
        PGresult* started =
            postgresClient().exec(m_session.postgresHandle(), copy.toUtf8().constData());
        if (postgresClient().resultStatus(started) != PGRES_COPY_IN)
            failCopy("Unable to start the copy", started);
        postgresClient().clear(started);
        m_copying = true;
    }
    m_held += QByteArray::number(m_rows++);
    for (const QVariant& value : row) {
        m_held += '\t';
        appendCopyValue(m_held, value);
    }
    m_held += '\n';
    // The rows go to the server a few hundred kilobytes at a time.
    if (m_held.size() >= (1 << 18))
        send();
}

void DataSession::Staging::send()
{
    if (postgresClient().putCopyData(m_session.postgresHandle(), m_held.constData(),
                                     int(m_held.size())) != 1)
        failCopy("Unable to copy the rows");
    m_held.resize(0); // keeps its room for the next rows
}

void DataSession::Staging::finish()
{
    if (!m_copying)
        return;
    send();
    PGconn* connection = m_session.postgresHandle();
    m_copying = false;
    if (postgresClient().putCopyEnd(connection, nullptr) != 1)
        failCopy("Unable to end the copy");
    PGresult* result = postgresClient().getResult(connection);
    while (PGresult* more = postgresClient().getResult(connection))
        postgresClient().clear(more);
    if (postgresClient().resultStatus(result) != PGRES_COMMAND_OK)
        failCopy("Unable to copy the rows", result);
    postgresClient().clear(result);
}

void DataSession::Staging::finishForJoins(const QString& column)
{
    finish();
    // A temporary table has no statistics until analysed: the planner would take it for a few
    // rows and join it to a table as new as a fresh catalog by comparing every row with every
    // other (seconds at 10,000 rows). The join needs the table's size and the column's
    // statistics, a quarter of the time of every column's. SQLite's planner goes by the
    // indexes.
    if (m_session.dialect() == Dialect::PostgreSQL && m_rows > 0)
        Statement(m_session, QStringLiteral("analyze %1 (%2)").arg(m_table, column)).ejecutar();
}

void DataSession::Staging::failCopy(const char* action, pg_result* result)
{
    PGconn* connection = m_session.postgresHandle();
    const QSqlError error(
        QLatin1String(action), QString::fromUtf8(postgresClient().errorMessage(connection)),
        QSqlError::StatementError,
        QString::fromLatin1(postgresClient().resultErrorField(result, PG_DIAG_SQLSTATE)));
    postgresClient().clear(result);
    m_session.fail(error);
}

void DataSession::Staging::drop()
{
    m_insert.reset();
    Statement(m_session, QStringLiteral("drop table ") + std::exchange(m_table, {})).ejecutar();
}

TransactionGuard::TransactionGuard(DataSession& session)
    : m_session(session)
{
    m_session.beginTransaction();
    if (m_session.dialect() == DataSession::Dialect::PostgreSQL)
        DataSession::Statement(m_session, QStringLiteral("set local statement_timeout = 0"))
            .ejecutar();
}

TransactionGuard::~TransactionGuard()
{
    if (!m_done)
        m_session.rollback();
}

void TransactionGuard::commit()
{
    m_session.commit();
    m_done = true;
}
