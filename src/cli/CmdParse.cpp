#include "cli/Commands.h"

#include "import/DocumentImport.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <cmath>

namespace Cli {

namespace {

QString jsonText(const QString& text)
{
    // A one-element array gives the escaped string; drop the brackets.
    const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(array.mid(1, array.size() - 2));
}

QString jsonNumber(double value)
{
    return std::isfinite(value) ? QString::number(value, 'g', QLocale::FloatingPointShortest)
                                : QStringLiteral("null");
}

} // namespace

int parse(Context& context)
{
    if (context.args.size() != 1 || context.args.first().startsWith(QLatin1String("--")))
        throw Usage{QStringLiteral("parse necesita exactamente un archivo.")};
    CliDialogs dialogs(context.err);
    const InvoiceRead invoice = LeerFactura(dialogs, context.args.first());
    if (invoice.outcome == ImportOutcome::Failed)
        return Failed;
    for (qsizetype i = 0; i < invoice.lines.size(); ++i) {
        const InvoiceLine& line = invoice.lines.at(i);
        context.out << "{\"n\":" << i + 1 << ",\"part\":" << jsonText(line.partNumber)
                    << ",\"quantity\":" << jsonNumber(line.quantity)
                    << ",\"unit\":" << jsonText(line.unit)
                    << ",\"description\":" << jsonText(line.description)
                    << ",\"origin\":" << jsonText(line.origin)
                    << ",\"unitPrice\":" << jsonNumber(line.unitPrice)
                    << ",\"total\":" << jsonNumber(line.total) << "}\n";
    }
    context.out.flush();
    return Done;
}

} // namespace Cli
