#pragma once

#include "data/ArticleStore.h"
#include "review/RecordEditor.h"
#include "support/WorkHome.h"

/** The nomenclator and article rows the review tests work on. */
namespace ReviewHome {

using namespace Qt::StringLiterals;

/**
 * 8482.10.10.000B: unit 7, LAPI, an option group AB and a numeric code ZA.
 * 7318.15.00.200D: a text code AT and a code QX of neither kind. 3926.90.90.990E: no suffixes.
 */
const QString Nomenclator =
    u"insert into ncm values ('8482.10.10', '000', 'B', '', 'RODAMIENTOS', '7', '', '', '*');\n"
    "insert into ncm values ('7318.15.00', '200', 'D', '', 'TORNILLOS', '01', '', '', NULL);\n"
    "insert into ncm values ('3926.90.90', '990', 'E', '', 'PLASTICOS', '05', '', '', '');\n"
    "insert into sufidos values ('84  .  .  .   ', 'ZA', 'Indique el año');\n"
    "insert into sufidos values ('8482.  .  .   ', 'AB02', 'Modelo dos');\n"
    "insert into sufidos values ('8482.10.  .   ', 'AB01', 'Modelo uno');\n"
    "insert into sufidos values ('7318.15.00.200', 'QX', 'Indique la norma');\n"
    "insert into sufidos values ('73  .  .  .   ', 'AT', 'Indique la marca');\n"_s;

/**
 * Line 1 not classified; line 2 clean with a specific duty and no quantity for it; lines 3
 * and 4 rejected by the validation (position, then suffixes).
 */
const QString Rows =
    u"insert into PAIS values ('US', 'ESTADOS UNIDOS'), ('JP', 'JAPON'), ('BR', 'BRASIL');\n"
    "insert into ART (INTNRO, ARTORD, ARTNRO, ARTDSC, ARTCAN, ARTUNI, ARTTOT, PRCDUN, PRCNCM, "
    "PRCSUF, PRCEUN, PRCECA, PRCSUN, PRCSCA, PRCESM, PRCORI, PRCEST, PRCCRC, PRCLAP) values "
    "('100', 1, 'N-1', 'NUEVO', 12.5, 0.125, 1.5625, '05', NULL, NULL, NULL, NULL, NULL, NULL, "
    "NULL, 'XX', NULL, NULL, NULL),"
    "('100', 2, 'C-2', 'CLEAN', 3, 2, 6, '01', '3926.90.90.990E', 'SIN SUFIJOS', '05', NULL, "
    "'07', NULL, '1', 'JP', 'A', 'OK', 'S'),"
    "('100', 3, 'P-3', 'POSICION', 1, 1, 1, '01', '9999.99.99.999Z', 'SIN SUFIJOS', '01', NULL, "
    "NULL, NULL, '1', 'US', 'E', 'POS', 'N'),"
    "('100', 4, 'S-4', 'SUFIJOS', 1, 1, 1, '01', '7318.15.00.200D', 'X-', '01', NULL, NULL, NULL, "
    "'1', 'US', 'E', 'SUF', 'N');\n"_s;

/** A home with the nomenclator and rows above, a workspace opened on it and an editor. */
struct Fixture : WorkHome {
    RecordEditor editor{ws};

    Fixture()
        : WorkHome([](TestHome& fresh) {
            fresh.runNomenclatorSql(Nomenclator);
            fresh.runWorkSql(Rows);
        })
    {}

    Article row(qint64 line) { return *ArticleStore(ws.work()).row(u"100"_s, line); }

    /** The last message as "icon:text" (0 none, 1 critical, 2 exclamation). */
    QString lastMessage() const
    {
        if (dialogs.messages.isEmpty())
            return {};
        return QString::number(int(dialogs.messages.last().icon)) + u':' +
               dialogs.messages.last().text;
    }
};

} // namespace ReviewHome
