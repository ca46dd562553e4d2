// SPDX-License-Identifier: Apache-2.0
#include "support/Cli.h"

#include "data/HistoryStore.h"
#include "support/Golden.h"
#include "support/TestHome.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>

CliRun runCli(const QString& home, const QStringList& args, int fileLimitKb, bool outputOnFullDisk)
{
    QProcess process;
    const QStringList arguments = QStringList{QStringLiteral("--home"), home} + args;
    if (outputOnFullDisk)
        process.setStandardOutputFile(QStringLiteral("/dev/full"));
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

namespace {

/**
 * The output as transcript lines with the prefix; the home and fixture paths written back, the
 * usage (tst_cli checks it) written as "(usage)", the times, user and host of history entries
 * as TIME, USER and HOST, Qt's notes on the environment left out.
 */
QString transcriptLines(QString output, const QString& prefix, const QString& home)
{
    static const QString usage = runCli(home, {QStringLiteral("--help")}).out;
    static const HistoryAuthor author = HistoryAuthor::current({});
    static const QRegularExpression time(QStringLiteral("\\d{4}-\\d\\d-\\d\\dT[\\d:]{8}Z"));
    if (output.isEmpty())
        return {};
    output.replace(usage, QStringLiteral("(usage)\n"))
        .replace(home, QStringLiteral("$HOME"))
        .replace(TestHome::testDataPath({}), QStringLiteral("$DATA/"))
        .replace(time, QStringLiteral("TIME"))
        .replace(author.user + u'@' + author.host, QStringLiteral("USER@HOST"))
        .replace(QStringLiteral("\"user\":\"%1\"").arg(author.user),
                 QStringLiteral("\"user\":\"USER\""))
        .replace(QStringLiteral("\"host\":\"%1\"").arg(author.host),
                 QStringLiteral("\"host\":\"HOST\""));
    const bool ended = output.endsWith(u'\n');
    if (ended)
        output.chop(1);
    QString lines;
    for (const QString& line : output.split(u'\n')) {
        if (!line.startsWith(QStringLiteral("QStandardPaths: "))) // Qt's note on the environment
            lines += prefix + line + u'\n';
    }
    return ended ? lines : lines + QStringLiteral("%\n");
}

} // namespace

bool compareCliTranscript(const QString& home, const QString& relativePath, const char* file,
                          int line)
{
    QString actual;
    for (const QString& text : TestHome::testData(relativePath).split(u'\n', Qt::SkipEmptyParts)) {
        if (text.startsWith(u'#'))
            actual += text + u'\n';
        if (!text.startsWith(QStringLiteral("$ ")))
            continue;
        QStringList args = QProcess::splitCommand(text.mid(2));
        for (QString& arg : args)
            arg.replace(QStringLiteral("$HOME"), home)
                .replace(QStringLiteral("$DATA/"), TestHome::testDataPath({}))
                .replace(QStringLiteral("\\n"), QStringLiteral("\n"))
                .replace(QStringLiteral("\\e"), QStringLiteral("\x1b"));
        const CliRun run = runCli(home, args);
        actual += text + QStringLiteral("\n= ") + QString::number(run.code) + u'\n' +
                  transcriptLines(run.out, QStringLiteral("| "), home) +
                  transcriptLines(run.err, QStringLiteral("! "), home);
    }
    return compareGolden(actual.toUtf8(), relativePath, file, line);
}
