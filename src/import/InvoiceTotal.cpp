// SPDX-License-Identifier: Apache-2.0
#include "import/InvoiceTotal.h"

#include "import/InvoiceParser.h"

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

/** The line's amount when its first word is the label and its last word an amount. */
std::optional<double> labelledAmount(QStringView rest, QStringView label)
{
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

void InvoiceTotal::look(QStringView line, qsizetype number)
{
    if (m_subtotal)
        return;
    qsizetype first = 0;
    while (first < line.size() && isBlank(line[first]))
        ++first;
    // Both labels begin with a letter few lines begin with: most lines are passed over at once.
    if (first == line.size())
        return;
    // Among ASCII characters only S and T, in either case, give s and t with the case bit set.
    const char16_t unit = line[first].unicode();
    const QChar initial = unit < 0x80 ? QChar(unit | 0x20) : QChar(unit).toCaseFolded();
    if (initial != u's' && (initial != u't' || m_total))
        return;
    const QStringView rest = line.sliced(first);
    const bool subtotal = initial == u's';
    if (const std::optional<double> amount =
            labelledAmount(rest, subtotal ? u"SUBTOTAL" : u"TOTAL"))
        (subtotal ? m_subtotal : m_total) = StatedTotal{number, line.trimmed().toString(), *amount};
}
