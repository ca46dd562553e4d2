#include "data/HistoryStore.h"

#include "data/DatabaseFile.h"

#include <QDateTime>
#include <QLocale>
#include <QSysInfo>

#include <pwd.h>
#include <unistd.h>

namespace {

const QString Table = QStringLiteral("ROW_HISTORY");

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
    entry.time = QDateTime::currentDateTimeUtc().toString(Qt::ISODate);
    entry.user = m_author.user;
    entry.host = m_author.host;
    entry.frontEnd = m_author.frontEnd;
    entry.interno = interno;
    entry.action = action;
    return entry;
}

void HistoryStore::insert(const HistoryEntry& e)
{
    m_work.Sql(QStringLiteral("insert into ROW_HISTORY (TIME, USERNAME, HOST, FRONTEND, INTNRO, "
                              "ARTORD, ACTION, FIELD, OLDVALUE, NEWVALUE, DETAIL) values (?, ?, "
                              "?, ?, ?, ?, ?, ?, ?, ?, ?)"),
               {e.time, e.user, e.host, e.frontEnd, e.interno,
                e.line ? QVariant(*e.line) : QVariant(), e.action, stored(e.field),
                stored(e.oldValue), stored(e.newValue), stored(e.detail)});
    m_work.ejecutar();
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
        if (entry.oldValue == entry.newValue && entry.oldValue.isNull() == entry.newValue.isNull())
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
    RecordSet rs;
    QList<HistoryEntry> result;
    if (!m_work.CrearRs(rs))
        return result;
    for (qsizetype r = 0; r < rs.RecordCount(); ++r) {
        const QVector<QVariant>& v = rs.row(r);
        result.append(
            {historyText(v.at(0)), historyText(v.at(1)), historyText(v.at(2)), historyText(v.at(3)),
             historyText(v.at(4)),
             v.at(5).isNull() ? std::nullopt : std::optional<qint64>(v.at(5).toLongLong()),
             historyText(v.at(6)), historyText(v.at(7)), historyText(v.at(8)), historyText(v.at(9)),
             historyText(v.at(10)), v.at(11).toInt() != 0});
    }
    return result;
}
