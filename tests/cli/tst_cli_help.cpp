// SPDX-License-Identifier: Apache-2.0
#include "support/Cli.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

/** The usage on request, for every command, and the manual page beside it. */
class TestCliHelp : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyCommandPrintsTheUsageAndHasItsManualSection()
    {
        // A home that does not exist: asking for help must not need, nor create, one.
        QTemporaryDir dir;
        const QString home = dir.filePath(u"absent"_s);
        const QString usage = runCli(home, {u"--help"_s}).out;
        QCOMPARE(cli(home, {u"--help"_s}), u"0|"_s + usage + u'|');
        // The command names: the first word of each line under "comandos:".
        QStringList commands;
        static const QRegularExpression line(u"^  ([a-z]+)"_s, QRegularExpression::MultilineOption);
        for (auto it = line.globalMatch(usage.section(u"comandos:\n"_s, 1)); it.hasNext();) {
            const QString name = it.next().captured(1);
            if (!commands.contains(name))
                commands << name;
        }
        QCOMPARE(commands,
                 (QStringList{u"init"_s, u"interno"_s, u"parse"_s, u"process"_s, u"stats"_s,
                              u"rows"_s, u"edit"_s, u"export"_s, u"report"_s, u"check"_s,
                              u"transfer"_s, u"ncm"_s, u"catalog"_s, u"suggest"_s, u"history"_s}));

        QFile page(QStringLiteral(ADUPLAN_SOURCE_DIR "/packaging/aduplan-cli.1"));
        QVERIFY(page.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(page.readAll());
        for (const char* section : {".SH \"ESTADO DE SALIDA\"", ".SH \"CARPETA DE DATOS\""})
            QVERIFY2(text.contains(QLatin1String(section)), section);
        for (const QString& command : std::as_const(commands)) {
            QVERIFY2(text.contains(u"\n.SS \""_s + command), qPrintable(command));
            // Alone and among other options and arguments.
            const CliRun help = runCli(home, {command, u"--help"_s});
            QVERIFY2(help.code == 0 && help.out == usage, qPrintable(command + u'|' + help.err));
            QCOMPARE(runCli(home, {command, u"1"_s, u"--help"_s}).out, usage);
        }
        QVERIFY(!QFile::exists(home));

        // "--" ends the options: an interno may be called "--help". An unknown command is a
        // usage error.
        QCOMPARE(cli(home, {u"interno"_s, u"add"_s, u"--"_s, u"--help"_s}).left(3), u"1||"_s);
        QCOMPARE(cli(home, {u"nada"_s, u"--help"_s}), u"2||"_s + usage);
    }

    void bothProgramsTellTheProjectVersion()
    {
        QTemporaryDir dir;
        const QString home = dir.filePath(u"absent"_s);
        QCOMPARE(cli(home, {u"--version"_s}), u"0|aduplan-cli " ADUPLAN_VERSION "\n|"_s);
        QCOMPARE(cli(home, {u"--version"_s, u"1"_s}).left(2), u"2|"_s);

        QProcess app;
        app.start(QStringLiteral(ADUPLAN_APP), {u"-platform"_s, u"offscreen"_s, u"--version"_s});
        QVERIFY(app.waitForFinished(60000));
        QCOMPARE(app.exitCode(), 0);
        QCOMPARE(QString::fromUtf8(app.readAllStandardOutput()),
                 u"Aduplan " ADUPLAN_VERSION "\n"_s);
        QVERIFY(!QFile::exists(home));
    }
};

QTEST_GUILESS_MAIN(TestCliHelp)
#include "tst_cli_help.moc"
