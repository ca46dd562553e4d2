// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QString>
#include <QStringView>

/** How failures and echoed input are written for the operator, in one place. */
namespace OperatorText {

/**
 * A failure as the operator reads it: the sentence first (what failed, which database or file,
 * what to do), then the engine's or the system's own text on a line of its own as detail.
 */
QString failure(const QString& sentence, const QString& detail);

/**
 * A file that could not be written: its path, what became of it (`outcome`, a sentence, may be
 * empty), what to check, and the system's text as detail.
 */
QString fileNotWritten(const QString& path, const QString& detail, const QString& outcome = {});

/**
 * A text the operator typed or a file held, fit to be echoed in a message: control characters
 * and the characters that turn text around are shown as escapes ("\x1b", "\u202e"), so that
 * an echo can neither drive the terminal nor disguise itself. Other text stays as it is.
 */
QString shown(QStringView text);

} // namespace OperatorText
