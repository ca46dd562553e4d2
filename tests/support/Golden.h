// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QByteArray>
#include <QString>

/**
 * Compares an output with its golden file under tests/fixtures, byte for byte; a mismatch fails
 * the test with the first differing lines. With ADUPLAN_UPDATE_GOLDEN=1 in the environment the
 * golden file is rewritten from the output instead (then review the change with git diff).
 */
bool compareGolden(const QByteArray& actual, const QString& relativePath, const char* file,
                   int line);

/**
 * The text as a golden file holds it: the test's home folder written as HOME and tests/fixtures
 * as $DATA, so that the file does not depend on where the test ran.
 */
QByteArray portable(QString text, const QString& home = {});

/** Leaves the test function when a comparison that reports its own failure failed. */
#define RETURN_UNLESS(passed)                                                                      \
    do {                                                                                           \
        if (!(passed))                                                                             \
            return;                                                                                \
    } while (false)

#define COMPARE_GOLDEN(actual, relativePath)                                                       \
    RETURN_UNLESS(compareGolden(actual, relativePath, __FILE__, __LINE__))
