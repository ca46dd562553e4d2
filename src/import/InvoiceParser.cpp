// SPDX-License-Identifier: Apache-2.0
#include "import/InvoiceParser.h"

#include "components/AppError.h"
#include "import/InvoiceTotal.h"

#include <QByteArrayView>
#include <QVarLengthArray>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <type_traits>

namespace InvoiceParser {

namespace {

constexpr std::u16string_view ArticleMarker = u"P/N: ";
constexpr std::u16string_view PartMarker = u"P/N:";
constexpr std::u16string_view OriginMarker = u"COUNTRY OF ORIGIN:";

// The error numbers the operators know: a value that is not a number, an article that does
// not exist yet, a number too large.
constexpr long TypeMismatch = 13;
constexpr long SubscriptOutOfRange = 9;
constexpr long Overflow = 6;

bool isDigitAt(QStringView text, qsizetype i)
{
    return i < text.size() && text[i] >= u'0' && text[i] <= u'9';
}

bool isSignAt(QStringView text, qsizetype i)
{
    return i < text.size() && (text[i] == u'+' || text[i] == u'-');
}

/** A "," followed by exactly three digits and then a non-digit or the end. */
bool thousandsSeparatorAt(QStringView text, qsizetype i)
{
    return text[i] == u',' && isDigitAt(text, i + 1) && isDigitAt(text, i + 2) &&
           isDigitAt(text, i + 3) && !isDigitAt(text, i + 4);
}

struct Scanned {
    double value = 0;
    qsizetype end = 0; ///< where the number stopped; 0 when no digit came first
};

/** The powers of ten that a double holds exactly. */
constexpr double ExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                       1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                       1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

/** The number's literal in the C locale's form (ASCII only), on the stack for any amount. */
struct Literal {
    QVarLengthArray<char, 64> chars;
    void append(char c) { chars.append(c); }
};

/** In place of the literal while the number is read without it, as most numbers are. */
struct NoLiteral {
    void append(char) {}
};

/**
 * The number at the start of the text; its literal put together only when its digits and
 * exponent do not give it exactly.
 */
template <typename Spelling = NoLiteral>
Scanned scanNumber(QStringView text, Spelling&& literal = Spelling())
{
    // While it fits, the number's digits as a whole number with the power of ten that scales
    // them.
    std::uint64_t digitsValue = 0;
    int significant = 0;
    int scale = 0;
    const auto take = [&](qsizetype at) {
        literal.append(char(text[at].unicode()));
    };
    const auto takeDigit = [&](qsizetype at, int placeValue) {
        take(at);
        const int digit = text[at].unicode() - u'0';
        significant += digitsValue != 0 || digit != 0;
        if (significant <= 15) {
            digitsValue = digitsValue * 10 + std::uint64_t(digit);
            scale += placeValue;
        }
    };
    qsizetype i = 0;
    const bool negative = i < text.size() && text[i] == u'-';
    if (isSignAt(text, i))
        take(i++);
    bool digits = false;
    while (i < text.size()) {
        if (isDigitAt(text, i)) {
            takeDigit(i++, 0);
            digits = true;
        } else if (digits && thousandsSeparatorAt(text, i)) {
            ++i;
        } else {
            break;
        }
    }
    if (i < text.size() && text[i] == u'.') {
        ++i;
        if (isDigitAt(text, i))
            literal.append('.');
        for (; isDigitAt(text, i); ++i) {
            takeDigit(i, -1);
            digits = true;
        }
    }
    if (!digits)
        return {};
    if (i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
        const qsizetype sign = i + 1;
        const qsizetype first = isSignAt(text, sign) ? sign + 1 : sign;
        if (isDigitAt(text, first)) {
            literal.append('e');
            if (first > sign)
                take(sign);
            int exponent = 0;
            for (i = first; isDigitAt(text, i); ++i) {
                take(i);
                exponent = std::min(exponent * 10 + (text[i].unicode() - u'0'), 100000);
            }
            scale += first > sign && text[sign] == u'-' ? -exponent : exponent;
        }
    }
    // At most 15 digits are exact in a double, and so is a power of ten up to 1e22: one
    // multiplication or division rounds the value once, exactly as the full conversion does.
    if (significant <= 15 && scale >= -22 && scale <= 22) {
        const double magnitude = scale < 0 ? double(digitsValue) / ExactPowersOfTen[-scale]
                                           : double(digitsValue) * ExactPowersOfTen[scale];
        return {negative ? -magnitude : magnitude, i};
    }
    if constexpr (std::is_same_v<Spelling, NoLiteral>) {
        return scanNumber(text, Literal());
    } else {
        bool converted = false;
        const QByteArrayView latin1(literal.chars.constData(), literal.chars.size());
        const double value = latin1.toDouble(&converted);
        // Out of range: infinity past the largest, 0 below the smallest, as QString reads it.
        return {converted ? value : QString::fromLatin1(latin1).toDouble(), i};
    }
}

/** Whether the text holds the first half of a surrogate pair. */
bool holdsPairs(QStringView text)
{
    // Looked for in every unit, kept to 16 bits: a loop the compiler vectorises eight units a step.
    std::uint16_t pairs = 0;
    for (const char16_t unit : std::u16string_view(text.utf16(), text.size()))
        pairs |= std::uint16_t(std::uint16_t(unit & 0xFC00) == 0xD800);
    return pairs;
}

/**
 * Where the given columns (counted from 1, in ascending order) start in the line, in UTF-16
 * units; the line's end for a column beyond it, so that what lies beyond the line's end reads as
 * empty text. A character outside the Basic Multilingual Plane is one column of two units and
 * is never split.
 */
template <std::size_t N>
std::array<qsizetype, N> columnStarts(QStringView line, const std::array<int, N>& columns,
                                      bool textHoldsPairs)
{
    std::array<qsizetype, N> starts;
    // Without a pair before the last column each unit is a column (so it is on most lines, and
    // on every line of most texts).
    if (!textHoldsPairs ||
        !holdsPairs(line.first(std::min<qsizetype>(line.size(), columns.back() - 1)))) {
        for (std::size_t k = 0; k < N; ++k)
            starts[k] = std::min<qsizetype>(columns[k] - 1, line.size());
        return starts;
    }
    starts.fill(line.size());
    std::size_t next = 0;
    int column = 1;
    for (qsizetype i = 0; i < line.size() && next < N; ++column) {
        while (next < N && column == columns[next])
            starts[next++] = i;
        i += line[i].isHighSurrogate() && i + 1 < line.size() && line[i + 1].isLowSurrogate() ? 2
                                                                                              : 1;
    }
    return starts;
}

/**
 * Where the character, one below U+0100, first stands in the text at or after from, or -1. The
 * C library's byte search looks for its byte, and a unit found so is checked to be the
 * character: far fewer steps than a loop over the units, and fewer than Qt's general search
 * over the short lines of an invoice.
 */
qsizetype indexOf(QStringView text, char16_t c, qsizetype from = 0)
{
    const char* const begin = reinterpret_cast<const char*>(text.utf16());
    const char* const end = reinterpret_cast<const char*>(text.utf16() + text.size());
    for (const char* at = begin + 2 * from; at < end; ++at) {
        at = static_cast<const char*>(std::memchr(at, c, std::size_t(end - at)));
        if (!at)
            break;
        if (const qsizetype unit = (at - begin) / 2; text[unit] == c)
            return unit;
    }
    return -1;
}

/** Whether the needle stands in the text at the given place. */
bool holdsAt(QStringView text, qsizetype at, QStringView needle)
{
    return at >= 0 && text.size() - at >= needle.size() &&
           std::memcmp(text.utf16() + at, needle.utf16(), std::size_t(needle.size()) * 2) == 0;
}

/** Where the needle first stands in the text at or after from, or -1. */
qsizetype find(QStringView text, QStringView needle, qsizetype from = 0)
{
    for (qsizetype at = indexOf(text, needle.front().unicode(), from); at >= 0;
         at = indexOf(text, needle.front().unicode(), at + 1)) {
        if (holdsAt(text, at, needle))
            return at;
    }
    return -1;
}

/**
 * The text with every occurrence of the marker removed, then without its blanks: a view of the
 * text when what is left lies in one piece of it (as it does but for a marker in the middle),
 * else of its copy put together in rewritten.
 */
QStringView trimmedWithout(QStringView text, QStringView marker, QList<QString>& rewritten)
{
    // The one piece between markers that holds more than blanks, while there is only one.
    QStringView kept;
    int piecesKept = 0;
    qsizetype from = 0;
    for (qsizetype at = find(text, marker);; at = find(text, marker, from)) {
        const QStringView piece = trimBlanks(text.sliced(from, (at < 0 ? text.size() : at) - from));
        if (!piece.isEmpty()) {
            kept = piece;
            ++piecesKept;
        }
        if (at < 0)
            break;
        from = at + marker.size();
    }
    if (piecesKept <= 1)
        return kept;
    QString together;
    together.reserve(text.size());
    from = 0;
    for (qsizetype at = find(text, marker); at >= 0; at = find(text, marker, from)) {
        together.append(text.sliced(from, at - from));
        from = at + marker.size();
    }
    together.append(text.sliced(from));
    rewritten.append(std::move(together));
    return trimBlanks(rewritten.constLast());
}

/**
 * Leading-number value of an amount field; raises for a number too large to hold, its message
 * starting with where().
 */
template <typename Where> double amount(QStringView field, const Where& where)
{
    const double value = leadingNumber(field);
    if (!std::isfinite(value)) {
        const QString problem = QStringLiteral("el importe \"%1\" es demasiado grande.");
        throw AppError(Overflow, where() + problem.arg(field));
    }
    return value;
}

InvoiceRecord articleFrom(QStringView line, qsizetype lineNumber, bool textHoldsPairs,
                          QList<QString>& rewritten)
{
    // Columns 9-17 quantity, 18-24 unit, 25-48 part number, 68-81 unit price, 82-95 total.
    const auto at = columnStarts(line, std::array{9, 18, 25, 49, 68, 82, 96}, textHoldsPairs);
    const auto field = [&](std::size_t first, std::size_t last) {
        return trimBlanks(line.sliced(at[first], at[last] - at[first]));
    };
    InvoiceRecord article;
    article.partNumber = trimmedWithout(field(2, 3), PartMarker, rewritten);
    // The start of an error message, written only when there is an error.
    const auto where = [&] {
        return QStringLiteral("Línea %1 del documento (artículo %2): ")
            .arg(lineNumber)
            .arg(article.partNumber);
    };
    const QStringView quantity = field(0, 1);
    if (quantity.isEmpty())
        throw AppError(TypeMismatch, where() + QStringLiteral("la cantidad está en blanco."));
    const std::optional<double> number = wholeNumber(quantity);
    if (!number) {
        const QString problem = QStringLiteral("la cantidad \"%1\" no es un número.");
        throw AppError(TypeMismatch, where() + problem.arg(quantity));
    }
    article.quantity = *number;
    article.unit = field(1, 2);
    article.unitPrice = amount(field(4, 5), where);
    article.total = amount(field(5, 6), where);
    return article;
}

enum class LineKind { Article, Origin, Other };

/** An article line holds "P/N: ", an origin line "COUNTRY OF ORIGIN:"; the article first. */
LineKind kindOf(QStringView line)
{
    // Both markers hold a colon, which few lines hold: only around a colon are they looked for.
    constexpr qsizetype ArticleColon = qsizetype(ArticleMarker.find(u':'));
    constexpr qsizetype OriginColon = qsizetype(OriginMarker.find(u':'));
    LineKind kind = LineKind::Other;
    for (qsizetype colon = indexOf(line, u':'); colon >= 0;
         colon = indexOf(line, u':', colon + 1)) {
        if (holdsAt(line, colon - ArticleColon, ArticleMarker))
            return LineKind::Article;
        if (holdsAt(line, colon - OriginColon, OriginMarker))
            kind = LineKind::Origin;
    }
    return kind;
}

/**
 * The most article blocks a text of that size can hold, each a line of at least the marker and
 * its carriage return (the last without one). The room is only reserved: what no block takes is
 * never touched.
 */
qsizetype mostArticles(QStringView text)
{
    return text.size() / qsizetype(ArticleMarker.size() + 1) + 1;
}

ParsedInvoice parseLines(QStringView text)
{
    ParsedInvoice invoice;
    QList<InvoiceRecord>& articles = invoice.records;
    articles.reserve(mostArticles(text));
    InvoiceTotal total;
    const bool textHoldsPairs = holdsPairs(text);
    bool descriptionNext = false;
    qsizetype start = 0;
    for (qsizetype number = 1;; ++number) {
        const qsizetype end = indexOf(text, u'\r', start);
        const QStringView line = text.sliced(start, (end < 0 ? text.size() : end) - start);
        total.look(line, number);
        const LineKind kind = kindOf(line);
        if (kind == LineKind::Article) {
            articles.append(articleFrom(line, number, textHoldsPairs, invoice.rewritten));
            descriptionNext = true;
        } else if (descriptionNext) {
            descriptionNext = false;
            articles.last().description = trimBlanks(line);
        } else if (kind == LineKind::Origin) {
            if (articles.isEmpty())
                throw AppError(SubscriptOutOfRange,
                               QStringLiteral("Línea %1 del documento: \"COUNTRY OF ORIGIN:\" "
                                              "aparece antes del primer artículo.")
                                   .arg(number));
            articles.last().origin = trimmedWithout(line, OriginMarker, invoice.rewritten);
        }
        if (end < 0) {
            invoice.statedTotal = total.found();
            return invoice;
        }
        start = end + 1;
    }
}

} // namespace

double leadingNumber(QStringView text)
{
    const auto ignored = [](QChar c) {
        return c == u' ' || c == u'\t' || c == u'\n';
    };
    if (std::none_of(text.begin(), text.end(), ignored))
        return scanNumber(text).value;
    QVarLengthArray<QChar, 64> compact;
    for (const QChar c : text) {
        if (!ignored(c))
            compact.append(c);
    }
    return scanNumber(QStringView(compact.constData(), compact.size())).value;
}

std::optional<double> wholeNumber(QStringView text)
{
    const Scanned scanned = scanNumber(text);
    if (scanned.end == 0 || scanned.end != text.size() || !std::isfinite(scanned.value))
        return std::nullopt;
    return scanned.value;
}

ParsedInvoice parse(QStringView text)
{
    return parseLines(text);
}

} // namespace InvoiceParser

QList<InvoiceLine> ParsedInvoice::lines() const
{
    QList<InvoiceLine> lines;
    lines.reserve(records.size());
    for (const InvoiceRecord& record : records)
        lines.append({record.partNumber.toString(), record.quantity, record.description.toString(),
                      record.origin.toString(), record.unitPrice, record.total,
                      record.unit.toString()});
    return lines;
}
