#include "components/DataSession.h"

#include "components/AppError.h"

#include <QAtomicInt>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlRecord>

#include <algorithm>
#include <optional>

namespace {

QAtomicInt connectionCounter;

/**
 * The operator's sentence for the engine failures met in daily work (another user holding the
 * database, a full disk, a read-only file, a lost connection), or empty text for the rest.
 */
QString usualFailure(const QSqlError& error, DataSession::Dialect dialect)
{
    const QString busy = QStringLiteral(
        "La base de datos está ocupada por otro usuario o programa. Espere unos momentos y "
        "vuelva a intentarlo.");
    const QString full = QStringLiteral(
        "No queda espacio en el disco de la base de datos. Libere espacio y vuelva a intentarlo.");
    const QString readOnly = QStringLiteral(
        "La base de datos es de solo lectura: no se pueden guardar cambios. Revise los permisos.");
    const QString lost = QStringLiteral(
        "Se perdió la conexión con la base de datos. Revise la red y el servidor y vuelva a "
        "intentarlo.");
    const QString code = error.nativeErrorCode();
    if (dialect == DataSession::Dialect::SQLite) {
        switch (code.toInt() & 0xFF) { // primary result codes
        case 5:                        // SQLITE_BUSY
        case 6:                        // SQLITE_LOCKED
            return busy;
        case 8: // SQLITE_READONLY
            return readOnly;
        case 13: // SQLITE_FULL
            return full;
        default:
            return {};
        }
    }
    // PostgreSQL's SQLSTATE: class 08 connection exceptions, 57P0x server shut down; a failure
    // without one never reached the server.
    if (code.isEmpty() || code.startsWith(QLatin1String("08")) ||
        code.startsWith(QLatin1String("57P0")))
        return lost;
    if (code == QLatin1String("55P03") || code == QLatin1String("40P01") ||
        code == QLatin1String("40001"))
        return busy;
    if (code == QLatin1String("53100"))
        return full;
    if (code == QLatin1String("25006"))
        return readOnly;
    return {};
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
    const QString driver = m_settings.driver.toUpper();
    if (driver != QLatin1String("QSQLITE") && driver != QLatin1String("QPSQL"))
        throw AppError(-1,
                       QStringLiteral("Controlador de base de datos desconocido \"%1\" para %2.")
                           .arg(driver, m_entity),
                       m_entity);
    m_dialect = driver == QLatin1String("QPSQL") ? Dialect::PostgreSQL : Dialect::SQLite;
    QSqlDatabase db = QSqlDatabase::addDatabase(driver, m_connectionName);
    if (!db.isValid())
        throw AppError(-1,
                       QStringLiteral("No está instalado el controlador %1 de base de datos (%2).")
                           .arg(driver, m_entity),
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
        throw AppError(db.lastError().nativeErrorCode().toLong(),
                       QStringLiteral("No se pudo abrir la base de datos %1 (%2): %3")
                           .arg(m_entity, m_settings.database, db.lastError().text()),
                       m_entity);
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

void DataSession::fail(const QSqlError& error) const
{
    QString text = error.databaseText();
    if (text.isEmpty())
        text = error.text();
    if (const QString sentence = usualFailure(error, m_dialect); !sentence.isEmpty())
        text = sentence + QStringLiteral("\nDetalle: ") + text;
    bool ok = false;
    const long number = error.nativeErrorCode().toLong(&ok);
    throw AppError(ok ? number : -1, text, m_entity);
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
    m_query.setForwardOnly(true);
    // A statement without values runs as it stands: engines do not prepare every kind of
    // statement (PostgreSQL prepares no create or drop).
    if (m_prepared && !m_query.prepare(session.adapt(text)))
        session.fail(m_query.lastError());
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
    run(values);
    const qint64 affected = m_query.numRowsAffected();
    m_query.finish();
    return affected;
}

bool DataSession::Statement::CrearRs(RecordSet& rs, const QVariantList& values)
{
    run(values);
    const QSqlRecord record = m_query.record();
    QStringList columns;
    for (int i = 0; i < record.count(); ++i)
        columns << record.fieldName(i);
    QVector<QVector<QVariant>> rows;
    readRows([&rows](const QVector<QVariant>& row) { rows << row; });
    rs = RecordSet(std::move(columns), std::move(rows));
    return rs.RecordCount() > 0;
}

void DataSession::Statement::forEachRow(const QVariantList& values,
                                        const std::function<void(const QVector<QVariant>&)>& row)
{
    run(values);
    readRows(row);
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

TransactionGuard::TransactionGuard(DataSession& session)
    : m_session(session)
{
    m_session.beginTransaction();
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
