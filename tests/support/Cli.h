#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

/** How a run of aduplan-cli ended. */
struct CliRun {
    int code = -1;
    QString out;
    QString err;

    /** "exit code|stdout|stderr", for comparing a whole run at once. */
    QString joined() const { return QString::number(code) + u'|' + out + u'|' + err; }
};

/** Runs aduplan-cli on the home with the arguments; a run that does not end stops the tests. */
inline CliRun runCli(const QString& home, const QStringList& args)
{
    QProcess process;
    process.start(QStringLiteral(ADUPLAN_CLI), QStringList{QStringLiteral("--home"), home} + args);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
        qFatal("aduplan-cli did not finish");
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

/** Runs aduplan-cli on the home with the arguments; "exit code|stdout|stderr". */
inline QString cli(const QString& home, const QStringList& args)
{
    return runCli(home, args).joined();
}
