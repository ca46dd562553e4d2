#pragma once

#include "components/DataSession.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <memory>

class EntityDirectory;

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
    /** The validator's connection (after ConexionString). */
    DataSession& nomenclator() { return *m_ncm; }

    /**
     * Reads ahead, in a few selects, what ValidarSufijos needs for these positions: their
     * nomenclator rows and the suffix rows under their level keys. Later calls for them read
     * nothing more: the nomenclator is taken not to change meanwhile.
     */
    void prefetch(const QStringList& positions);

private:
    void requireConnection() const;
    bool positionExists(const QString& position);
    /** The `sufijo` of every suffix row under the position's level keys. */
    QStringList suffixRows(const QString& position);

    QHash<QString, bool> m_knownPositions;       ///< by trimmed position
    QHash<QString, QStringList> m_knownSuffixes; ///< `sufijo` rows by level key
    std::unique_ptr<DataSession> m_ncm;
    std::unique_ptr<DataSession::Statement> m_findPosition;
    std::unique_ptr<DataSession::Statement> m_findSuffixes;
};
