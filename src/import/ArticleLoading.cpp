// SPDX-License-Identifier: Apache-2.0
#include "import/ArticleLoading.h"

#include "components/AppError.h"
#include "data/ArticleStore.h"
#include "workspace/Workspace.h"

#include <cmath>

namespace {

struct UnitConversion {
    QLatin1String unit;
    QLatin1String code;
    double factor; ///< 0: the quantity stays as read
};

constexpr UnitConversion Conversions[] = {
    {QLatin1String("EA"), QLatin1String("07"), 0},
    {QLatin1String("RL"), QLatin1String("07"), 0},
    {QLatin1String("BX"), QLatin1String("07"), 0},
    {QLatin1String("LB"), QLatin1String("01"), 0.4536},
    {QLatin1String("FT"), QLatin1String("02"), 0.3048},
    {QLatin1String("IN"), QLatin1String("02"), 0.025401},
    {QLatin1String("YD"), QLatin1String("02"), 0.9144},
    {QLatin1String("GA"), QLatin1String("05"), 3.785},
};

} // namespace

double roundFormatted(double value, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    // Formatting works on the decimal text of the value (15 significant digits), so 1.005
    // rounds to 1.01 although its binary value lies just below.
    const double scaled = QString::number(value * scale, 'g', 15).toDouble();
    return std::round(scaled) / scale;
}

bool convertsQuantity(const QString& declaredUnit)
{
    return convertedUnits().contains(declaredUnit);
}

const QStringList& convertedUnits()
{
    static const QStringList units = [] {
        QStringList codes;
        for (const UnitConversion& conversion : Conversions) {
            if (conversion.factor != 0 && !codes.contains(conversion.code))
                codes << conversion.code;
        }
        return codes;
    }();
    return units;
}

void ProcesarUnidades(InvoiceLine& line)
{
    for (const UnitConversion& conversion : Conversions) {
        if (line.unit != conversion.unit)
            continue;
        line.unit = conversion.code;
        if (conversion.factor == 0)
            return;
        const double converted = line.quantity * conversion.factor;
        if (converted == 0)
            throw AppError(LoadError,
                           QStringLiteral("El artículo %1 tiene cantidad 0: no se puede calcular "
                                          "su precio unitario.")
                               .arg(line.partNumber));
        line.quantity = roundFormatted(converted, 2);
        line.unitPrice = roundFormatted(line.total / converted, 5);
        return;
    }
}

OriginLookup::OriginLookup(DataSession& work, OperatorDialogs& dialogs)
    : m_relations(work)
    , m_dialogs(dialogs)
{}

void OriginLookup::BuscarOrigen(InvoiceLine& line)
{
    const QString origin = line.origin.isEmpty() ? QStringLiteral("US") : line.origin;
    line.origin = code(origin);
}

QString OriginLookup::code(const QString& origin)
{
    if (const auto known = m_codes.constFind(origin); known != m_codes.cend())
        return *known;
    QString found;
    try {
        if (const std::optional<QString> code = m_relations.code(origin)) {
            found = InvoiceParser::trimBlanks(*code).toString();
        } else {
            const std::optional<OriginRelation> saved = m_dialogs.originRelation(origin);
            if (!saved)
                throw AppError(LoadError, QStringLiteral("No seleciono Pais de Origen!"));
            found = saved->code;
        }
    } catch (const AppError& error) {
        throw AppError(LoadError, error.description(), error.source());
    }
    m_codes.insert(origin, found);
    return found;
}

std::optional<QList<Article>> CargarArticulos(Workspace& ws, QList<InvoiceLine> lines)
{
    try {
        OriginLookup origins(ws.work(), ws.dialogs());
        for (InvoiceLine& line : lines) {
            ProcesarUnidades(line);
            origins.BuscarOrigen(line);
        }
    } catch (const AppError& error) {
        ws.dialogs().message(MessageIcon::Critical, error.description() + QStringLiteral("\n\n") +
                                                        QString::number(error.number()));
        return std::nullopt;
    }
    QList<Article> articles;
    articles.reserve(lines.size());
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const InvoiceLine& line = lines.at(i);
        Article article;
        article.line = i + 1;
        article.number = line.partNumber;
        article.description = QString(line.description).replace(QLatin1Char('\''), QChar(0x00B4));
        article.declaredUnit = line.unit;
        article.quantity = line.quantity;
        article.unitPrice = line.unitPrice;
        article.total = line.total;
        article.origin = line.origin;
        articles << std::move(article);
    }
    return articles;
}
