// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "support/Golden.h"

#include <QString>
#include <QStringList>
#include <QTest>

#include <functional>

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
 * limit fails as on a full disk. With `outputOnFullDisk`, its standard output goes to /dev/full.
 */
CliRun runCli(const QString& home, const QStringList& args, int fileLimitKb = 0,
              bool outputOnFullDisk = false);

/** Runs aduplan-cli on the home with the arguments; "exit code|stdout|stderr". */
inline QString cli(const QString& home, const QStringList& args)
{
    return runCli(home, args).joined();
}

/**
 * Runs the commands of a transcript, a golden file under tests/fixtures, on the home and
 * compares what they print with it. A command is a line "$ ARGS" (split as a shell would, with
 * double quotes; $HOME and $DATA stand for the home and tests/fixtures, \n and \e in an argument
 * for a line feed and an escape), followed by its exit code "= N", its standard output as lines
 * "| ..." and its standard error as lines "! ..." ("%" marks output without a final line feed;
 * "(usage)" stands for the usage text).
 * Lines starting with "#" are kept as comments.
 */
bool compareCliTranscript(const QString& home, const QString& relativePath, const char* file,
                          int line);

#define COMPARE_CLI_TRANSCRIPT(home, relativePath)                                                 \
    RETURN_UNLESS(compareCliTranscript(home, relativePath, __FILE__, __LINE__))

/**
 * On a demo home, its clean invoice transferred as 2001, then as 2002 with a value of one line
 * changed; the catalog revert refused for 2001 while 2002 holds that entry, then 2002 and 2001
 * reverted in turn (the transcripts cli/revert-*.txt). The catalog, as `catalog` reads it, is
 * unchanged by the refusal and back byte for byte as before the transfers at the end.
 */
inline void revertOnTheDemo(const QString& home, const std::function<QStringList()>& catalog)
{
    const QStringList original = catalog();
    COMPARE_CLI_TRANSCRIPT(home, QStringLiteral("cli/revert-transfers.txt"));
    const QStringList transferred = catalog();
    QVERIFY(transferred != original);
    COMPARE_CLI_TRANSCRIPT(home, QStringLiteral("cli/revert-refused.txt"));
    QCOMPARE(catalog(), transferred);
    COMPARE_CLI_TRANSCRIPT(home, QStringLiteral("cli/revert.txt"));
    QCOMPARE(catalog(), original);
}
