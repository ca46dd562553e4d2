// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QString>

/**
 * Temporary files that stand beside a target while it is written, named after the target and
 * the process that writes them: "TARGET.PID.tmp" (a database written there may add its
 * journal, "TARGET.PID.tmp-journal"). Once complete the file takes the target's place. A run
 * killed midway leaves its files behind; the next write of the same target removes them.
 */
namespace TemporaryFile {

/**
 * The name under which this process writes `target`, once the temporary files beside it that
 * no process writes any more are removed: those of a process that is gone, those under this
 * process's own number (it writes a target once at a time, so they come from a former process
 * that had the same number) and those untouched for an hour (a live process may have taken the
 * number of a dead writer; a writer finishes within minutes and keeps its file changing).
 */
QString beside(const QString& target);

} // namespace TemporaryFile
