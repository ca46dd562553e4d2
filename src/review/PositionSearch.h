// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "data/NomenclatorTables.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class Workspace;

/** A position as the search window's details show it. */
struct PositionDetailsView {
    /** The nomenclator's row; nothing when it has none. */
    std::optional<PositionDetails> position;
    /** The codes stored under the position's four level keys, in code order. */
    QList<SuffixCode> suffixes;
    /** Whether the nomenclator could not be read (the operator was told why). */
    bool failed = false;
};

/**
 * The position search of the record editor: positions by the beginning of their number (each
 * "." standing for any run of characters) or by the words of their descriptions, and the
 * details of one position. The hourglass shows while the nomenclator is read; a search that
 * finds nothing, and a failure, are told to the operator.
 */
class PositionSearch {
public:
    /** The longest search text by number: the ten characters of [001]. */
    static constexpr int NumberLength = 10;
    static const QString NotFound;

    explicit PositionSearch(Workspace& ws);

    /**
     * The LIKE pattern of a search text: every "." any run of characters, anything after the
     * text; "%", "_" and "!" stand for themselves ("!" is the escape character).
     */
    static QString pattern(const QString& text);
    /** The position a line of the list stands for: its text up to the first blank. */
    static QString positionOf(const QString& line);
    /** "descrip", two line breaks, "descrip1". */
    static QString descriptionText(const PositionDetails& details);
    /** The code padded with blanks to five characters, then the detail, both trimmed. */
    static QString suffixLine(const SuffixCode& suffix);

    /** The positions whose number begins as the text says; nothing for a blank text. */
    QList<PositionLine> search(const QString& text);
    /** The positions whose descriptions hold every word of the text (PositionWordIndex). */
    QList<PositionLine> findWords(const QString& text);
    /** The descriptions and suffixes of a 15-character position text. */
    PositionDetailsView MostrarDatos(const QString& position);

private:
    /**
     * The lines read, under the hourglass; "Posición no encontrada." when there are none, the
     * failure's description, then its number and "Sección []", when the read fails (then no
     * line).
     */
    QList<PositionLine> run(const std::function<QList<PositionLine>()>& read);

    Workspace& m_ws;
};
