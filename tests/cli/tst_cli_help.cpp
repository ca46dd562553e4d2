#include "support/Cli.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

/** The command names of the usage text: the first word of each line under "comandos:". */
QStringList commandNames(const QString& usage)
{
    QStringList names;
    const QString commands = usage.section(QStringLiteral("comandos:\n"), 1);
    static const QRegularExpression line(QStringLiteral("^  ([a-z]+)"),
                                         QRegularExpression::MultilineOption);
    for (auto it = line.globalMatch(commands); it.hasNext();) {
        const QString name = it.next().captured(1);
        if (!names.contains(name))
            names << name;
    }
    return names;
}

} // namespace

/** The usage on request, for every command, and the manual page beside it. */
class TestCliHelp : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_home;
    QString m_usage;
    QStringList m_commands;

private Q_SLOTS:
    void initTestCase()
    {
        // A home that does not exist: asking for help must not need, nor create, one.
        m_home = m_dir.filePath(QStringLiteral("absent"));
        const CliRun help = runCli(m_home, {QStringLiteral("--help")});
        QCOMPARE(help.code, 0);
        QCOMPARE(help.err, QString());
        m_usage = help.out;
        m_commands = commandNames(m_usage);
        QCOMPARE(
            m_commands,
            QStringList({QStringLiteral("init"), QStringLiteral("interno"), QStringLiteral("parse"),
                         QStringLiteral("process"), QStringLiteral("stats"), QStringLiteral("rows"),
                         QStringLiteral("edit"), QStringLiteral("export"), QStringLiteral("report"),
                         QStringLiteral("check"), QStringLiteral("transfer"), QStringLiteral("ncm"),
                         QStringLiteral("catalog")}));
    }

    void everyCommandPrintsTheUsage()
    {
        for (const QString& command : std::as_const(m_commands)) {
            const QStringList args{command, QStringLiteral("--help")};
            const CliRun help = runCli(m_home, args);
            QVERIFY2(help.code == 0 && help.out == m_usage,
                     qPrintable(command + QLatin1Char('|') + help.err));
            // Among other options and arguments too.
            QCOMPARE(runCli(m_home, {command, QStringLiteral("1"), QStringLiteral("--help")}).out,
                     m_usage);
        }
        QVERIFY(!QFile::exists(m_home));
    }

    void helpAfterTheEndOfOptionsIsAnArgument()
    {
        // "--" ends the options: an interno may be called "--help".
        const CliRun add = runCli(m_home, {QStringLiteral("interno"), QStringLiteral("add"),
                                           QStringLiteral("--"), QStringLiteral("--help")});
        QCOMPARE(add.code, 1);
        QVERIFY(add.out.isEmpty());
    }

    void unknownCommandIsAUsageError()
    {
        const CliRun unknown = runCli(m_home, {QStringLiteral("nada"), QStringLiteral("--help")});
        QCOMPARE(unknown.code, 2);
        QCOMPARE(unknown.err, m_usage);
    }

    void manualPageDocumentsEveryCommand()
    {
        QFile page(QStringLiteral(ADUPLAN_SOURCE_DIR "/packaging/aduplan-cli.1"));
        QVERIFY(page.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(page.readAll());
        for (const QString& command : std::as_const(m_commands))
            QVERIFY2(text.contains(QStringLiteral("\n.SS \"") + command),
                     qPrintable(QStringLiteral("no section for ") + command));
        for (const char* section : {".SH \"ESTADO DE SALIDA\"", ".SH \"CARPETA DE DATOS\""})
            QVERIFY2(text.contains(QLatin1String(section)), section);
    }
};

QTEST_GUILESS_MAIN(TestCliHelp)
#include "tst_cli_help.moc"
