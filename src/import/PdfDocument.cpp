// SPDX-License-Identifier: Apache-2.0
// PDF files with a text layer, through Poppler. Poppler's own layout text moves columns by a
// place or two from line to line; an invoice's fields are columns, so each line is rebuilt here
// from where its glyphs stand: a line is a baseline, a word's column its distance from the
// left margin in advances of the page's fixed-pitch font, its glyphs in the columns after it.
// Poppler is used from a module of its own, loaded on the first PDF read.
// libgsf before any Qt header (glib's `signals`).
#include "import/GsfLibrary.h"

#include "PdfModule.h"
#include "components/SharedLibrary.h"
#include "import/WordFormats.h"
#include "import/pdf/PdfText.h"

#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>

#include <algorithm>
#include <cmath>
#include <exception>
#include <limits>
#include <map>

namespace WordReader::detail {
namespace {

// What Poppler finds odd in a file it writes on standard error, in English; the reader's own
// refusal tells the operator. Those lines go to this category, quiet unless enabled.
Q_LOGGING_CATEGORY(popplerLog, "aduplan.pdf", QtInfoMsg)

void toPopplerLog(const char* message)
{
    qCDebug(popplerLog, "%s", message);
}

/**
 * The module's path: the build's for a program of the build (tests included, wherever their
 * executables are), else the one the package installs beside the programs' folder.
 */
QString modulePath()
{
    const QString program = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    const QString build = QFileInfo(QStringLiteral(ADUPLAN_BINARY_DIR)).canonicalFilePath();
    if (!build.isEmpty() && program.startsWith(build + QLatin1Char('/')))
        return QStringLiteral(ADUPLAN_PDF_MODULE_BUILT);
    return QDir::cleanPath(QFileInfo(program).absolutePath() +
                           QStringLiteral("/" ADUPLAN_PDF_MODULE_INSTALLED));
}

using PdfRead = decltype(&aduplan_pdf_read);

/** The module's entry point, taken once; raises an AppError naming the module when unusable. */
PdfRead pdfRead()
{
    static const PdfRead read = [] {
        SharedLibrary library(modulePath(), -1, QStringLiteral("de lectura de PDF"));
        PdfRead found = nullptr;
        library.take(found, "aduplan_pdf_read");
        return found;
    }();
    return read;
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
Page linesOf(const AduplanPdfGlyph* pageGlyphs, std::size_t count)
{
    struct Word {
        float x;
        float baseline;
        std::size_t first; ///< its glyphs: [first, end) of `glyphs`
        std::size_t end;
    };
    std::vector<Glyph> glyphs;
    std::vector<Word> words;
    std::size_t first = 0;
    const auto endWord = [&] {
        if (glyphs.size() > first)
            words.push_back({glyphs[first].x, glyphs[first].baseline, first, glyphs.size()});
        first = glyphs.size();
    };
    for (std::size_t i = 0; i < count; ++i) {
        const AduplanPdfGlyph& g = pageGlyphs[i];
        if (g.startsWord)
            endWord();
        if (!(g.width > 0 && g.width < kMaxCoordinate && std::abs(g.x) < kMaxCoordinate &&
              std::abs(g.bottom) < kMaxCoordinate))
            continue; // a glyph Poppler places nowhere
        glyphs.push_back({float(g.x), float(g.bottom), float(g.width), g.code});
    }
    endWord();
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
    const Gsf& lib = gsf();
    const gsf_off_t size = lib.inputSize(input);
    if (size > std::numeric_limits<int>::max())
        refuse(TooLarge, QStringLiteral("PDF de %1 bytes").arg(size));
    QByteArray data(qsizetype(size), Qt::Uninitialized);
    if (!lib.inputRead(input, size_t(size), reinterpret_cast<guint8*>(data.data())))
        refuse(Damaged, QStringLiteral("PDF ilegible"));

    struct Pages {
        std::vector<Page> pages;
        std::size_t glyphs = 0;
        std::exception_ptr failure; ///< raised while taking a page, raised again here
    } taken;
    const auto takePage = [](void* context, const AduplanPdfGlyph* glyphs, std::size_t count) {
        auto& to = *static_cast<Pages*>(context);
        try {
            Page lines = linesOf(glyphs, count);
            for (const auto& line : lines)
                to.glyphs += line.size();
            if (to.glyphs > std::size_t(kMaxDocumentSize / 2))
                refuse(TooLarge, QStringLiteral("más de %1 glifos").arg(to.glyphs));
            to.pages.push_back(std::move(lines));
            return 0;
        } catch (...) {
            to.failure = std::current_exception();
            return 1;
        }
    };
    const AduplanPdfReader reader{&taken, takePage, toPopplerLog};
    int failedPage = 0;
    switch (pdfRead()(data.constData(), int(data.size()), &reader, &failedPage)) {
    case ADUPLAN_PDF_DAMAGED:
        refuse(Damaged, QStringLiteral("Poppler no abre el PDF"));
    case ADUPLAN_PDF_LOCKED:
        refuse(Encrypted, QStringLiteral("PDF protegido con contraseña"));
    case ADUPLAN_PDF_PAGE_DAMAGED:
        refuse(Damaged, QStringLiteral("página %1 ilegible").arg(failedPage + 1));
    case ADUPLAN_PDF_STOPPED:
        std::rethrow_exception(taken.failure);
    default:
        break;
    }
    if (taken.glyphs == 0)
        refuse(NoTextLayer);
    return layOut(taken.pages);
}

} // namespace WordReader::detail
