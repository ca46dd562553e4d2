// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "components/DataSession.h"

#include <QHash>
#include <QMap>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class EntityDirectory;

/** Why a position and its suffixes fail the check. */
enum class SuffixFault {
    None,
    PositionMissing,  ///< the position is not in the nomenclator
    CheckLetterWrong, ///< its digits and statistical opening are, with another check letter
    GroupMissing,     ///< a required group has no entry
    GroupUnknown,     ///< an entry's group is not required, or not of the entry's kind
    ValueMalformed,   ///< a value or an option that the group does not take, or an entry of
                      ///< no readable form
    GroupRepeated,    ///< a group given twice (a malformed value, told apart in the detail)
    NotRequired,      ///< suffixes on a position that requires none
};

/** The outcome of the check with its subject: the group, the entry or the letter at fault. */
struct SuffixVerdict {
    SuffixFault fault = SuffixFault::None;
    /** GroupMissing, GroupUnknown: the group; ValueMalformed, GroupRepeated: the entry;
     *  CheckLetterWrong: the nomenclator's letter; NotRequired: the suffixes. */
    QString subject;
};

/**
 * Checks a tariff position and its suffix string against the nomenclator ("NCM" entity).
 * ValidarSufijos returns 0 when both are valid, 1 when the position is not in the
 * nomenclator, 2 when the suffixes do not fit the position; a database failure raises.
 */
class SuffixValidator {
public:
    SuffixValidator();
    ~SuffixValidator();

    /** Opens the validator's own connection to the nomenclator through the directory. */
    void ConexionString(const EntityDirectory& directory);
    int ValidarSufijos(const QString& position, const QString& suffixes);
    /**
     * The same check with the reason of a failure, telling a wrong check letter from a missing
     * position. The last position's groups are kept: over entries in position order, each
     * position is read once.
     */
    SuffixVerdict diagnose(const QString& position, const QString& suffixes);
    /** The validator's connection (after ConexionString). */
    DataSession& nomenclator() { return *m_ncm; }

    /** A group the position requires: a free value, or one of its options ("00" included). */
    struct Group {
        bool freeValue = false;
        QStringList options;
    };
    using Groups = QMap<QString, Group>;

    /**
     * Reads ahead, in a few selects, what the checks need for these positions: their
     * nomenclator rows and the suffix rows under their level keys. Later calls for them read
     * nothing more: the nomenclator is taken not to change meanwhile.
     */
    void prefetch(const QStringList& positions);

private:
    void requireConnection() const;
    bool positionExists(const QString& position);
    /** The `sufijo` of every suffix row under the position's level keys. */
    QStringList suffixRows(const QString& position);
    /** The position's groups by code; nothing when it is not in the nomenclator. */
    std::optional<Groups> requiredGroups(const QString& position);

    QHash<QString, bool> m_knownPositions;       ///< by trimmed position
    QHash<QString, QStringList> m_knownSuffixes; ///< `sufijo` rows by level key
    std::unique_ptr<DataSession> m_ncm;
    std::unique_ptr<DataSession::Statement> m_findPosition;
    std::unique_ptr<DataSession::Statement> m_findSuffixes;
    std::unique_ptr<DataSession::Statement> m_findLetter;
    std::optional<QString> m_lastPosition;
    std::optional<Groups> m_lastGroups;
};
