#pragma once

#include <QProcess>
#include <QStringList>
#include <QtGlobal>

/** Runs aduplan-cli on the home with the arguments; "exit code|stdout|stderr". */
inline QString cli(const QString& home, const QStringList& args)
{
    QProcess process;
    process.start(QStringLiteral(ADUPLAN_CLI), QStringList{QStringLiteral("--home"), home} + args);
    if (!process.waitForFinished(120000))
        qFatal("aduplan-cli did not finish");
    return QString::number(process.exitCode()) + QLatin1Char('|') +
           QString::fromUtf8(process.readAllStandardOutput()) + QLatin1Char('|') +
           QString::fromUtf8(process.readAllStandardError());
}
