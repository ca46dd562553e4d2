// SPDX-License-Identifier: Apache-2.0
#include "data/HistoryStore.h"

#include "data/DatabaseFile.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonValue>
#include <QLocale>
#include <QSysInfo>

#include <algorithm>
#include <cmath>
#include <functional>
#include <iterator>

#include <pwd.h>
#include <unistd.h>

namespace {

const QString Table = QStringLiteral("ROW_HISTORY");
const QString JournalTable = QStringLiteral("CATALOG_JOURNAL");

/** The columns of a run settled later: STATE "pending" until then, the run's witness. */
const QList<std::pair<QString, QString>> RunColumns = {
    {QStringLiteral("STATE"), QStringLiteral("text")},
    {QStringLiteral("WITNESS"), QStringLiteral("text")}};
/** The columns that tie a journal entry to its run: the action, the history entry, the change
 *  to the whole catalog entry. */
const QList<std::pair<QString, QString>> JournalRunColumns = {
    {QStringLiteral("ACTION"), QStringLiteral("text not null default 'transfer'")},
    {QStringLiteral("RUN"), QStringLiteral("integer")},
    {QStringLiteral("CHANGE"), QStringLiteral("text not null default 'update'")}};

/** The words CHANGE holds for what a run did to a catalog entry, in the order of the enum. */
const QStringList EntryChanges = {QStringLiteral("update"), QStringLiteral("insert"),
                                  QStringLiteral("remove")};

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

/** The entries the statement set on the session reads, each row's appended by `entries`. */
QList<HistoryEntry>
readEntries(DataSession& work,
            const std::function<void(const QVector<QVariant>&, QList<HistoryEntry>&)>& entries)
{
    RecordSet rs;
    QList<HistoryEntry> result;
    if (work.CrearRs(rs)) {
        for (qsizetype r = 0; r < rs.RecordCount(); ++r)
            entries(rs.row(r), result);
    }
    return result;
}

/** The texts of a JSON array written by appendJson, null ones null. */
QStringList jsonTexts(const QVariant& array)
{
    QStringList texts;
    for (const QJsonValue value : QJsonDocument::fromJson(array.toString().toUtf8()).array()) {
        const QString text = value.toString();
        texts << (value.isNull() ? QString() : text.isNull() ? QStringLiteral("") : text);
    }
    return texts;
}

/** A catalog entry's field as the journal holds it, with its values before and after. */
struct JournaledField {
    QString field;
    QString oldValue;
    QString newValue;
};

/**
 * The fields of a journal row from `at` on: whether it holds an entry's fields as arrays (its
 * STATE is "run"), then FIELD, OLDVALUE and NEWVALUE: the one field of a row written field by
 * field, or those of an entry's row.
 */
QList<JournaledField> journaledFields(const QVector<QVariant>& row, qsizetype at)
{
    if (row.at(at).toInt() == 0)
        return {{historyText(row.at(at + 1)), historyText(row.at(at + 2)),
                 historyText(row.at(at + 3))}};
    const QStringList fields = jsonTexts(row.at(at + 1));
    const QStringList was = jsonTexts(row.at(at + 2));
    const QStringList is = jsonTexts(row.at(at + 3));
    QList<JournaledField> result;
    result.reserve(fields.size());
    for (qsizetype i = 0; i < fields.size(); ++i)
        result.append({fields.at(i), was.value(i), is.value(i)});
    return result;
}

/**
 * A number's shortest text, as QString::number writes it with the shortest precision. Amounts
 * and quantities of at most two decimals below 100,000, most of what the catalog holds, are
 * written here directly: when the cents' decimal is read back as the number itself, no shorter
 * decimal is (two decimals of at most fifteen digits never read as the same number), so it is
 * the shortest text, and in that range it has no exponent.
 */
QString numberText(double number)
{
    if (std::fabs(number) < 100000.0) {
        const double cents = std::nearbyint(number * 100.0);
        if (cents / 100.0 == number) {
            // Written from the last digit back.
            char digits[16];
            char* first = std::end(digits);
            auto rest = static_cast<long long>(std::fabs(cents));
            if (const int fraction = int(rest % 100); fraction != 0) {
                if (fraction % 10 != 0)
                    *--first = char('0' + fraction % 10);
                *--first = char('0' + fraction / 10);
                *--first = '.';
            }
            rest /= 100;
            do {
                *--first = char('0' + rest % 10);
                rest /= 10;
            } while (rest != 0);
            if (cents < 0)
                *--first = '-';
            return QString::fromLatin1(first, std::end(digits) - first);
        }
    }
    return QString::number(number, 'g', QLocale::FloatingPointShortest);
}

} // namespace

void appendJson(QString& array, const QString& text)
{
    const QChar separator = array.isEmpty() ? QLatin1Char('[') : QLatin1Char(',');
    if (text.isNull()) {
        array += separator;
        array += QLatin1String("null");
        return;
    }
    // Written in place, in the room of the longest form: every character escaped as \u001f.
    const qsizetype start = array.size();
    array.resize(start + 3 + 6 * text.size());
    QChar* out = array.data() + start;
    *out++ = separator;
    *out++ = QLatin1Char('"');
    for (const QChar c : text) {
        if (c == QLatin1Char('"') || c == QLatin1Char('\\')) {
            *out++ = QLatin1Char('\\');
            *out++ = c;
        } else if (c.unicode() < 0x20) {
            static constexpr char digits[] = "0123456789abcdef";
            for (const char part : {'\\', 'u', '0', '0'})
                *out++ = QLatin1Char(part);
            *out++ = QLatin1Char(digits[c.unicode() >> 4]);
            *out++ = QLatin1Char(digits[c.unicode() & 0xf]);
        } else {
            *out++ = c;
        }
    }
    *out++ = QLatin1Char('"');
    array.truncate(out - array.constData());
}

QString historyText(const QVariant& value)
{
    if (value.isNull())
        return {};
    if (value.typeId() == QMetaType::Double)
        return numberText(*static_cast<const double*>(value.constData()));
    const QString text = value.toString();
    return text.isNull() ? QStringLiteral("") : text;
}

bool sameHistoryText(const QVariant& a, const QVariant& b)
{
    // Only a null value is held as a null text. Two texts or two numbers are told apart
    // without writing them: a null text is held as the empty one, and two numbers other than
    // NaN have the same shortest text only when they are equal (zero is "0" either side of
    // its sign).
    if (a.isNull() || b.isNull())
        return a.isNull() && b.isNull();
    if (a.typeId() == b.typeId()) {
        if (a.typeId() == QMetaType::QString)
            return *static_cast<const QString*>(a.constData()) ==
                   *static_cast<const QString*>(b.constData());
        if (a.typeId() == QMetaType::Double) {
            const double x = *static_cast<const double*>(a.constData());
            const double y = *static_cast<const double*>(b.constData());
            if (!std::isnan(x) && !std::isnan(y))
                return x == y;
        }
    }
    return same(historyText(a), historyText(b));
}

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
                           "null default 0, STATE text, WITNESS text)"),
            QStringLiteral("create index ROW_HISTORY_INTNRO on ROW_HISTORY (INTNRO, ARTORD)")};
}

void HistoryStore::createWhenMissing(DataSession& work)
{
    DatabaseFile::createWhenMissing(work, Table, schema());
    DatabaseFile::addColumnsWhenMissing(work, Table, RunColumns);
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

void HistoryStore::insert(const HistoryEntry& e, const std::optional<QString>& pendingWitness)
{
    if (!m_insert)
        m_insert = std::make_unique<DataSession::Statement>(
            m_work, QStringLiteral("insert into ROW_HISTORY (TIME, USERNAME, HOST, FRONTEND, "
                                   "INTNRO, ARTORD, ACTION, FIELD, OLDVALUE, NEWVALUE, DETAIL, "
                                   "STATE, WITNESS) values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
                                   "?)"));
    m_insert->ejecutar({e.time, e.user, e.host, e.frontEnd, e.interno,
                        e.line ? QVariant(*e.line) : QVariant(), e.action, stored(e.field),
                        stored(e.oldValue), stored(e.newValue), stored(e.detail),
                        pendingWitness ? QVariant(QStringLiteral("pending")) : QVariant(),
                        pendingWitness ? QVariant(*pendingWitness) : QVariant()});
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

qint64 HistoryStore::recordPendingRun(const QString& interno, const QString& action,
                                      const QString& detail, const QString& witness)
{
    HistoryEntry entry = stamped(interno, action);
    entry.detail = detail;
    insert(entry, witness);
    // Inside the caller's transaction no other writer adds an entry meanwhile.
    m_work.Sql(QStringLiteral("select max(ID) from ROW_HISTORY"));
    RecordSet rs;
    m_work.CrearRs(rs);
    return rs.row(0).at(0).toLongLong();
}

QList<RecordedRun> HistoryStore::pendingRuns()
{
    m_work.Sql(QStringLiteral("select ID, INTNRO, ACTION, WITNESS from ROW_HISTORY where STATE = "
                              "'pending' order by ID"));
    RecordSet rs;
    QList<RecordedRun> runs;
    if (m_work.CrearRs(rs)) {
        for (qsizetype r = 0; r < rs.RecordCount(); ++r) {
            const QVector<QVariant>& v = rs.row(r);
            runs.append({v.at(0).toLongLong(), v.at(1).toString(), v.at(2).toString(),
                         historyText(v.at(3))});
        }
    }
    return runs;
}

void HistoryStore::settleRun(qint64 id, bool tookPlace)
{
    m_work.Sql(tookPlace ? QStringLiteral("update ROW_HISTORY set STATE = NULL where ID = ?")
                         : QStringLiteral("delete from ROW_HISTORY where ID = ?"),
               {id});
    m_work.ejecutar();
}

std::optional<RecordedRun> HistoryStore::lastRun(const QString& interno, const QStringList& actions)
{
    m_work.Sql(QStringLiteral("select ID, ACTION, WITNESS from ROW_HISTORY where INTNRO = ? and "
                              "STATE is null and ACTION in (%1) order by ID desc limit 1")
                   .arg(DataSession::placeholders(actions.size())),
               QVariantList{interno} + QVariantList(actions.cbegin(), actions.cend()));
    RecordSet rs;
    if (!m_work.CrearRs(rs))
        return std::nullopt;
    const QVector<QVariant>& v = rs.row(0);
    return RecordedRun{v.at(0).toLongLong(), interno, v.at(1).toString(), historyText(v.at(2))};
}

void HistoryStore::markDeleted(const QString& interno)
{
    m_work.Sql(QStringLiteral("update ROW_HISTORY set DELETED = 1 where INTNRO = ?"), {interno});
    m_work.ejecutar();
}

QList<HistoryEntry> HistoryStore::entries(const QString& interno, std::optional<qint64> line)
{
    QString statement = QStringLiteral("select TIME, USERNAME, HOST, FRONTEND, INTNRO, ARTORD, "
                                       "ACTION, FIELD, OLDVALUE, NEWVALUE, DETAIL, DELETED, STATE "
                                       "from ROW_HISTORY where INTNRO = ?");
    QVariantList values{interno};
    if (line) {
        statement += QStringLiteral(" and ARTORD = ?");
        values << *line;
    }
    m_work.Sql(statement + QStringLiteral(" order by ID"), values);
    return readEntries(m_work, [](const QVector<QVariant>& v, QList<HistoryEntry>& entries) {
        entries.append(HistoryEntry{
            historyText(v.at(0)), historyText(v.at(1)), historyText(v.at(2)), historyText(v.at(3)),
            historyText(v.at(4)),
            v.at(5).isNull() ? std::nullopt : std::optional<qint64>(v.at(5).toLongLong()),
            historyText(v.at(6)), historyText(v.at(7)), historyText(v.at(8)), historyText(v.at(9)),
            v.at(12).isNull() ? historyText(v.at(10))
                              : historyText(v.at(10)) + QStringLiteral(" (pendiente)"),
            v.at(11).toInt() != 0});
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
                           "not null, ACTION text not null default 'transfer', RUN integer, "
                           "CHANGE text not null default 'update')"),
            // Settling and the revert read a run's rows, `catalog history` an article's.
            QStringLiteral("create index CATALOG_JOURNAL_RUN on CATALOG_JOURNAL (RUN)"),
            QStringLiteral("create index CATALOG_JOURNAL_ARTICLE on CATALOG_JOURNAL (CATALOG, "
                           "ARTICLE)")};
}

void CatalogJournal::createWhenMissing(DataSession& work)
{
    DatabaseFile::createWhenMissing(work, JournalTable, schema());
    DatabaseFile::addColumnsWhenMissing(work, JournalTable, JournalRunColumns);
    // Earlier versions also indexed the state, which nothing reads by.
    work.Sql(QStringLiteral("drop index if exists CATALOG_JOURNAL_STATE"));
    work.ejecutar();
}

void CatalogJournal::writePending(const HistoryAuthor& author, const RecordedRun& run,
                                  const QString& catalog, const QList<CatalogEntryChange>& changes)
{
    const QString time = now();
    DataSession::Statement insert(
        m_work, QStringLiteral("insert into CATALOG_JOURNAL (TIME, USERNAME, HOST, FRONTEND, "
                               "INTNRO, CATALOG, ARTICLE, FIELD, OLDVALUE, NEWVALUE, STATE, "
                               "ACTION, RUN, CHANGE) values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
                               "'run', ?, ?, ?)"));
    // Each entry's arrays are written anew, as the statement keeps the last ones it bound, in
    // the room the last ones had.
    QString fields;
    QString was;
    QString is;
    const QVariant nothing;
    for (const CatalogEntryChange& change : changes) {
        for (QString* array : {&fields, &was, &is}) {
            const qsizetype room = array->capacity();
            array->clear();
            array->reserve(room);
        }
        for (qsizetype i = 0; i < change.fields.size(); ++i) {
            // A new entry held nothing before.
            const QVariant& before = i < change.before.size() ? change.before.at(i) : nothing;
            const QVariant& after = i < change.after.size() ? change.after.at(i) : nothing;
            if (sameHistoryText(before, after))
                continue;
            appendJson(fields, change.fields.at(i));
            appendJson(was, historyText(before));
            appendJson(is, historyText(after));
        }
        if (fields.isEmpty())
            continue;
        for (QString* array : {&fields, &was, &is})
            *array += QLatin1Char(']');
        insert.ejecutar({time, author.user, author.host, author.frontEnd, run.interno, catalog,
                         change.article, fields, was, is, run.action, run.id,
                         EntryChanges.at(int(change.entry))});
    }
}

void CatalogJournal::settle(qint64 run, bool tookPlace)
{
    // Only rows of earlier versions hold a state of their own.
    m_work.Sql(tookPlace ? QStringLiteral("update CATALOG_JOURNAL set STATE = 'done' where RUN = ? "
                                          "and STATE = 'pending'")
                         : QStringLiteral("delete from CATALOG_JOURNAL where RUN = ?"),
               {run});
    m_work.ejecutar();
}

JournalRun CatalogJournal::changes(qint64 run)
{
    m_work.Sql(QStringLiteral("select CATALOG, ARTICLE, CHANGE, STATE = 'run', FIELD, OLDVALUE, "
                              "NEWVALUE from CATALOG_JOURNAL where RUN = ? order by ID"),
               {run});
    RecordSet rs;
    JournalRun result;
    if (m_work.CrearRs(rs)) {
        for (qsizetype r = 0; r < rs.RecordCount(); ++r) {
            const QVector<QVariant>& v = rs.row(r);
            result.catalog = v.at(0).toString();
            const auto entry = CatalogChange::Entry(
                std::max<qsizetype>(0, EntryChanges.indexOf(v.at(2).toString())));
            for (const JournaledField& f : journaledFields(v, 3))
                result.changes.append(
                    {v.at(1).toString(), f.field, stored(f.oldValue), stored(f.newValue), entry});
        }
    }
    return result;
}

QList<HistoryEntry> CatalogJournal::entries(const QString& catalog, const QString& article)
{
    m_work.Sql(
        QStringLiteral("select j.TIME, j.USERNAME, j.HOST, j.FRONTEND, j.INTNRO, j.STATE = "
                       "'pending' or h.STATE = 'pending', j.ACTION, j.STATE = 'run', j.FIELD, "
                       "j.OLDVALUE, j.NEWVALUE from CATALOG_JOURNAL j left join "
                       "ROW_HISTORY h on h.ID = j.RUN where j.CATALOG = ? and j.ARTICLE = "
                       "? order by j.ID"),
        {catalog, article});
    return readEntries(m_work, [](const QVector<QVariant>& v, QList<HistoryEntry>& entries) {
        const bool pending = v.at(5).toInt() == 1;
        HistoryEntry entry{historyText(v.at(0)),
                           historyText(v.at(1)),
                           historyText(v.at(2)),
                           historyText(v.at(3)),
                           historyText(v.at(4)),
                           std::nullopt,
                           historyText(v.at(6)),
                           {},
                           {},
                           {},
                           pending ? QStringLiteral("pendiente") : QString(),
                           false};
        for (const JournaledField& f : journaledFields(v, 7)) {
            entry.field = f.field;
            entry.oldValue = f.oldValue;
            entry.newValue = f.newValue;
            entries.append(entry);
        }
    });
}
