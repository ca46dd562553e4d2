// SPDX-License-Identifier: Apache-2.0
#include "data/ArticleStore.h"

#include "components/AppError.h"

#include <QHash>

#include <algorithm>
#include <array>

namespace {

QString selectRows(const QString& condition)
{
    static const QString columns = ArticleStore::columns().join(QStringLiteral(", "));
    return QStringLiteral("select ") + columns + QStringLiteral(" from ART where INTNRO = ?") +
           condition;
}

QString text(const QVariant& value)
{
    if (value.isNull())
        return {};
    const QString result = value.toString();
    return result.isNull() ? QStringLiteral("") : result;
}

std::optional<double> number(const QVariant& value)
{
    return value.isNull() ? std::nullopt : std::optional<double>(value.toDouble());
}

QVariant value(const QString& text)
{
    return text.isNull() ? QVariant() : QVariant(text);
}

QVariant value(const std::optional<double>& number)
{
    return number ? QVariant(*number) : QVariant();
}

/** A row read in the order of ArticleStore::columns(). */
Article article(const QVector<QVariant>& v)
{
    return {text(v.at(0)),   v.at(1).toLongLong(), text(v.at(2)),   text(v.at(3)),
            number(v.at(4)), number(v.at(5)),      number(v.at(6)), text(v.at(7)),
            text(v.at(8)),   text(v.at(9)),        text(v.at(10)),  text(v.at(11)),
            text(v.at(12)),  number(v.at(13)),     text(v.at(14)),  number(v.at(15)),
            text(v.at(16)),  text(v.at(17)),       text(v.at(18)),  text(v.at(19))};
}

/** The text of a statement with its values in place of its markers, as SQL literals. */
QString withValues(const QString& text, const QVariantList& values)
{
    QString statement;
    qsizetype next = 0;
    for (const QChar c : text) {
        if (c != QLatin1Char('?') || next >= values.size()) {
            statement += c;
            continue;
        }
        const QVariant& value = values.at(next++);
        if (value.isNull())
            statement += QStringLiteral("NULL");
        else if (value.typeId() == QMetaType::QString)
            statement += QLatin1Char('\'') +
                         value.toString().replace(QLatin1Char('\''), QStringLiteral("''")) +
                         QLatin1Char('\'');
        else
            statement += value.toString();
    }
    return statement;
}

/** The check code of each outcome, in the order of CheckOutcome. */
const std::array<QString, 4> CheckCodes = {QStringLiteral("OK"), QStringLiteral("POS"),
                                           QStringLiteral("SUF"), QStringLiteral("ERR")};

/** The text as a set statement compares it: NULL as the empty text. */
QString orEmpty(const QString& text)
{
    return text.isNull() ? QStringLiteral("") : text;
}

/**
 * The update of a row's check code for each outcome, in the order of CheckOutcome: a code other
 * than OK also marks the row wrong.
 */
const std::array<QString, 4> CheckUpdates = [] {
    std::array<QString, 4> updates;
    for (std::size_t i = 0; i < updates.size(); ++i)
        updates[i] =
            QStringLiteral("update ART set PRCCRC = '%1'%2 where INTNRO = ?  and ARTORD = ?")
                .arg(CheckCodes[i], i == std::size_t(CheckOutcome::Ok)
                                        ? QString()
                                        : QStringLiteral(", PRCEST = 'E'"));
    return updates;
}();

} // namespace

QVariantList Article::values() const
{
    return {value(interno),
            line,
            value(number),
            value(description),
            value(quantity),
            value(unitPrice),
            value(total),
            value(origin),
            value(declaredUnit),
            value(position),
            value(lapi),
            value(suffixes),
            value(statisticalUnit),
            value(statisticalQuantity),
            value(specificDutyUnit),
            value(specificDutyQuantity),
            value(goodsCondition),
            value(country),
            value(state),
            value(check)};
}

const QStringList& ArticleStore::columns()
{
    static const QStringList columns = {
        QStringLiteral("INTNRO"), QStringLiteral("ARTORD"), QStringLiteral("ARTNRO"),
        QStringLiteral("ARTDSC"), QStringLiteral("ARTCAN"), QStringLiteral("ARTUNI"),
        QStringLiteral("ARTTOT"), QStringLiteral("ARTORG"), QStringLiteral("PRCDUN"),
        QStringLiteral("PRCNCM"), QStringLiteral("PRCLAP"), QStringLiteral("PRCSUF"),
        QStringLiteral("PRCEUN"), QStringLiteral("PRCECA"), QStringLiteral("PRCSUN"),
        QStringLiteral("PRCSCA"), QStringLiteral("PRCESM"), QStringLiteral("PRCORI"),
        QStringLiteral("PRCEST"), QStringLiteral("PRCCRC")};
    return columns;
}

QStringList ArticleStore::schema()
{
    return {QStringLiteral(
                "create table ART (INTNRO text not null, ARTORD integer not null, ARTNRO text, "
                "ARTDSC text, ARTCAN double precision, ARTUNI double precision, ARTTOT double "
                "precision, ARTORG text, PRCDUN text, "
                "PRCNCM text, PRCLAP text, PRCSUF text, PRCEUN text, PRCECA double precision, "
                "PRCSUN text, "
                "PRCSCA double precision, PRCESM text, PRCORI text, PRCEST text, PRCCRC text)"),
            QStringLiteral("create unique index ART_INTNRO_ARTORD on ART (INTNRO, ARTORD)"),
            QStringLiteral("create index ART_INTNRO_ARTNRO on ART (INTNRO, ARTNRO)")};
}

ArticleStore::ArticleStore(DataSession& work)
    : m_work(work)
{}

ArticleStore::~ArticleStore() = default;

DataSession::Statement& ArticleStore::prepared(const QString& text)
{
    std::unique_ptr<DataSession::Statement>& statement = m_prepared[text];
    if (!statement)
        statement = std::make_unique<DataSession::Statement>(m_work, text);
    return *statement;
}

qint64 ArticleStore::update(const QString& text, const QVariantList& values)
{
    m_lastText = text;
    m_lastValues = values;
    return prepared(text).ejecutar(values);
}

QString ArticleStore::lastUpdate() const
{
    return withValues(m_lastText, m_lastValues);
}

QList<Article> ArticleStore::rows(const QString& interno, Selection selection)
{
    QString condition;
    switch (selection) {
    case Selection::All:
        condition = QStringLiteral(" order by ARTORD");
        break;
    case Selection::WithErrors:
        condition = QStringLiteral(" and (PRCEST = '' or PRCEST IS NULL or PRCCRC <> 'OK' or "
                                   "PRCCRC is null) order by PRCEST,PRCCRC,ARTORD");
        break;
    case Selection::Clean:
        condition = QStringLiteral(" and  PRCCRC = 'OK' order by ARTORD");
        break;
    case Selection::ByNumber:
        condition = QStringLiteral(" order by ARTNRO");
        break;
    case Selection::ByDescription:
        condition = QStringLiteral(" order by ARTDSC");
        break;
    }
    // Each row becomes an article as it is read: the rows are held once.
    QList<Article> result;
    DataSession::Statement(m_work, selectRows(condition))
        .forEachRow({interno}, [&result](const QVector<QVariant>& row) { result << article(row); });
    return result;
}

QList<Article> ArticleStore::classifiedRows(const QString& interno)
{
    RecordSet rs;
    m_work.Sql(QStringLiteral("select ARTORD, PRCNCM, PRCSUF from ART where INTNRO = ? and "
                              "PRCEST = 'A' order by ARTORD"),
               {interno});
    m_work.CrearRs(rs);
    QList<Article> result(rs.RecordCount());
    for (qsizetype i = 0; i < rs.RecordCount(); ++i) {
        const QVector<QVariant>& v = rs.row(i);
        result[i].interno = interno;
        result[i].line = v.at(0).toLongLong();
        result[i].position = text(v.at(1));
        result[i].suffixes = text(v.at(2));
    }
    return result;
}

std::optional<Article> ArticleStore::row(const QString& interno, qint64 line)
{
    RecordSet rs;
    m_work.Sql(selectRows(QStringLiteral(" and ARTORD = ?")), {interno, line});
    if (!m_work.CrearRs(rs))
        return std::nullopt;
    return article(rs.row(0));
}

qint64 ArticleStore::countWhere(const QString& interno, const QString& condition)
{
    RecordSet rs;
    m_work.Sql(QStringLiteral("select count(INTNRO) as total from ART where INTNRO = ?") +
                   condition,
               {interno});
    return m_work.CrearRs(rs) ? rs.Fields(QStringLiteral("total")).toLongLong() : 0;
}

qint64 ArticleStore::count(const QString& interno)
{
    return countWhere(interno, {});
}

qint64 ArticleStore::countCorrected(const QString& interno)
{
    return countWhere(interno, QStringLiteral(" and PRCEST = 'M'"));
}

QList<std::pair<QString, qint64>> ArticleCounters::named() const
{
    return {{QStringLiteral("total"), total},
            {QStringLiteral("en_catalogo"), enCatalogo},
            {QStringLiteral("nuevos"), nuevos},
            {QStringLiteral("con_errores"), conErrores},
            {QStringLiteral("err_posicion"), errPosicion},
            {QStringLiteral("err_sufijos"), errSufijos}};
}

ArticleCounters ArticleStore::counters(const QString& interno)
{
    // The six in one pass over the interno's rows.
    RecordSet rs;
    m_work.Sql(
        QStringLiteral("select count(*), count(case when PRCEST = 'A' then 1 end), "
                       "count(case when PRCEST = '' or PRCEST is null then 1 end), "
                       "count(case when PRCCRC <> 'OK' then 1 end), "
                       "count(case when PRCCRC = 'POS' then 1 end), "
                       "count(case when PRCCRC = 'SUF' then 1 end) from ART where INTNRO = ?"),
        {interno});
    m_work.CrearRs(rs);
    const QVector<QVariant>& row = rs.row(0);
    return {row.at(0).toLongLong(), row.at(1).toLongLong(), row.at(2).toLongLong(),
            row.at(3).toLongLong(), row.at(4).toLongLong(), row.at(5).toLongLong()};
}

AmountSummary ArticleStore::amountSummary(const QString& interno, const QStringList& exempt,
                                          double allowance)
{
    // The rows come in line order from the subquery: the sum adds them up as the lines run.
    RecordSet rs;
    QVariantList values(exempt.cbegin(), exempt.cend());
    values << allowance << interno;
    m_work.Sql(QStringLiteral("select total(ARTTOT), count(case when (PRCDUN is null or PRCDUN "
                              "not in (%1)) and abs(coalesce(ARTTOT, 0) - coalesce(ARTCAN, 0) * "
                              "coalesce(ARTUNI, 0)) > ? then 1 end) from (select ARTTOT, ARTCAN, "
                              "ARTUNI, PRCDUN from ART where INTNRO = ? order by ARTORD)")
                   .arg(DataSession::placeholders(exempt.size())),
               values);
    m_work.CrearRs(rs);
    return {rs.row(0).at(0).toDouble(), rs.row(0).at(1).toLongLong()};
}

void ArticleStore::insertRows(const QString& head, qsizetype width, qsizetype count,
                              const std::function<void(qsizetype, QVariantList&)>& row)
{
    const qsizetype perStatement = DataSession::ListChunk / width;
    QVariantList values;
    for (qsizetype start = 0; start < count; start += perStatement) {
        const qsizetype rows = std::min(perStatement, count - start);
        values.clear();
        values.reserve(rows * width);
        for (qsizetype i = start; i < start + rows; ++i)
            row(i, values);
        prepared(head + DataSession::rowPlaceholders(rows, width)).ejecutar(values);
    }
}

void ArticleStore::replaceRows(const QString& interno, const QList<Article>& articles)
{
    deleteRows(interno);
    insertRows(QStringLiteral("insert into ART (INTNRO, ARTORD, ARTNRO, ARTDSC, PRCDUN, ARTCAN, "
                              "ARTUNI, ARTTOT, ARTORG) values "),
               9, articles.size(), [&](qsizetype i, QVariantList& values) {
                   const Article& a = articles.at(i);
                   values << interno << a.line << value(a.number) << value(a.description)
                          << value(a.declaredUnit) << value(a.quantity) << value(a.unitPrice)
                          << value(a.total) << value(a.origin);
               });
}

void ArticleStore::deleteRows(const QString& interno)
{
    m_work.Sql(QStringLiteral("delete from ART where INTNRO = ?"), {interno});
    m_work.ejecutar();
}

QStringList ArticleStore::articleNumbers(const QString& interno)
{
    RecordSet rs;
    m_work.Sql(QStringLiteral("select DISTINCT ARTNRO from ART where INTNRO = ? order by ARTNRO"),
               {interno});
    m_work.CrearRs(rs);
    QStringList numbers;
    numbers.reserve(rs.RecordCount());
    for (qsizetype i = 0; i < rs.RecordCount(); ++i)
        numbers << text(rs.row(i).at(0));
    return numbers;
}

void ArticleStore::classify(const QString& interno, const QString& number,
                            const CatalogClassification& c)
{
    update(QStringLiteral("update ART set PRCNCM = ?,PRCLAP = ?,PRCSUF = ?,PRCEUN = ?,PRCESM = "
                          "?,PRCSUN = ?,PRCEST = 'A' WHERE INTNRO = ?  and ARTNRO = ?"),
           {c.position, c.lapi, c.suffixes, c.statisticalUnit, c.goodsCondition, c.specificDutyUnit,
            interno, value(number)});
}

void ArticleStore::fromTemporary(const QString& table, const QString& text,
                                 const QVariantList& values, const std::function<void()>& oneByOne)
{
    m_work.wholeOrRowByRow([&] { update(text, values); }, oneByOne);
    DataSession::Statement(m_work, QStringLiteral("drop table temp.") + table).ejecutar();
}

void ArticleStore::addHits(const QList<CatalogHit>& hits)
{
    createHitTable();
    insertRows(QStringLiteral("insert into temp.CATALOG_HIT values "), 7, hits.size(),
               [&](qsizetype i, QVariantList& values) {
                   const auto& [number, c] = hits.at(i);
                   values << value(number) << c.position << c.lapi << c.suffixes
                          << c.statisticalUnit << c.goodsCondition << c.specificDutyUnit;
               });
}

void ArticleStore::createHitTable()
{
    DataSession::Statement(m_work,
                           QStringLiteral("create temp table if not exists CATALOG_HIT (ARTNRO "
                                          "text primary key, PRCNCM text, PRCLAP text, PRCSUF "
                                          "text, PRCEUN text, PRCESM text, PRCSUN text)"))
        .ejecutar();
}

void ArticleStore::classifyAll(const QString& interno)
{
    createHitTable();
    fromTemporary(QStringLiteral("CATALOG_HIT"),
                  QStringLiteral("update ART set PRCNCM = h.PRCNCM, PRCLAP = h.PRCLAP, PRCSUF = "
                                 "h.PRCSUF, PRCEUN = h.PRCEUN, PRCESM = h.PRCESM, PRCSUN = "
                                 "h.PRCSUN, PRCEST = 'A' from temp.CATALOG_HIT h where ART.INTNRO "
                                 "= ? and ART.ARTNRO = h.ARTNRO"),
                  {interno}, [&] {
                      // The hits as they were added, in the order of their numbers.
                      QList<CatalogHit> hits;
                      DataSession::Statement(m_work,
                                             QStringLiteral("select * from temp.CATALOG_HIT "
                                                            "order by ARTNRO"))
                          .forEachRow({}, [&hits](const QVector<QVariant>& v) {
                              hits.append({text(v.at(0)),
                                           {text(v.at(1)), text(v.at(2)), text(v.at(3)),
                                            text(v.at(4)), text(v.at(5)), text(v.at(6))}});
                          });
                      for (const auto& [number, c] : hits)
                          classify(interno, number, c);
                  });
}

void ArticleStore::fillGoodsCondition(const QString& interno, const QString& condition)
{
    update(QStringLiteral("update ART set PRCESM = ? where INTNRO = ? and "
                          "(PRCESM is null or PRCESM = '')"),
           {condition, interno});
}

void ArticleStore::setCheck(const QString& interno, qint64 line, CheckOutcome outcome)
{
    update(CheckUpdates.at(std::size_t(outcome)), {interno, line});
}

void ArticleStore::setChecks(const QString& interno, const QList<CheckedPosition>& outcomes,
                             const QList<Article>& rows)
{
    DataSession::Statement(m_work, QStringLiteral("create temp table CHECK_OUTCOME (PRCNCM text, "
                                                  "PRCSUF text, PRCCRC text, primary key "
                                                  "(PRCNCM, PRCSUF))"))
        .ejecutar();
    insertRows(QStringLiteral("insert into temp.CHECK_OUTCOME values "), 3, outcomes.size(),
               [&](qsizetype i, QVariantList& values) {
                   const CheckedPosition& checked = outcomes.at(i);
                   values << orEmpty(checked.position) << orEmpty(checked.suffixes)
                          << CheckCodes.at(std::size_t(checked.outcome));
               });
    fromTemporary(
        QStringLiteral("CHECK_OUTCOME"),
        QStringLiteral("update ART set PRCCRC = o.PRCCRC, PRCEST = case o.PRCCRC when "
                       "'OK' then PRCEST else 'E' end from temp.CHECK_OUTCOME o where "
                       "ART.INTNRO = ? and ART.PRCEST = 'A' and o.PRCNCM = "
                       "coalesce(ART.PRCNCM, '') and o.PRCSUF = coalesce(ART.PRCSUF, '')"),
        {interno}, [&] {
            QHash<std::pair<QString, QString>, CheckOutcome> outcomeOf;
            for (const CheckedPosition& checked : outcomes)
                outcomeOf.insert({checked.position, checked.suffixes}, checked.outcome);
            for (const Article& row : rows)
                setCheck(interno, row.line, outcomeOf.value({row.position, row.suffixes}));
        });
}

void ArticleStore::setStatisticalQuantities(const QString& interno)
{
    update(QStringLiteral("update ART set PRCECA = ARTCAN where INTNRO = ? and "
                          "PRCDUN = PRCEUN and PRCCRC = 'OK' "),
           {interno});
}

qint64 ArticleStore::saveCorrected(const Article& loaded, const Article& a, bool withSpecificDuty)
{
    QString statement = QStringLiteral("update ART set PRCNCM = ?, PRCLAP = ?, PRCSUF = ?, "
                                       "PRCDUN = ?, PRCEUN = ?, PRCECA = ?, ");
    QVariantList values = {value(a.position),        value(a.lapi),
                           value(a.suffixes),        value(a.declaredUnit),
                           value(a.statisticalUnit), value(a.statisticalQuantity)};
    if (withSpecificDuty) {
        statement += QStringLiteral("PRCSUN = ?, PRCSCA = ?, ");
        values << value(a.specificDutyUnit) << value(a.specificDutyQuantity);
    }
    statement += QStringLiteral("PRCESM = ?, PRCORI = ?, PRCEST = 'M', PRCCRC = 'OK' where "
                                "ARTORD = ? and INTNRO = ? ");
    values << value(a.goodsCondition) << value(a.country) << a.line << a.interno;
    // Only while every other column still holds what was loaded: a change made meanwhile by
    // another edit, process or operator is never overwritten.
    const QVariantList before = loaded.values();
    for (qsizetype i = 2; i < columns().size(); ++i) {
        statement +=
            QStringLiteral("and ") + columns().at(i) + QStringLiteral(" is not distinct from ? ");
        values << before.at(i);
    }
    m_work.Sql(statement, values);
    return m_work.ejecutar();
}
