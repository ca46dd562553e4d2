#include "support/TestHome.h"

#include <QFile>
#include <QProcess>
#include <QTest>

class TestCliProcess : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void damagedDocumentToldInSpanishOnly()
    {
        // Half a Word 97-2003 document: libgsf's own complaints stay out of the operator's way.
        QFile whole(TestHome::testDataPath(QStringLiteral("word/generated/invoice.doc")));
        QVERIFY(whole.open(QIODevice::ReadOnly));
        TestHome home;
        QFile half(home.file(QStringLiteral("half.doc")));
        QVERIFY(half.open(QIODevice::WriteOnly));
        half.write(whole.read(whole.size() / 2));
        half.close();
        QProcess cli;
        cli.start(QStringLiteral(ADUPLAN_CLI), {QStringLiteral("parse"), half.fileName()});
        QVERIFY(cli.waitForFinished());
        QCOMPARE(cli.exitCode(), 1);
        const QString err = QString::fromUtf8(cli.readAllStandardError());
        QVERIFY2(err.startsWith(QStringLiteral("El documento está dañado")), qPrintable(err));
        QVERIFY2(!err.contains(QStringLiteral("libgsf")), qPrintable(err));
    }
};

QTEST_GUILESS_MAIN(TestCliProcess)
#include "tst_cli_process.moc"
