// SPDX-License-Identifier: Apache-2.0
#include "data/OriginRelations.h"

#include "components/DataSession.h"

namespace OriginRelations {

qint64 add(DataSession& work, const QString& text, const QString& code)
{
    work.Sql(QStringLiteral("insert into ORG (PAI, ORI) values (?, ?)"), {text, code});
    return work.ejecutar();
}

QList<OriginRelation> list(DataSession& work)
{
    QList<OriginRelation> relations;
    RecordSet rs;
    work.Sql(QStringLiteral("select * from ORG order by PAI"));
    if (work.CrearRs(rs)) {
        for (; !rs.Eof(); rs.MoveNext())
            relations << OriginRelation{rs.Fields(QStringLiteral("PAI")).toString(),
                                        rs.Fields(QStringLiteral("ORI")).toString()};
    }
    return relations;
}

qint64 remove(DataSession& work, const QString& text, const QString& code)
{
    work.Sql(QStringLiteral("delete from ORG where PAI = ? and ORI = ?"), {text, code});
    return work.ejecutar();
}

Lookup::Lookup(DataSession& work)
    : m_query(work, QStringLiteral("select ORI from ORG where PAI = ?"))
{}

std::optional<QString> Lookup::code(const QString& text)
{
    RecordSet rs;
    if (!m_query.CrearRs(rs, {text}))
        return std::nullopt;
    return rs.Fields(QStringLiteral("ORI")).toString();
}

bool countryExists(DataSession& work, const QString& code)
{
    RecordSet rs;
    work.Sql(QStringLiteral("select id from PAIS where id = ?"), {code});
    return work.CrearRs(rs);
}

Countries countries(DataSession& work)
{
    Countries list;
    RecordSet rs;
    work.Sql(QStringLiteral("select id,descripcion from PAIS order by descripcion"));
    work.CrearRs(rs);
    for (; !rs.Eof(); rs.MoveNext()) {
        list.codes << rs.Fields(QStringLiteral("id")).toString();
        list.names << rs.Fields(QStringLiteral("descripcion")).toString();
    }
    return list;
}

} // namespace OriginRelations
