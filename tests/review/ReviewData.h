// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "support/WorkHome.h"

#include <QFile>
#include <QProcess>

/** Interno 100 with four rows to review, interno 300 without (review/results.work.sql). */
namespace ReviewData {

struct Session : WorkHome {
    Session()
        : WorkHome(QStringList{QStringLiteral("review/results.work.sql")})
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
