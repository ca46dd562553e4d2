#pragma once

#include "support/WorkHome.h"

#include <QFile>
#include <QProcess>

/**
 * Interno 100: rows C-1 and D-4 with errors, B-2 and A-3 clean; their number, description and
 * line orders all differ; a tab and a line feed inside descriptions; a NULL, an empty and a
 * quoted unit. Interno 300 has no rows.
 */
namespace ReviewData {

struct Session : WorkHome {
    Session()
        : WorkHome([](TestHome& fresh) {
            fresh.runWorkSql(QStringLiteral(
                "insert into ART (INTNRO, ARTORD, ARTNRO, ARTDSC, ARTCAN, ARTUNI, ARTTOT, ARTORG, "
                "PRCDUN, PRCNCM, PRCSUF, PRCEUN, PRCECA, PRCEST, PRCCRC) values "
                "('100', 1, 'C-1', 'Arandela', 5, 1.5, 7.5, '410', NULL, NULL, NULL, NULL, NULL, "
                "NULL, NULL),"
                "('100', 2, 'B-2', 'Tuerca' || char(9) || 'grande', 2.5, 0.125, 0.3125, '410', "
                "'07', "
                "'8482.10.10.000B', 'AA(1)-', '07', 2.5, 'A', 'OK'),"
                "('100', 3, 'A-3', 'Bulon' || char(10) || 'largo', 1, 1234.5, 1234.5, '410', '', "
                "'7318.15.00.000A', 'SIN SUFIJOS', '01', 1, 'M', 'OK'),"
                "('100', 4, 'D-4', 'Zocalo', 3, 2, 6, '410', '01', '9999.99.99.999Z', NULL, '01', "
                "NULL, 'E', 'POS');\n"));
        })
    {}
};

/** The file's bytes; "(none)" when it cannot be read. */
inline QByteArray bytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArrayLiteral("(none)");
}

/** What a tool prints to stdout; the test stops when it fails. */
inline QString output(const QString& program, const QStringList& args)
{
    QProcess process;
    process.start(program, args);
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        qFatal("%s failed", qPrintable(program));
    return QString::fromUtf8(process.readAllStandardOutput());
}

/** The text of each page of a PDF, blanks collapsed. */
inline QStringList pdfPages(const QString& path)
{
    QStringList pages =
        output(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")})
            .split(QLatin1Char('\f'));
    pages.removeLast(); // after the last page's form feed
    for (QString& page : pages)
        page = page.simplified();
    return pages;
}

} // namespace ReviewData
