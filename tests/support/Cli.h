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

/**
 * Runs aduplan-cli on the home with the arguments; a run that does not end stops the tests.
 * With `fileLimitKb`, no file it writes may grow beyond that many kilobytes: a write past the
 * limit fails as on a full disk.
 */
inline CliRun runCli(const QString& home, const QStringList& args, int fileLimitKb = 0)
{
    QProcess process;
    const QStringList arguments = QStringList{QStringLiteral("--home"), home} + args;
    if (fileLimitKb > 0)
        process.start(QStringLiteral("/bin/sh"),
                      QStringList{QStringLiteral("-c"),
                                  QStringLiteral("trap '' XFSZ; ulimit -f %1; exec \"$0\" \"$@\"")
                                      .arg(fileLimitKb * 2), // blocks of 512 bytes
                                  QStringLiteral(ADUPLAN_CLI)} +
                          arguments);
    else
        process.start(QStringLiteral(ADUPLAN_CLI), arguments);
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
