// SPDX-License-Identifier: Apache-2.0
#include "data/TradeGlossary.h"

#include <QFile>

#include <algorithm>

namespace {

/** The shortest word kept outside the glossary, and in a translation. */
constexpr qsizetype ShortestWord = 3;
/** What a word the glossary does not know counts for, against a glossary phrase. */
constexpr double UnknownWord = 0.5;
/** What the goods' own word counts for (TradeGlossary::concepts). */
constexpr double GoodsWord = 1.5;

} // namespace

const TradeGlossary& TradeGlossary::standard()
{
    static const TradeGlossary glossary([] {
        QFile file(QStringLiteral(":/glossary/trade-glossary.txt"));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }());
    return glossary;
}

TradeGlossary::TradeGlossary(const QString& text)
{
    for (const QString& line : text.split(u'\n')) {
        const qsizetype tab = line.indexOf(u'\t');
        if (line.startsWith(u'#') || tab < 0)
            continue;
        const QStringList english = PositionWordIndex::terms(line.left(tab));
        QStringList spanish = PositionWordIndex::terms(line.mid(tab + 1));
        spanish.removeDuplicates();
        // "de", "y", "o", "a", "en": joining words, held by most positions.
        spanish.removeIf([](const QString& term) { return term.size() < ShortestWord; });
        if (english.isEmpty() || english.size() > LongestPhrase || spanish.isEmpty())
            continue;
        QList<QStringList>& translations = m_translations[english.join(u' ')];
        if (!translations.contains(spanish))
            translations << spanish;
    }
}

QList<PositionWordIndex::Concept> TradeGlossary::concepts(const QString& description,
                                                          QStringList* goodsTerms) const
{
    const QStringList terms = PositionWordIndex::terms(description);
    const auto firstSize = std::find_if(terms.cbegin(), terms.cend(), [](const QString& term) {
        return std::any_of(term.cbegin(), term.cend(), [](QChar c) { return c.isDigit(); });
    });
    QList<PositionWordIndex::Concept> found;
    qsizetype goods = -1; // the last concept the glossary knows before the first size
    for (qsizetype k = 0; k < terms.size();) {
        qsizetype length = std::min(LongestPhrase, terms.size() - k);
        for (; length > 0; --length) {
            const QStringList phrase = terms.mid(k, length);
            const auto it = m_translations.constFind(phrase.join(u' '));
            if (it != m_translations.cend()) {
                if (k < firstSize - terms.cbegin())
                    goods = found.size();
                found << PositionWordIndex::Concept{QList<QStringList>(*it) << phrase};
                break;
            }
        }
        if (length == 0) {
            const QString& word = terms.at(k);
            if (word.size() >= ShortestWord &&
                std::all_of(word.cbegin(), word.cend(), [](QChar c) { return c.isLetter(); }))
                found << PositionWordIndex::Concept{{QStringList{word}}, UnknownWord};
            length = 1;
        }
        k += length;
    }
    if (goods >= 0 && firstSize != terms.cend()) {
        found[goods].weight = GoodsWord;
        if (goodsTerms)
            *goodsTerms = found.at(goods).translations.last();
    }
    return found;
}
