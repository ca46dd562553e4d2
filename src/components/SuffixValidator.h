#pragma once

#include "components/DataSession.h"

#include <QString>

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

private:
    std::unique_ptr<DataSession> m_ncm;
    std::unique_ptr<DataSession::Statement> m_findPosition;
    std::unique_ptr<DataSession::Statement> m_findSuffixes;
};
