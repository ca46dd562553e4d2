// SPDX-License-Identifier: Apache-2.0
#include "review/InvoiceArithmetic.h"

#include "import/ArticleLoading.h"
#include "process/Statistics.h"

#include <algorithm>
#include <cmath>

namespace InvoiceArithmetic {

namespace {

/** Half a cent: the invoice's own rounding either way. */
constexpr double HalfCent = 0.005;

} // namespace

double expectedTotal(double quantity, double unitPrice)
{
    return roundFormatted(quantity * unitPrice, 2);
}

bool totalIsRight(double quantity, double unitPrice, double total)
{
    return std::abs(total - quantity * unitPrice) <= HalfCent + Tolerance;
}

bool lineIsRight(const Article& row)
{
    return convertsQuantity(row.declaredUnit) ||
           totalIsRight(row.quantity.value_or(0), row.unitPrice.value_or(0), row.total.value_or(0));
}

QList<Article> wrongLines(const QList<Article>& rows)
{
    QList<Article> wrong;
    std::copy_if(rows.cbegin(), rows.cend(), std::back_inserter(wrong),
                 [](const Article& row) { return !lineIsRight(row); });
    return wrong;
}

bool Review::statedDiffers() const
{
    return stated && std::abs(stated->amount - lineSum) >= HalfCent + Tolerance;
}

Review review(DataSession& work, const QString& interno)
{
    Review result;
    const QList<Article> rows = ArticleStore(work).rows(interno, ArticleStore::Selection::All);
    for (const Article& row : rows)
        result.lineSum += row.total.value_or(0);
    for (const Article& row : wrongLines(rows))
        result.lines.append({row.line, row.number,
                             expectedTotal(row.quantity.value_or(0), row.unitPrice.value_or(0)),
                             row.total.value_or(0)});
    result.stated = InvoiceTotalStore(work).read(interno);
    return result;
}

qint64 countToReview(DataSession& work, const QString& interno)
{
    const AmountSummary summary =
        ArticleStore(work).amountSummary(interno, convertedUnits(), HalfCent + Tolerance);
    Review totals;
    totals.lineSum = summary.lineSum;
    totals.stated = InvoiceTotalStore(work).read(interno);
    return summary.wrongLines + (totals.statedDiffers() ? 1 : 0);
}

QList<ReviewLine> reviewLines(const Review& review)
{
    QList<ReviewLine> lines;
    for (const WrongLine& wrong : review.lines)
        lines.append({formatCounter(wrong.line), wrong.article, wrong.expected, wrong.found});
    if (review.statedDiffers())
        lines.append({QString(),
                      QStringLiteral("Total de la factura (línea %1 del documento)")
                          .arg(review.stated->documentLine),
                      review.lineSum, review.stated->amount});
    return lines;
}

QString amount(double value, const QLocale& locale)
{
    QLocale plain = locale;
    plain.setNumberOptions(QLocale::OmitGroupSeparator);
    return plain.toString(value, 'f', 2);
}

QString statedComparison(const Review& review, const QLocale& locale)
{
    if (!review.stated)
        return QStringLiteral("El documento no tiene línea de total; suma de las líneas: %1.")
            .arg(amount(review.lineSum, locale));
    const StatedTotal& stated = *review.stated;
    const QString comparison =
        review.statedDiffers()
            ? QStringLiteral("diferencia: %1").arg(amount(stated.amount - review.lineSum, locale))
            : QStringLiteral("coinciden");
    return QStringLiteral("Total de la factura: %1 (línea %2 del documento: \"%3\"); suma de las "
                          "líneas: %4; %5.")
        .arg(amount(stated.amount, locale))
        .arg(stated.documentLine)
        .arg(stated.text, amount(review.lineSum, locale), comparison);
}

} // namespace InvoiceArithmetic
