// SPDX-License-Identifier: Apache-2.0
#include "data/HistoryStore.h"

#include "data/DatabaseFile.h"

#include <QDateTime>
#include <QLocale>
#include <QSysInfo>

#include <functional>

#include <pwd.h>
#include <unistd.h>

namespace {

const QString Table = QStringLiteral("ROW_HISTORY");
const QString JournalTable = QStringLiteral("CATALOG_JOURNAL");

/** A column's value as the history keeps it: NULL as null, numbers in their shortest form. */
QString historyText(const QVariant& value)
{
    if (value.isNull())
        return {};
    if (value.typeId() == QMetaType::Double)
        return QString::number(value.toDouble(), 'g', QLocale::FloatingPointShortest);
    const QString text = value.toString();
    return text.isNull() ? QStringLiteral("") : text;
}

/** Whether two values as the history keeps them are the same (NULL differs from ""). */
bool same(const QString& a, const QString& b)
{
    return a == b && a.isNull() == b.isNull();
}

QVariant stored(const QString& text)
{
    return text.isNull() ? QVariant() : QVariant(text);
}

QString loginName()
{
    if (const passwd* entry = getpwuid(geteuid()))
        return QString::fromLocal8Bit(entry->pw_name);
    return qEnvironmentVariable("USER");
}

/** The current UTC time as entries hold it. */
QString now()
{
    return QDateTime::currentDateTimeUtc().toString(Qt::ISODate);
}

/** The entries the statement set on the session reads, each row made one by `entry`. */
QList<HistoryEntry> readEntries(DataSession& work,
                                const std::function<HistoryEntry(const QVector<QVariant>&)>& entry)
{
    RecordSet rs;
    QList<HistoryEntry> result;
    if (work.CrearRs(rs)) {
        for (qsizetype r = 0; r < rs.RecordCount(); ++r)
            result.append(entry(rs.row(r)));
    }
    return result;
}

} // namespace

HistoryAuthor HistoryAuthor::current(const QString& frontEnd)
{
    return {loginName(), QSysInfo::machineHostName(), frontEnd};
}

HistoryStore::HistoryStore(DataSession& work, HistoryAuthor author)
    : m_work(work)
    , m_author(std::move(author))
{}

QStringList HistoryStore::schema()
{
    return {QStringLiteral("create table ROW_HISTORY (ID integer primary key, TIME text not null, "
                           "USERNAME text not null, HOST text not null, FRONTEND text not null, "
                           "INTNRO text not null, ARTORD integer, ACTION text not null, FIELD "
                           "text, OLDVALUE text, NEWVALUE text, DETAIL text, DELETED integer not "
                           "null default 0)"),
            QStringLiteral("create index ROW_HISTORY_INTNRO on ROW_HISTORY (INTNRO, ARTORD)")};
}

void HistoryStore::createWhenMissing(DataSession& work)
{
    DatabaseFile::createWhenMissing(work, Table, schema());
}

HistoryEntry HistoryStore::stamped(const QString& interno, const QString& action) const
{
    HistoryEntry entry;
    entry.time = now();
    entry.user = m_author.user;
    entry.host = m_author.host;
    entry.frontEnd = m_author.frontEnd;
    entry.interno = interno;
    entry.action = action;
    return entry;
}

void HistoryStore::insert(const HistoryEntry& e)
{
    if (!m_insert)
        m_insert = std::make_unique<DataSession::Statement>(
            m_work, QStringLiteral("insert into ROW_HISTORY (TIME, USERNAME, HOST, FRONTEND, "
                                   "INTNRO, ARTORD, ACTION, FIELD, OLDVALUE, NEWVALUE, DETAIL) "
                                   "values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    m_insert->ejecutar({e.time, e.user, e.host, e.frontEnd, e.interno,
                        e.line ? QVariant(*e.line) : QVariant(), e.action, stored(e.field),
                        stored(e.oldValue), stored(e.newValue), stored(e.detail)});
}

void HistoryStore::recordEdit(const Article& before, const Article& after)
{
    const QVariantList was = before.values();
    const QVariantList is = after.values();
    const QStringList& columns = ArticleStore::columns();
    HistoryEntry entry = stamped(after.interno, QStringLiteral("edit"));
    entry.line = after.line;
    for (qsizetype i = 0; i < columns.size(); ++i) {
        entry.oldValue = historyText(was.at(i));
        entry.newValue = historyText(is.at(i));
        if (same(entry.oldValue, entry.newValue))
            continue;
        entry.field = columns.at(i);
        insert(entry);
    }
}

void HistoryStore::recordRun(const QString& interno, const QString& action, const QString& detail)
{
    HistoryEntry entry = stamped(interno, action);
    entry.detail = detail;
    insert(entry);
}

void HistoryStore::markDeleted(const QString& interno)
{
    m_work.Sql(QStringLiteral("update ROW_HISTORY set DELETED = 1 where INTNRO = ?"), {interno});
    m_work.ejecutar();
}

QList<HistoryEntry> HistoryStore::entries(const QString& interno, std::optional<qint64> line)
{
    QString statement = QStringLiteral("select TIME, USERNAME, HOST, FRONTEND, INTNRO, ARTORD, "
                                       "ACTION, FIELD, OLDVALUE, NEWVALUE, DETAIL, DELETED from "
                                       "ROW_HISTORY where INTNRO = ?");
    QVariantList values{interno};
    if (line) {
        statement += QStringLiteral(" and ARTORD = ?");
        values << *line;
    }
    m_work.Sql(statement + QStringLiteral(" order by ID"), values);
    return readEntries(m_work, [](const QVector<QVariant>& v) {
        return HistoryEntry{historyText(v.at(0)),
                            historyText(v.at(1)),
                            historyText(v.at(2)),
                            historyText(v.at(3)),
                            historyText(v.at(4)),
                            v.at(5).isNull() ? std::nullopt
                                             : std::optional<qint64>(v.at(5).toLongLong()),
                            historyText(v.at(6)),
                            historyText(v.at(7)),
                            historyText(v.at(8)),
                            historyText(v.at(9)),
                            historyText(v.at(10)),
                            v.at(11).toInt() != 0};
    });
}

CatalogJournal::CatalogJournal(DataSession& work)
    : m_work(work)
{}

QStringList CatalogJournal::schema()
{
    return {QStringLiteral("create table CATALOG_JOURNAL (ID integer primary key, TIME text not "
                           "null, USERNAME text not null, HOST text not null, FRONTEND text not "
                           "null, INTNRO text not null, CATALOG text not null, ARTICLE text not "
                           "null, FIELD text not null, OLDVALUE text, NEWVALUE text, STATE text "
                           "not null)"),
            QStringLiteral("create index CATALOG_JOURNAL_ARTICLE on CATALOG_JOURNAL (CATALOG, "
                           "ARTICLE)"),
            QStringLiteral("create index CATALOG_JOURNAL_STATE on CATALOG_JOURNAL (STATE)")};
}

void CatalogJournal::createWhenMissing(DataSession& work)
{
    DatabaseFile::createWhenMissing(work, JournalTable, schema());
}

void CatalogJournal::writePending(const HistoryAuthor& author, const QString& interno,
                                  const QString& catalog, const QList<CatalogChange>& changes)
{
    const QString time = now();
    TransactionGuard transaction(m_work);
    DataSession::Statement insert(
        m_work, QStringLiteral("insert into CATALOG_JOURNAL (TIME, USERNAME, HOST, FRONTEND, "
                               "INTNRO, CATALOG, ARTICLE, FIELD, OLDVALUE, NEWVALUE, STATE) "
                               "values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 'pending')"));
    for (const CatalogChange& change : changes) {
        const QString was = historyText(change.oldValue);
        const QString is = historyText(change.newValue);
        if (!same(was, is))
            insert.ejecutar({time, author.user, author.host, author.frontEnd, interno, catalog,
                             change.article, change.field, stored(was), stored(is)});
    }
    transaction.commit();
}

QStringList CatalogJournal::pendingInternos()
{
    m_work.Sql(
        QStringLiteral("select distinct INTNRO from CATALOG_JOURNAL where STATE = 'pending'"));
    RecordSet rs;
    QStringList internos;
    if (m_work.CrearRs(rs)) {
        for (qsizetype r = 0; r < rs.RecordCount(); ++r)
            internos << rs.row(r).at(0).toString();
    }
    return internos;
}

void CatalogJournal::markDone(const QString& interno)
{
    m_work.Sql(QStringLiteral("update CATALOG_JOURNAL set STATE = 'done' where INTNRO = ? and "
                              "STATE = 'pending'"),
               {interno});
    m_work.ejecutar();
}

void CatalogJournal::abandon(const QString& interno)
{
    m_work.Sql(QStringLiteral("delete from CATALOG_JOURNAL where INTNRO = ? and STATE = 'pending'"),
               {interno});
    m_work.ejecutar();
}

QList<HistoryEntry> CatalogJournal::entries(const QString& catalog, const QString& article)
{
    m_work.Sql(QStringLiteral("select TIME, USERNAME, HOST, FRONTEND, INTNRO, FIELD, OLDVALUE, "
                              "NEWVALUE, STATE from CATALOG_JOURNAL where CATALOG = ? and "
                              "ARTICLE = ? order by ID"),
               {catalog, article});
    return readEntries(m_work, [](const QVector<QVariant>& v) {
        const bool pending = v.at(8).toString() == QLatin1String("pending");
        return HistoryEntry{historyText(v.at(0)),
                            historyText(v.at(1)),
                            historyText(v.at(2)),
                            historyText(v.at(3)),
                            historyText(v.at(4)),
                            std::nullopt,
                            QStringLiteral("transfer"),
                            historyText(v.at(5)),
                            historyText(v.at(6)),
                            historyText(v.at(7)),
                            pending ? QStringLiteral("pendiente") : QString(),
                            false};
    });
}
