// SPDX-License-Identifier: Apache-2.0
#include "components/OperatorText.h"

#include <QDir>

namespace OperatorText {

namespace {

/**
 * Whether the character is written as an escape: control characters, line separators and the
 * marks that turn text around.
 */
bool escaped(char16_t c)
{
    return c < 0x20 || (c >= 0x7f && c < 0xa0) || c == 0x200e || c == 0x200f ||
           (c >= 0x2028 && c <= 0x202e) || (c >= 0x2066 && c <= 0x2069);
}

} // namespace

QString failure(const QString& sentence, const QString& detail)
{
    if (detail.trimmed().isEmpty())
        return sentence;
    return sentence + QStringLiteral("\nDetalle: ") + detail.trimmed();
}

QString fileNotWritten(const QString& path, const QString& detail, const QString& outcome)
{
    QString sentence = QStringLiteral("No se pudo escribir el archivo %1.")
                           .arg(shown(QDir::toNativeSeparators(path)));
    if (!outcome.isEmpty())
        sentence += u' ' + outcome;
    sentence += QStringLiteral(" Revise que la carpeta exista, que se pueda escribir en ella y que "
                               "haya espacio libre.");
    return failure(sentence, detail);
}

QString shown(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (!escaped(c.unicode()))
            out += c;
        else if (c.unicode() < 0x100)
            out += QStringLiteral("\\x%1").arg(int(c.unicode()), 2, 16, QLatin1Char('0'));
        else
            out += QStringLiteral("\\u%1").arg(int(c.unicode()), 4, 16, QLatin1Char('0'));
    }
    return out;
}

} // namespace OperatorText
