#include "components/FormatService.h"

#include <QLocale>

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
    const QString text = value.isNull() ? QString() : value.toString();
    // The empty text, never a null QString: a null one would be bound as NULL.
    return text.isNull() ? QStringLiteral("") : text;
}

QString FormatService::generalNumber(double value) const
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(value, 'f', QLocale::FloatingPointShortest);
}
