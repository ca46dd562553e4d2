#include "data/NomenclatorTables.h"

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
    QList<SuffixCode> codes;
    if (m_ncm.CrearRs(rs)) {
        for (; !rs.Eof(); rs.MoveNext())
            codes << SuffixCode{rs.Fields(QStringLiteral("sufijo")).toString(),
                                rs.Fields(QStringLiteral("detalle")).toString()};
    }
    return codes;
}
