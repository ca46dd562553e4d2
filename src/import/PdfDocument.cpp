// SPDX-License-Identifier: Apache-2.0
// PDF files with a text layer, through Poppler. Poppler's own layout text moves columns by a
// place or two from line to line; an invoice's fields are columns, so each line is rebuilt here
// from where its glyphs stand: a line is a baseline, a word's column its distance from the
// left margin in advances of the page's fixed-pitch font, its glyphs in the columns after it.
// libgsf before any Qt header (glib's `signals`).
#include <gsf/gsf-input.h>

#include "import/WordFormats.h"

#include <poppler/cpp/poppler-document.h>
#include <poppler/cpp/poppler-global.h>
#include <poppler/cpp/poppler-page.h>

#include <QLoggingCategory>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>

namespace WordReader::detail {
namespace {

// What Poppler finds odd in a file it writes on standard error, in English; the reader's own
// refusal tells the operator. Those lines go to this category, quiet unless enabled.
Q_LOGGING_CATEGORY(popplerLog, "aduplan.pdf", QtInfoMsg)

void toPopplerLog(const std::string& message, void*)
{
    qCDebug(popplerLog, "%s", message.c_str());
}

/** The most a line may run to: a glyph placed farther is taken for a broken position. */
constexpr int kMaxColumn = 1 << 12;
/** The most empty lines a gap between two baselines stands for. */
constexpr int kMaxEmptyLines = 200;
/** The farthest a glyph may stand from the page's corner, in points: a page is at most 200 in. */
constexpr double kMaxCoordinate = 14400;

struct Glyph {
    float x;        ///< left edge, points from the page's left
    float baseline; ///< bottom edge, points from the page's top
    float width;
    char16_t code;
};

/** Counts values rounded to hundredths, to find the one most of them have. */
class Tally {
public:
    void add(double value) { ++m_counts[std::llround(value * 100)]; }
    /** The value counted most often, or `fallback` when none was. */
    double most(double fallback) const
    {
        const auto most = std::max_element(m_counts.begin(), m_counts.end(),
                                           [](auto& a, auto& b) { return a.second < b.second; });
        return most == m_counts.end() ? fallback : double(most->first) / 100;
    }

private:
    std::map<long long, int> m_counts;
};

using Line = std::vector<Glyph>;
using Page = std::vector<Line>; ///< top to bottom

/**
 * The lines of one page: its words (Poppler's text boxes) ordered by baseline, then from the
 * left, a word within a point of the line's first baseline on that line; in each line the
 * glyphs from the left. Words are ordered rather than glyphs, a tenth as many.
 */
Page linesOf(const poppler::page& page)
{
    struct Word {
        float x;
        float baseline;
        std::size_t first; ///< its glyphs: [first, end) of `glyphs`
        std::size_t end;
    };
    std::vector<Glyph> glyphs;
    std::vector<Word> words;
    for (const poppler::text_box& box : page.text_list()) {
        const poppler::ustring text = box.text();
        const std::size_t first = glyphs.size();
        for (std::size_t i = 0; i < text.size(); ++i) {
            const poppler::rectf r = box.char_bbox(i);
            if (!(r.width() > 0 && r.width() < kMaxCoordinate && std::abs(r.x()) < kMaxCoordinate &&
                  std::abs(r.bottom()) < kMaxCoordinate))
                continue; // a glyph Poppler places nowhere
            glyphs.push_back({float(r.x()), float(r.bottom()), float(r.width()), text[i]});
        }
        if (glyphs.size() > first)
            words.push_back({glyphs[first].x, glyphs[first].baseline, first, glyphs.size()});
    }
    std::sort(words.begin(), words.end(), [](const Word& a, const Word& b) {
        return a.baseline != b.baseline ? a.baseline < b.baseline : a.x < b.x;
    });

    Page lines;
    float baseline = 0;
    for (const Word& word : words) {
        if (lines.empty() || word.baseline - baseline > 1.0f) {
            lines.emplace_back();
            baseline = word.baseline;
        }
        lines.back().insert(lines.back().end(), glyphs.begin() + std::ptrdiff_t(word.first),
                            glyphs.begin() + std::ptrdiff_t(word.end));
    }
    const auto fromTheLeft = [](const Glyph& a, const Glyph& b) {
        return a.x < b.x;
    };
    for (Line& line : lines) {
        if (!std::is_sorted(line.begin(), line.end(), fromTheLeft))
            std::stable_sort(line.begin(), line.end(), fromTheLeft);
    }
    return lines;
}

/** The text of the pages, each line ended by a carriage return, as the Word reader's body. */
QString layOut(const std::vector<Page>& pages)
{
    // The font's advance is the width most glyphs have, the margin the leftmost glyph, the
    // line pitch the distance most baselines have from the one above.
    Tally widths;
    Tally gaps;
    double margin = kMaxCoordinate;
    for (const Page& page : pages) {
        for (std::size_t i = 0; i < page.size(); ++i) {
            for (const Glyph& glyph : page[i])
                widths.add(glyph.width);
            margin = std::min(margin, double(page[i].front().x));
            if (i > 0)
                gaps.add(page[i].front().baseline - page[i - 1].front().baseline);
        }
    }
    const double advance = std::max(widths.most(1.0), 0.01);
    const double pitch = std::max(gaps.most(kMaxCoordinate), 1.0);

    QString text;
    for (const Page& page : pages) {
        for (std::size_t i = 0; i < page.size(); ++i) {
            if (i > 0) {
                const double gap = page[i].front().baseline - page[i - 1].front().baseline;
                const auto empty =
                    std::clamp<long>(std::lround(gap / pitch) - 1, 0, kMaxEmptyLines);
                text.append(QString(qsizetype(empty), QLatin1Char('\r')));
            }
            // A glyph standing apart from the one before it (by more than a quarter of an
            // advance: a blank) starts a word, which stands where its glyph is and at least a
            // blank after the word before; the other glyphs follow the one before, a column
            // each. In a fixed-pitch font that is where they stand; in a proportional one
            // their own places would split words at wide letters and run words together.
            const qsizetype start = text.size();
            double end = -std::numeric_limits<double>::infinity(); // where the glyph before ends
            for (const Glyph& glyph : page[i]) {
                if (glyph.x - end > advance / 4) {
                    const long column =
                        std::clamp<long>(std::lround((glyph.x - margin) / advance), 0, kMaxColumn);
                    const qsizetype at =
                        std::max(start + qsizetype(column), text.size() + (text.size() > start));
                    text.append(QString(at - text.size(), QLatin1Char(' ')));
                }
                text.append(glyph.code == 0xA0 ? QChar(u' ') : QChar(glyph.code));
                end = glyph.x + glyph.width;
            }
            text.append(QLatin1Char('\r'));
            if (text.size() > kMaxDocumentSize / 2)
                refuse(TooLarge, QStringLiteral("texto de más de %1 caracteres").arg(text.size()));
        }
    }
    return text;
}

} // namespace

QString readPdfDocument(GsfInput* input)
{
    static const bool silenced = (poppler::set_debug_error_function(toPopplerLog, nullptr), true);
    Q_UNUSED(silenced);

    const gsf_off_t size = gsf_input_size(input);
    if (size > std::numeric_limits<int>::max())
        refuse(TooLarge, QStringLiteral("PDF de %1 bytes").arg(size));
    QByteArray data(qsizetype(size), Qt::Uninitialized);
    if (!gsf_input_read(input, size_t(size), reinterpret_cast<guint8*>(data.data())))
        refuse(Damaged, QStringLiteral("PDF ilegible"));
    const std::unique_ptr<poppler::document> document(
        poppler::document::load_from_raw_data(data.constData(), int(data.size())));
    if (!document)
        refuse(Damaged, QStringLiteral("Poppler no abre el PDF"));
    // Locked: it needs a user password. A file with only an owner password opens without one;
    // its restrictions (copying, printing, changes) bind viewers, and its text is read.
    if (document->is_locked())
        refuse(Encrypted, QStringLiteral("PDF protegido con contraseña"));

    std::vector<Page> pages;
    std::size_t glyphs = 0;
    for (int i = 0; i < document->pages(); ++i) {
        const std::unique_ptr<poppler::page> page(document->create_page(i));
        if (!page)
            refuse(Damaged, QStringLiteral("página %1 ilegible").arg(i + 1));
        Page lines = linesOf(*page);
        for (const auto& line : lines)
            glyphs += line.size();
        if (glyphs > std::size_t(kMaxDocumentSize / 2))
            refuse(TooLarge, QStringLiteral("más de %1 glifos").arg(glyphs));
        pages.push_back(std::move(lines));
    }
    if (glyphs == 0)
        refuse(NoTextLayer);
    return layOut(pages);
}

} // namespace WordReader::detail
