// SPDX-License-Identifier: Apache-2.0
#include "components/SuffixValidator.h"

#include "components/AppError.h"
#include "components/EntityDirectory.h"
#include "data/Nomenclator.h"

#include <QHash>
#include <QMap>
#include <QMultiHash>

#include <algorithm>

namespace {

constexpr int Valid = 0;
constexpr int PositionUnknown = 1;
constexpr int SuffixesInvalid = 2;

using Groups = SuffixValidator::Groups;

/** Entries of a suffix string: split at each "-" outside parentheses, empty pieces dropped. */
QStringList splitEntries(const QString& suffixes)
{
    QStringList entries;
    QString current;
    int depth = 0;
    for (const QChar c : suffixes) {
        if (c == QLatin1Char('('))
            ++depth;
        else if (c == QLatin1Char(')') && depth > 0)
            --depth;
        if (c == QLatin1Char('-') && depth == 0) {
            entries << current;
            current.clear();
        } else {
            current += c;
        }
    }
    entries << current;
    QStringList result;
    for (const QString& e : std::as_const(entries)) {
        const QString trimmed = e.trimmed();
        if (!trimmed.isEmpty())
            result << trimmed;
    }
    return result;
}

bool validFreeValue(const QString& code, const QString& value)
{
    if (value.trimmed().isEmpty())
        return false;
    if (code.startsWith(QLatin1Char('Z'))) {
        if (value.size() != 6)
            return false;
        return std::all_of(value.begin(), value.end(),
                           [](QChar c) { return c.isDigit() && c.unicode() < 128; });
    }
    if (value.size() > 20)
        return false;
    return std::all_of(value.begin(), value.end(), [](QChar c) {
        return c == QLatin1Char(' ') || Nomenclator::CaracterValido(c) == c;
    });
}

/** The rules of the suffixes, given the position's groups (nothing: not in the nomenclator). */
SuffixVerdict judge(const std::optional<Groups>& groups, const QString& suffixes)
{
    if (!groups)
        return {SuffixFault::PositionMissing, {}};
    const QString text = suffixes.trimmed();
    if (groups->isEmpty())
        return (text.isEmpty() || text == QLatin1String("-") ||
                text == QLatin1String("SIN SUFIJOS"))
                   ? SuffixVerdict{}
                   : SuffixVerdict{SuffixFault::NotRequired, text};
    if (text.isEmpty() || text == QLatin1String("SIN SUFIJOS"))
        return {SuffixFault::GroupMissing, groups->firstKey()};

    QMap<QString, int> seen;
    const QStringList entries = splitEntries(text);
    for (const QString& entry : entries) {
        const QString code = entry.left(2);
        const auto group = groups->constFind(code);
        if (group == groups->constEnd())
            return {SuffixFault::GroupUnknown, code};
        if (entry.size() >= 4 && entry.at(2) == QLatin1Char('(') &&
            entry.endsWith(QLatin1Char(')'))) {
            if (!group->freeValue)
                return {SuffixFault::GroupUnknown, code};
            if (!validFreeValue(code, entry.mid(3, entry.size() - 4)))
                return {SuffixFault::ValueMalformed, entry};
        } else if (entry.size() == 4) {
            const QString option = entry.mid(2);
            if (group->freeValue)
                return {SuffixFault::GroupUnknown, code};
            if (option != QLatin1String("00") && !group->options.contains(option))
                return {SuffixFault::ValueMalformed, entry};
        } else {
            return {SuffixFault::ValueMalformed, entry};
        }
        if (++seen[code] > 1)
            return {SuffixFault::GroupRepeated, entry};
    }
    for (auto group = groups->keyBegin(); group != groups->keyEnd(); ++group) {
        if (!seen.contains(*group))
            return {SuffixFault::GroupMissing, *group};
    }
    return {};
}

} // namespace

SuffixValidator::SuffixValidator() = default;

SuffixValidator::~SuffixValidator()
{
    // Statements go before the connection they run on.
    m_findPosition.reset();
    m_findSuffixes.reset();
    m_findLetter.reset();
}

void SuffixValidator::ConexionString(const EntityDirectory& directory)
{
    m_findPosition.reset();
    m_findSuffixes.reset();
    m_findLetter.reset();
    m_lastPosition.reset();
    m_knownPositions.clear();
    m_knownSuffixes.clear();
    m_ncm = directory.getDataConnectionByEntity(QStringLiteral("NCM"));
    m_findPosition = std::make_unique<DataSession::Statement>(
        *m_ncm,
        QStringLiteral("select [001] from ncm where [001] = ? and [002] = ? and [003] = ?"));
    m_findSuffixes = std::make_unique<DataSession::Statement>(
        *m_ncm, QStringLiteral("select sufijo from sufidos where sim in (?, ?, ?, ?)"));
    m_findLetter = std::make_unique<DataSession::Statement>(
        *m_ncm, QStringLiteral("select [003] as letter from ncm where [001] = ? and [002] = ?"));
}

int SuffixValidator::ValidarSufijos(const QString& position, const QString& suffixes)
{
    switch (judge(requiredGroups(position), suffixes).fault) {
    case SuffixFault::None:
        return Valid;
    case SuffixFault::PositionMissing:
    case SuffixFault::CheckLetterWrong:
        return PositionUnknown;
    default:
        return SuffixesInvalid;
    }
}

SuffixVerdict SuffixValidator::diagnose(const QString& position, const QString& suffixes)
{
    const QString pos = position.trimmed();
    if (!m_ncm || m_lastPosition != pos) {
        m_lastGroups = requiredGroups(pos);
        m_lastPosition = pos;
    }
    SuffixVerdict verdict = judge(m_lastGroups, suffixes);
    RecordSet rs;
    if (verdict.fault == SuffixFault::PositionMissing && pos.size() == 15 &&
        m_findLetter->CrearRs(
            rs, {Nomenclator::positionDigits(pos), Nomenclator::statisticalOpening(pos)}))
        verdict = {SuffixFault::CheckLetterWrong, rs.Fields(QStringLiteral("letter")).toString()};
    return verdict;
}

std::optional<Groups> SuffixValidator::requiredGroups(const QString& position)
{
    requireConnection();
    const QString pos = position.trimmed();
    if (pos.size() != 15 || !positionExists(pos))
        return std::nullopt;

    Groups groups;
    for (const QString& row : suffixRows(pos)) {
        const QString code = row.trimmed();
        if (code.size() == 2) {
            groups[code].freeValue = true;
        } else if (code.size() == 4) {
            Group& g = groups[code.left(2)];
            g.options << code.mid(2);
        }
    }
    return groups;
}

void SuffixValidator::requireConnection() const
{
    if (!m_ncm)
        throw AppError(-1,
                       QStringLiteral("El validador de sufijos no tiene conexión al nomenclador."),
                       QStringLiteral("SuffixValidator"));
}

bool SuffixValidator::positionExists(const QString& position)
{
    if (const auto known = m_knownPositions.constFind(position);
        known != m_knownPositions.constEnd())
        return *known;
    RecordSet rs;
    return m_findPosition->CrearRs(rs, {Nomenclator::positionDigits(position),
                                        Nomenclator::statisticalOpening(position),
                                        Nomenclator::checkLetter(position)});
}

QStringList SuffixValidator::suffixRows(const QString& position)
{
    const QStringList keys = Nomenclator::levelKeys(position);
    QStringList rows;
    for (qsizetype i = 0; i < keys.size(); ++i) {
        const auto known = m_knownSuffixes.constFind(keys.at(i));
        if (known == m_knownSuffixes.constEnd()) {
            // Not read ahead: one select under the four keys.
            RecordSet rs;
            m_findSuffixes->CrearRs(rs, {keys.at(0), keys.at(1), keys.at(2), keys.at(3)});
            rows.clear();
            for (; !rs.Eof(); rs.MoveNext())
                rows << rs.Fields(QStringLiteral("sufijo")).toString();
            return rows;
        }
        if (keys.indexOf(keys.at(i)) == i) // a key given twice selects its rows once
            rows << *known;
    }
    return rows;
}

void SuffixValidator::prefetch(const QStringList& positions)
{
    requireConnection();
    // Each position's three columns go in; those of the positions found come back.
    QMultiHash<QString, QString> byColumns;
    QVariantList columns;
    for (const QString& position : positions) {
        const QString pos = position.trimmed();
        if (pos.size() != 15 || m_knownPositions.contains(pos))
            continue;
        m_knownPositions.insert(pos, false);
        const QString digits = Nomenclator::positionDigits(pos);
        const QString opening = Nomenclator::statisticalOpening(pos);
        const QString letter = Nomenclator::checkLetter(pos);
        if (!byColumns.contains(digits + opening + letter))
            columns << digits << opening << letter;
        byColumns.insert(digits + opening + letter, pos);
    }
    QVariantList levelKeys;
    m_ncm->selectByKeys(
        QStringLiteral("with k(a, b, c) as (values %1) select a, b, c from k where exists "
                       "(select 1 from ncm where [001] = k.a and [002] = k.b and [003] = k.c)"),
        3, columns, [&](const RecordSet& rs, qsizetype, qsizetype) {
            for (qsizetype r = 0; r < rs.RecordCount(); ++r) {
                const QVector<QVariant>& row = rs.row(r);
                const QString found =
                    row.at(0).toString() + row.at(1).toString() + row.at(2).toString();
                for (const QString& pos : byColumns.values(found)) {
                    m_knownPositions[pos] = true;
                    for (const QString& key : Nomenclator::levelKeys(pos)) {
                        if (!m_knownSuffixes.contains(key)) {
                            m_knownSuffixes.insert(key, {});
                            levelKeys << key;
                        }
                    }
                }
            }
        });
    // The suffix rows under the level keys of the positions found.
    m_ncm->selectByKeys(QStringLiteral("with k(s) as (values %1) select k.s, sufidos.sufijo "
                                       "from k join sufidos on sufidos.sim = k.s"),
                        1, levelKeys, [this](const RecordSet& rs, qsizetype, qsizetype) {
                            for (qsizetype r = 0; r < rs.RecordCount(); ++r) {
                                const QVector<QVariant>& row = rs.row(r);
                                m_knownSuffixes[row.at(0).toString()] << row.at(1).toString();
                            }
                        });
}
