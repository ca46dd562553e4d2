#pragma once

#include "support/ScriptedDialogs.h"
#include "support/TestHome.h"
#include "workspace/Workspace.h"

#include <QProcess>
#include <QString>

/**
 * Interno 100 with four rows, two with errors and two clean, whose number, description and
 * line orders all differ; a tab and a line feed inside descriptions, a NULL, an empty and a
 * quoted unit. Interno 300 has no rows.
 */
namespace ReviewData {

inline const QString Rows = QStringLiteral(
    "insert into ART (INTNRO, ARTORD, ARTNRO, ARTDSC, ARTCAN, ARTUNI, ARTTOT, ARTORG, PRCDUN, "
    "PRCNCM, PRCSUF, PRCEUN, PRCECA, PRCEST, PRCCRC) values "
    "('100', 1, 'C-1', 'Arandela', 5, 1.5, 7.5, '410', NULL, NULL, NULL, NULL, NULL, NULL, NULL),"
    "('100', 2, 'B-2', 'Tuerca' || char(9) || 'grande', 2.5, 0.125, 0.3125, '410', '07', "
    "'8482.10.10.000B', 'AA(1)-', '07', 2.5, 'A', 'OK'),"
    "('100', 3, 'A-3', 'Bulon' || char(10) || 'largo', 1, 1234.5, 1234.5, '410', '', "
    "'7318.15.00.000A', 'SIN SUFIJOS', '01', 1, 'M', 'OK'),"
    "('100', 4, 'D-4', 'Zocalo', 3, 2, 6, '410', '01', '9999.99.99.999Z', NULL, '01', NULL, 'E', "
    "'POS');\n");

/** A home with the rows above. */
struct Home : TestHome {
    Home()
    {
        createDatabases();
        runWorkSql(Rows);
    }
};

/** The workspace opened on such a home, with scripted dialogs. */
struct Session {
    Home home;
    ScriptedDialogs dialogs;
    RecordingProgress progress;
    Workspace ws{home.path(), dialogs, progress};

    Session() { ws.open(); }
};

/** The text of each page of a PDF, blanks collapsed. */
inline QStringList pdfPages(const QString& path)
{
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"),
                    {QStringLiteral("-layout"), path, QStringLiteral("-")});
    if (!pdftotext.waitForFinished(30000) || pdftotext.exitCode() != 0)
        qFatal("pdftotext failed on %s", qPrintable(path));
    QStringList pages =
        QString::fromUtf8(pdftotext.readAllStandardOutput()).split(QLatin1Char('\f'));
    pages.removeLast(); // after the last page's form feed
    for (QString& page : pages)
        page = page.simplified();
    return pages;
}

} // namespace ReviewData
