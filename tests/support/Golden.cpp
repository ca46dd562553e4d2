// SPDX-License-Identifier: Apache-2.0
#include "support/Golden.h"

#include "support/TestHome.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

bool compareGolden(const QByteArray& actual, const QString& relativePath, const char* file,
                   int line)
{
    QFile golden(TestHome::testDataPath(relativePath));
    if (qEnvironmentVariableIntValue("ADUPLAN_UPDATE_GOLDEN") == 1) {
        QDir().mkpath(QFileInfo(golden).path());
        if (!golden.open(QIODevice::WriteOnly) || golden.write(actual) != actual.size())
            qFatal("cannot write %s", qPrintable(golden.fileName()));
        return true;
    }
    if (!golden.open(QIODevice::ReadOnly)) {
        QTest::qFail(qPrintable(QStringLiteral("no golden file ") + relativePath +
                                QStringLiteral(" (ADUPLAN_UPDATE_GOLDEN=1 writes it)")),
                     file, line);
        return false;
    }
    const QByteArray expected = golden.readAll();
    if (expected == actual)
        return true;
    const QList<QByteArray> want = expected.split('\n'), got = actual.split('\n');
    qsizetype at = 0;
    while (at < want.size() && at < got.size() && want[at] == got[at])
        ++at;
    QByteArray report = "output differs from " + relativePath.toUtf8() + " at line " +
                        QByteArray::number(at + 1) + " (- golden, + output):\n";
    for (qsizetype i = at; i < at + 3 && i < want.size(); ++i)
        report += "  - " + want[i] + '\n';
    for (qsizetype i = at; i < at + 3 && i < got.size(); ++i)
        report += "  + " + got[i] + '\n';
    QTest::qFail(report.constData(), file, line);
    return false;
}

QByteArray portable(QString text, const QString& home)
{
    if (!home.isEmpty())
        text.replace(home, QStringLiteral("HOME"));
    return text.replace(TestHome::testDataPath({}), QStringLiteral("$DATA/")).toUtf8();
}
