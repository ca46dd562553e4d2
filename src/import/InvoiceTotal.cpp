#include "import/InvoiceTotal.h"

#include "import/InvoiceParser.h"

#include <QRegularExpression>

namespace InvoiceTotal {

namespace {

/** The first line whose first word is the label and whose last word is an amount. */
std::optional<StatedTotal> labelled(const QStringList& lines, QLatin1String label)
{
    static const QRegularExpression blanks(QStringLiteral("[ \\t]+"));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QStringList words = lines.at(i).split(blanks, Qt::SkipEmptyParts);
        if (words.size() < 2 || words.first().compare(label, Qt::CaseInsensitive) != 0)
            continue;
        if (const std::optional<double> amount = InvoiceParser::wholeNumber(words.last()))
            return StatedTotal{i + 1, lines.at(i).trimmed(), *amount};
    }
    return std::nullopt;
}

} // namespace

std::optional<StatedTotal> find(const QString& text)
{
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    if (std::optional<StatedTotal> subtotal = labelled(lines, QLatin1String("SUBTOTAL")))
        return subtotal;
    return labelled(lines, QLatin1String("TOTAL"));
}

} // namespace InvoiceTotal
