// SPDX-License-Identifier: Apache-2.0
#include "support/ManyPositions.h"

#include "components/DataSession.h"
#include "support/WorkHome.h"

using namespace Qt::StringLiterals;

ManyPositions::ManyPositions(const QString& catalog, const QString& interno)
{
    const int positions = int(DataSession::ListChunk) * 2 + 100;
    const int articles = positions + 300;
    const auto position = [](int p) {
        return u"%1.%2.10.%3B"_s.arg(9700 + p / 100)
            .arg(p % 100, 2, 10, QLatin1Char('0'))
            .arg(p % 1000, 3, 10, QLatin1Char('0'));
    };
    for (int p = 0; p < positions; ++p) {
        const QString pos = position(p);
        if (p % 7)
            nomenclator += u"insert into ncm ([001], [002], [003], [059]) values ('%1', '%2', "
                           "'%3', '%4');\n"_s.arg(pos.left(10), pos.mid(11, 3), pos.right(1),
                                                  p % 3 ? u""_s : u"*"_s);
        if (p % 2)
            nomenclator +=
                u"insert into sufidos (sim, sufijo) values ('%1', 'MA01');\n"_s.arg(pos.left(14));
        else if (p % 4 == 2)
            nomenclator += u"insert into sufidos (sim, sufijo) values ('%1.  .   ', 'ZB');\n"_s.arg(
                pos.left(7));
    }
    for (int a = 0; a < articles; ++a) {
        const int p = a % positions;
        const bool zGroup = p % 4 == 2;
        const QString suffixes = p % 2    ? u"MA01-"_s
                                 : zGroup ? (a % 3 ? u"ZB(202401)-"_s : u"ZB(2024)-"_s)
                                          : u"SIN SUFIJOS"_s;
        const bool inCatalog = a % 10 != 9;
        declaration += u"insert into catarticulos (idcatalogo, idarticulo, ncm, lapi, sufijos, "
                       "estadistica, estadomerc, deresp) values ('%1', 'N%2', '%3', '%4', '%5', "
                       "'07', '1', 'D%2');\n"_s.arg(inCatalog ? catalog : catalog + u'2')
                           .arg(a)
                           .arg(position(p), a % 2 ? u""_s : u"N"_s, suffixes);
        work += u"insert into ART (INTNRO, ARTORD, ARTNRO, PRCDUN) values ('%1', %2, 'N%3', "
                "'07');\n"_s.arg(interno)
                    .arg(articles - a)
                    .arg(a);
        const QString lapi = a % 2 && p % 7 && p % 3 == 0 ? u"S"_s : u"N"_s;
        const QString check = p % 7 == 0 ? u"POS"_s : zGroup && a % 3 == 0 ? u"SUF"_s : u"OK"_s;
        expected.prepend(inCatalog ? u"D%1|%2|%3"_s.arg(a).arg(lapi, check) : u"~|~|~"_s);
        classified += inCatalog;
    }
}

QStringList ManyPositions::checkedRows(DataSession& work, const QString& interno)
{
    return queryRows(work,
                     u"select PRCSUN, PRCLAP, PRCCRC from ART where INTNRO = ? order by ARTORD"_s,
                     {interno});
}
