#pragma once

#include <QString>
#include <QVariant>

/** Value tests used when reading fields. */
class FormatService {
public:
    /** The value as a number; 0 when it is NULL or not numeric. */
    double EsNumero(const QVariant& value) const;
    /** The value as text; the empty text (bound as such, not as NULL) when it is NULL. */
    QString EsNull(const QVariant& value) const;
    /**
     * A number in its general text form: as many decimals as it needs, no thousands
     * separator, the decimal separator of the user's regional settings.
     */
    QString generalNumber(double value) const;
};
