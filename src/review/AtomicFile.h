// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QString>

#include <functional>

class QIODevice;

/**
 * Writes a file whole or not at all: the writer fills a temporary file beside the target
 * (TemporaryFile), which then takes the target's place. When the writer returns false, or the
 * file cannot be written, the temporary file is dropped, the former file (if any) stays, and an
 * error is raised that says so, with the cause as its detail.
 */
void writeAtomically(const QString& path, const std::function<bool(QIODevice&)>& writer);

/**
 * Writes a file whole or not at all through a writer that takes a file name: `write` makes the
 * file at the temporary path it is given, or raises an AppError whose description then tells
 * why in the error above.
 */
void writeAtomically(const QString& path, const std::function<void(const QString&)>& write);
