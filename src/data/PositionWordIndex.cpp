// SPDX-License-Identifier: Apache-2.0
#include "data/PositionWordIndex.h"

#include <QHash>

#include <algorithm>

namespace {

constexpr quint8 InDescription = 2;       // [010]
constexpr quint8 InSecondDescription = 1; // [004]

} // namespace

PositionWordIndex::PositionWordIndex(QList<PositionTexts> positions)
    : m_positions(std::move(positions))
{
    std::sort(
        m_positions.begin(), m_positions.end(),
        [](const PositionTexts& a, const PositionTexts& b) { return a.position < b.position; });
    QHash<QString, std::vector<Posting>> postings;
    auto add = [&postings](const QString& text, int position, quint8 field) {
        for (const QString& word : words(text)) {
            std::vector<Posting>& list = postings[word];
            if (!list.empty() && list.back().position == position)
                list.back().fields |= field;
            else
                list.push_back({position, field});
        }
    };
    for (int i = 0; i < m_positions.size(); ++i) {
        add(m_positions.at(i).description, i, InDescription);
        add(m_positions.at(i).secondDescription, i, InSecondDescription);
    }
    m_words.reserve(postings.size());
    for (auto it = postings.cbegin(); it != postings.cend(); ++it)
        m_words.push_back(it.key());
    std::sort(m_words.begin(), m_words.end());
    m_postings.reserve(m_words.size());
    for (const QString& word : m_words)
        m_postings.push_back(std::move(postings[word]));
}

QStringList PositionWordIndex::words(const QString& text)
{
    const QString plain = text.normalized(QString::NormalizationForm_D).toCaseFolded();
    QStringList found;
    QString word;
    for (const QChar c : plain) {
        if (c.isLetterOrNumber()) {
            word += c;
        } else if (c.category() != QChar::Mark_NonSpacing && !word.isEmpty()) {
            found << word;
            word.clear();
        }
    }
    if (!word.isEmpty())
        found << word;
    return found;
}

QList<PositionLine> PositionWordIndex::find(const QString& text, int limit) const
{
    QStringList wanted = words(text);
    wanted.removeDuplicates();
    if (wanted.isEmpty())
        return {};
    const auto count = size_t(m_positions.size());
    std::vector<int> score(count, 0);
    std::vector<int> matched(count, 0); // how many of the wanted words each position holds
    std::vector<int> best(count, 0);
    for (int k = 0; k < wanted.size(); ++k) {
        const QString& query = wanted.at(k);
        std::fill(best.begin(), best.end(), 0);
        for (auto w = std::lower_bound(m_words.begin(), m_words.end(), query);
             w != m_words.end() && w->startsWith(query); ++w) {
            const int whole = *w == query ? 1 : 0;
            for (const Posting& p : m_postings.at(size_t(w - m_words.begin()))) {
                const int points = (p.fields & InDescription ? 4 : 1) + whole;
                best[size_t(p.position)] = std::max(best[size_t(p.position)], points);
            }
        }
        for (size_t p = 0; p < count; ++p) {
            if (best[p] > 0 && matched[p] == k) {
                ++matched[p];
                score[p] += best[p];
            }
        }
    }
    std::vector<int> hits;
    for (size_t p = 0; p < count; ++p) {
        if (matched[p] == int(wanted.size()))
            hits.push_back(int(p));
    }
    // Positions are indexed in position order: a stable sort keeps it among equal scores.
    std::stable_sort(hits.begin(), hits.end(),
                     [&score](int a, int b) { return score[size_t(a)] > score[size_t(b)]; });
    QList<PositionLine> lines;
    for (int p : hits) {
        if (lines.size() >= limit)
            break;
        lines << PositionLine{m_positions.at(p).position, m_positions.at(p).description};
    }
    return lines;
}

std::optional<QString> PositionWordIndex::description(const QString& position) const
{
    const auto it = std::lower_bound(
        m_positions.cbegin(), m_positions.cend(), position,
        [](const PositionTexts& p, const QString& wanted) { return p.position < wanted; });
    if (it == m_positions.cend() || it->position != position)
        return std::nullopt;
    return it->description;
}
