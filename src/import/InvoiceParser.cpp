#include "import/InvoiceParser.h"

#include "components/AppError.h"

#include <cmath>

namespace InvoiceParser {

namespace {

const QString ArticleMarker = QStringLiteral("P/N: ");
const QString PartMarker = QStringLiteral("P/N:");
const QString OriginMarker = QStringLiteral("COUNTRY OF ORIGIN:");

// The error numbers the operators know: a value that is not a number, an article that does
// not exist yet, a number too large.
constexpr long TypeMismatch = 13;
constexpr long SubscriptOutOfRange = 9;
constexpr long Overflow = 6;

bool isDigitAt(const QString& text, qsizetype i)
{
    return i < text.size() && text.at(i) >= QLatin1Char('0') && text.at(i) <= QLatin1Char('9');
}

/** A "," followed by exactly three digits and then a non-digit or the end. */
bool thousandsSeparatorAt(const QString& text, qsizetype i)
{
    return text.at(i) == QLatin1Char(',') && isDigitAt(text, i + 1) && isDigitAt(text, i + 2) &&
           isDigitAt(text, i + 3) && !isDigitAt(text, i + 4);
}

struct Scanned {
    double value = 0;
    qsizetype end = 0; ///< where the number stopped; 0 when no digit came first
};

Scanned scanNumber(const QString& text)
{
    QString literal;
    qsizetype i = 0;
    if (i < text.size() && (text.at(i) == QLatin1Char('+') || text.at(i) == QLatin1Char('-')))
        literal += text.at(i++);
    bool digits = false;
    while (i < text.size()) {
        if (isDigitAt(text, i)) {
            literal += text.at(i++);
            digits = true;
        } else if (digits && thousandsSeparatorAt(text, i)) {
            ++i;
        } else {
            break;
        }
    }
    if (i < text.size() && text.at(i) == QLatin1Char('.')) {
        ++i;
        if (isDigitAt(text, i))
            literal += QLatin1Char('.');
        for (; isDigitAt(text, i); ++i) {
            literal += text.at(i);
            digits = true;
        }
    }
    if (!digits)
        return {};
    if (i < text.size() && (text.at(i) == QLatin1Char('e') || text.at(i) == QLatin1Char('E'))) {
        qsizetype j = i + 1;
        QString exponent = QStringLiteral("e");
        if (j < text.size() && (text.at(j) == QLatin1Char('+') || text.at(j) == QLatin1Char('-')))
            exponent += text.at(j++);
        if (isDigitAt(text, j)) {
            for (; isDigitAt(text, j); ++j)
                exponent += text.at(j);
            literal += exponent;
            i = j;
        }
    }
    return {literal.toDouble(), i};
}

/**
 * Leading-number value of an amount field; raises for a number too large to hold, its message
 * starting with where().
 */
template <typename Where> double amount(const QString& field, const Where& where)
{
    const double value = leadingNumber(field);
    if (!std::isfinite(value)) {
        const QString problem = QStringLiteral("el importe \"%1\" es demasiado grande.");
        throw AppError(Overflow, where() + problem.arg(field));
    }
    return value;
}

InvoiceLine articleFrom(const QString& line, qsizetype lineNumber)
{
    InvoiceLine article;
    article.partNumber = trimBlanks(trimBlanks(columns(line, 25, 48)).remove(PartMarker));
    // The start of an error message, written only when there is an error.
    const auto where = [&] {
        return QStringLiteral("Línea %1 del documento (artículo %2): ")
            .arg(lineNumber)
            .arg(article.partNumber);
    };
    const QString quantity = trimBlanks(columns(line, 9, 17));
    if (quantity.isEmpty())
        throw AppError(TypeMismatch, where() + QStringLiteral("la cantidad está en blanco."));
    const std::optional<double> number = wholeNumber(quantity);
    if (!number) {
        const QString problem = QStringLiteral("la cantidad \"%1\" no es un número.");
        throw AppError(TypeMismatch, where() + problem.arg(quantity));
    }
    article.quantity = *number;
    article.unit = trimBlanks(columns(line, 18, 24));
    article.unitPrice = amount(trimBlanks(columns(line, 68, 81)), where);
    article.total = amount(trimBlanks(columns(line, 82, 95)), where);
    return article;
}

} // namespace

QString trimBlanks(const QString& text)
{
    qsizetype from = 0;
    qsizetype to = text.size();
    while (from < to && text.at(from) == QLatin1Char(' '))
        ++from;
    while (to > from && text.at(to - 1) == QLatin1Char(' '))
        --to;
    return text.mid(from, to - from);
}

QString columns(const QString& line, int from, int to)
{
    // Columns count characters: a character outside the Basic Multilingual Plane is two
    // UTF-16 units and is never split.
    qsizetype start = line.size();
    qsizetype end = line.size();
    int column = 1;
    for (qsizetype i = 0; i < line.size(); ++column) {
        if (column == from)
            start = i;
        if (column == to + 1) {
            end = i;
            break;
        }
        i += line.at(i).isHighSurrogate() && i + 1 < line.size() && line.at(i + 1).isLowSurrogate()
                 ? 2
                 : 1;
    }
    return line.mid(start, end - start);
}

double leadingNumber(const QString& text)
{
    QString compact = text;
    compact.remove(QLatin1Char(' ')).remove(QLatin1Char('\t')).remove(QLatin1Char('\n'));
    return scanNumber(compact).value;
}

std::optional<double> wholeNumber(const QString& text)
{
    const Scanned scanned = scanNumber(text);
    if (scanned.end == 0 || scanned.end != text.size() || !std::isfinite(scanned.value))
        return std::nullopt;
    return scanned.value;
}

QList<InvoiceLine> parse(const QString& text)
{
    QList<InvoiceLine> articles;
    bool descriptionNext = false;
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString& line = lines.at(i);
        if (line.contains(ArticleMarker)) {
            articles.append(articleFrom(line, i + 1));
            descriptionNext = true;
        } else if (descriptionNext) {
            descriptionNext = false;
            articles.last().description = trimBlanks(line);
        } else if (line.contains(OriginMarker)) {
            if (articles.isEmpty())
                throw AppError(SubscriptOutOfRange,
                               QStringLiteral("Línea %1 del documento: \"COUNTRY OF ORIGIN:\" "
                                              "aparece antes del primer artículo.")
                                   .arg(i + 1));
            articles.last().origin = trimBlanks(QString(line).remove(OriginMarker));
        }
    }
    return articles;
}

} // namespace InvoiceParser
