// SPDX-License-Identifier: Apache-2.0
#include "data/NomenclatorTables.h"

namespace {

/** The sufijo and detalle of every row of a query on sufidos. */
QList<SuffixCode> codes(RecordSet& rs)
{
    QList<SuffixCode> found;
    for (; !rs.Eof(); rs.MoveNext())
        found << SuffixCode{rs.Fields(QStringLiteral("sufijo")).toString(),
                            rs.Fields(QStringLiteral("detalle")).toString()};
    return found;
}

} // namespace

NomenclatorTables::NomenclatorTables(DataSession& nomenclator)
    : m_ncm(nomenclator)
{}

std::optional<NomenclatorPosition>
NomenclatorTables::position(const QString& digits, const QString& opening, const QString& letter)
{
    RecordSet rs;
    m_ncm.Sql(QStringLiteral("select [001],[002],[003],[012] as uest ,[059] as lapi, [010] as "
                             "descrip from NCM where  [001] = ? and [002] = ?  and [003] = ?"),
              {digits, opening, letter});
    if (!m_ncm.CrearRs(rs))
        return std::nullopt;
    return NomenclatorPosition{rs.Fields(QStringLiteral("uest")), rs.Fields(QStringLiteral("lapi")),
                               rs.Fields(QStringLiteral("descrip")).toString()};
}

QStringList NomenclatorTables::suffixGroups(const QStringList& levelKeys)
{
    RecordSet rs;
    m_ncm.Sql(QStringLiteral("select distinct ") + m_ncm.left(QStringLiteral("sufijo"), 2) +
                  QStringLiteral(" as asufijo from sufidos where sim in (?, ?, ?, ?) order by "
                                 "asufijo"),
              {levelKeys.at(0), levelKeys.at(1), levelKeys.at(2), levelKeys.at(3)});
    QStringList groups;
    if (m_ncm.CrearRs(rs)) {
        for (; !rs.Eof(); rs.MoveNext())
            groups << rs.Fields(QStringLiteral("asufijo")).toString();
    }
    return groups;
}

QList<SuffixCode> NomenclatorTables::suffixCodes(const QStringList& levelKeys, const QString& group)
{
    RecordSet rs;
    m_ncm.Sql(QStringLiteral("select sufijo,detalle from sufidos where sim in (?, ?, ?, ?) and ") +
                  m_ncm.left(QStringLiteral("sufijo"), 2) + QStringLiteral(" = ? order by sufijo"),
              {levelKeys.at(0), levelKeys.at(1), levelKeys.at(2), levelKeys.at(3), group});
    m_ncm.CrearRs(rs);
    return codes(rs);
}

QList<PositionLine> NomenclatorTables::positionsLike(const QString& pattern)
{
    RecordSet rs;
    m_ncm.Sql(QStringLiteral("select [001] || '.' || [002] || [003] as ncm, [010] as descrip, "
                             "[012] as estadistica, [020] as deresp from ncm where [001] like ? "
                             "escape '!' order by [001], [002], [003]"),
              {pattern});
    QList<PositionLine> lines;
    if (m_ncm.CrearRs(rs)) {
        for (; !rs.Eof(); rs.MoveNext())
            lines << PositionLine{rs.Fields(QStringLiteral("ncm")).toString().trimmed(),
                                  rs.Fields(QStringLiteral("descrip")).toString()};
    }
    return lines;
}

std::optional<PositionDetails>
NomenclatorTables::details(const QString& digits, const QString& opening, const QString& letter)
{
    RecordSet rs;
    m_ncm.Sql(QStringLiteral("select [010] as descrip, [004] as descrip1, [012] as estadistica, "
                             "[020] as deresp, [059] as lapi, [019] as rein from ncm where [001] = "
                             "? and [002] = ? and [003] = ?"),
              {digits, opening, letter});
    if (!m_ncm.CrearRs(rs))
        return std::nullopt;
    return PositionDetails{rs.Fields(QStringLiteral("descrip")).toString(),
                           rs.Fields(QStringLiteral("descrip1")).toString(),
                           rs.Fields(QStringLiteral("estadistica")).toString(),
                           rs.Fields(QStringLiteral("lapi")).toString()};
}

QList<SuffixCode> NomenclatorTables::suffixes(const QStringList& levelKeys)
{
    RecordSet rs;
    m_ncm.Sql(QStringLiteral("select sufijo, detalle from sufidos where sim in (?, ?, ?, ?) order "
                             "by sufijo"),
              {levelKeys.at(0), levelKeys.at(1), levelKeys.at(2), levelKeys.at(3)});
    m_ncm.CrearRs(rs);
    return codes(rs);
}

QList<PositionTexts> NomenclatorTables::allPositions()
{
    RecordSet rs;
    m_ncm.Sql(QStringLiteral("select [001] || '.' || [002] || [003] as ncm, [010] as descrip, "
                             "[004] as descrip1 from ncm"));
    QList<PositionTexts> positions;
    if (m_ncm.CrearRs(rs)) {
        positions.reserve(rs.RecordCount());
        for (; !rs.Eof(); rs.MoveNext())
            positions << PositionTexts{rs.Fields(QStringLiteral("ncm")).toString().trimmed(),
                                       rs.Fields(QStringLiteral("descrip")).toString(),
                                       rs.Fields(QStringLiteral("descrip1")).toString()};
    }
    return positions;
}
