// SPDX-License-Identifier: Apache-2.0
#include "data/Nomenclator.h"

namespace Nomenclator {

QStringList levelKeys(const QString& position)
{
    return {position.left(2) + QStringLiteral("  .  .  .   "),
            position.left(4) + QStringLiteral(".  .  .   "),
            position.left(7) + QStringLiteral(".  .   "), position.left(14)};
}

QChar CaracterValido(QChar c)
{
    const char16_t u = c.unicode();
    const bool valid = (u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9') || u == u'\u00D1' ||
                       u == u'&' || u == u',' || u == u'/';
    return valid ? c : QLatin1Char(' ');
}

QString LimpiarValor(const QString& value)
{
    QString cleaned = value.trimmed().toUpper().left(20);
    for (QChar& c : cleaned)
        c = CaracterValido(c);
    return cleaned;
}

} // namespace Nomenclator
