// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class Workspace;

/**
 * Where the program saves a file the operator names: the save dialog proposes a name in the
 * folder of the last save (at first the documents folder), and the folder chosen is kept in
 * the settings for the next one.
 */
namespace SaveLocation {

/** A piece of a proposed file name: the text with blanks and the characters a file name
 *  cannot hold made dashes. */
QString namePart(const QString& text);

/**
 * Asks for the file: the title, the file types (the first chosen), the proposed name in the
 * folder of the last save; replacing an existing file asks first unless told not to. The path
 * chosen, trimmed, its folder kept; nothing when cancelled.
 */
std::optional<QString> ask(Workspace& ws, const QString& title, const QStringList& filters,
                           const QString& name, bool confirmReplace = true);

/** What the operator is told once the file is written: "Guardado en FILE". */
QString savedTo(const QString& path);

} // namespace SaveLocation
