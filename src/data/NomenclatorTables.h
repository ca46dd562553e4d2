#pragma once

#include "components/DataSession.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>

/** A position of the nomenclator as the record editor confirms it. */
struct NomenclatorPosition {
    QVariant statisticalUnit; ///< [012]
    QVariant lapi;            ///< [059]: "*" when the position is subject to LAPI
    QString description;      ///< [010]
};

/** A suffix code stored for a position and its text (the question, or the option's name). */
struct SuffixCode {
    QString code;
    QString detail;
};

/**
 * The reads of the record editor on the nomenclator (tables ncm and sufidos). Suffix groups
 * and their codes come in code order.
 */
class NomenclatorTables {
public:
    explicit NomenclatorTables(DataSession& nomenclator);

    /** The row of [001], [002] and [003]; nothing when there is none. */
    std::optional<NomenclatorPosition> position(const QString& digits, const QString& opening,
                                                const QString& letter);
    /** The distinct first two characters of the codes stored under the four level keys. */
    QStringList suffixGroups(const QStringList& levelKeys);
    /** The codes of a group stored under the four level keys. */
    QList<SuffixCode> suffixCodes(const QStringList& levelKeys, const QString& group);

private:
    DataSession& m_ncm;
};
