// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

/**
 * The tariff position text, 15 characters as in "8252.00.00.000B": characters 1-10 the dotted
 * eight-digit position (nomenclator column [001]), 11 a separator, 12-14 the statistical
 * opening ([002]) and 15 the check letter ([003]).
 */
namespace Nomenclator {

/** Characters 1 to 10: column [001]. */
inline QString positionDigits(const QString& position)
{
    return position.left(10);
}
/** Characters 12 to 14: column [002]. */
inline QString statisticalOpening(const QString& position)
{
    return position.mid(11, 3);
}
/** Character 15: column [003]. */
inline QString checkLetter(const QString& position)
{
    return position.mid(14, 1);
}

/**
 * The four 14-character keys under which suffixes are stored for a position, in this order:
 * chapter, heading, subheading, position.
 */
QStringList levelKeys(const QString& position);

/**
 * The character itself when a suffix value may hold it (A to Z, Ñ, 0 to 9, "&", "," or "/");
 * a blank otherwise.
 */
QChar CaracterValido(QChar c);

/**
 * A value typed for a suffix, cleaned: trimmed, upper case, cut to 20 characters, every
 * character that CaracterValido rejects turned into a blank.
 */
QString LimpiarValor(const QString& value);

} // namespace Nomenclator
