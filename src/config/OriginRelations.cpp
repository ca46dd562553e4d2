#include "config/OriginRelations.h"

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

} // namespace OriginRelations
