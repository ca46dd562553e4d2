#include "import/InvoiceTotal.h"

#include "import/InvoiceParser.h"

namespace InvoiceTotal {

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

/** The line's amount when its first word is the label and its last word an amount. */
std::optional<double> labelledAmount(QStringView line, QStringView label)
{
    qsizetype first = 0;
    while (first < line.size() && isBlank(line[first]))
        ++first;
    const QStringView rest = line.sliced(first);
    if (!rest.startsWith(label, Qt::CaseInsensitive) || rest.size() == label.size() ||
        !isBlank(rest[label.size()]))
        return std::nullopt;
    qsizetype end = rest.size();
    while (isBlank(rest[end - 1]))
        --end;
    qsizetype start = end;
    while (start > 0 && !isBlank(rest[start - 1]))
        --start;
    if (start <= label.size())
        return std::nullopt; // the label is the line's only word
    return InvoiceParser::wholeNumber(rest.sliced(start, end - start));
}

} // namespace

std::optional<StatedTotal> find(QStringView text)
{
    std::optional<StatedTotal> total;
    qsizetype start = 0;
    for (qsizetype number = 1;; ++number) {
        const qsizetype end = text.indexOf(u'\r', start);
        const QStringView line = text.sliced(start, (end < 0 ? text.size() : end) - start);
        // Only a line with a "T" in it may be labelled: most lines are passed over at once.
        if (line.contains(u'T', Qt::CaseInsensitive)) {
            if (const std::optional<double> amount = labelledAmount(line, u"SUBTOTAL"))
                return StatedTotal{number, line.trimmed().toString(), *amount};
            if (!total)
                if (const std::optional<double> amount = labelledAmount(line, u"TOTAL"))
                    total = StatedTotal{number, line.trimmed().toString(), *amount};
        }
        if (end < 0)
            return total;
        start = end + 1;
    }
}

} // namespace InvoiceTotal
