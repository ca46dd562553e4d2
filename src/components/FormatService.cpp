// SPDX-License-Identifier: Apache-2.0
#include "components/FormatService.h"

#include <QLocale>

#include <algorithm>
#include <cmath>

namespace {

bool digitsOnly(const QString& text)
{
    return std::all_of(text.begin(), text.end(),
                       [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); });
}

} // namespace

double FormatService::EsNumero(const QVariant& value) const
{
    if (value.isNull())
        return 0;
    bool ok = false;
    const double number = value.toDouble(&ok);
    if (ok)
        return number;
    const double fromText = value.toString().trimmed().toDouble(&ok);
    return ok ? fromText : 0;
}

QString FormatService::EsNull(const QVariant& value) const
{
    return EsNull(value.isNull() ? QString() : value.toString());
}

QString FormatService::EsNull(const QString& text) const
{
    // The empty text, never a null QString: a null one would be bound as NULL.
    return text.isNull() ? QStringLiteral("") : text;
}

QString FormatService::generalNumber(double value) const
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(value, 'f', QLocale::FloatingPointShortest);
}

std::optional<double> FormatService::typedNumber(const QString& text) const
{
    const QLocale locale;
    QString number = text.trimmed();
    const bool negative = number.startsWith(locale.negativeSign());
    if (negative)
        number.remove(0, locale.negativeSign().size());
    else if (number.startsWith(locale.positiveSign()))
        number.remove(0, locale.positiveSign().size());
    const qsizetype separator = number.indexOf(locale.decimalPoint());
    const QString whole = separator < 0 ? number : number.left(separator);
    const QString decimals =
        separator < 0 ? QString() : number.mid(separator + locale.decimalPoint().size());
    if ((whole.isEmpty() && decimals.isEmpty()) || !digitsOnly(whole) || !digitsOnly(decimals))
        return std::nullopt;
    bool ok = false;
    const double value =
        (QLatin1Char('0') + whole + QLatin1Char('.') + decimals + QLatin1Char('0')).toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return negative ? -value : value;
}
