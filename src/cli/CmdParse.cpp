#include "cli/Commands.h"

#include "import/DocumentImport.h"

namespace Cli {

int parse(Context& context)
{
    const QStringList files = splitArguments(context.args, {}).positional;
    if (files.size() != 1)
        throw Usage{QStringLiteral("parse necesita exactamente un archivo.")};
    CliDialogs dialogs(context.out, context.err);
    const InvoiceRead invoice = LeerFactura(dialogs, files.first());
    if (invoice.outcome == ImportOutcome::Failed)
        return Failed;
    // Each record is put together in one text, its room kept from one record to the next, and
    // handed to the stream at once.
    QString record;
    const auto field = [&record](QLatin1String name, const auto& value) {
        record += name;
        appendJson(record, value);
    };
    for (qsizetype i = 0; i < invoice.lines.size(); ++i) {
        const InvoiceLine& line = invoice.lines.at(i);
        record.resize(0);
        field(QLatin1String("{\"n\":"), double(i + 1));
        field(QLatin1String(",\"part\":"), line.partNumber);
        field(QLatin1String(",\"quantity\":"), line.quantity);
        field(QLatin1String(",\"unit\":"), line.unit);
        field(QLatin1String(",\"description\":"), line.description);
        field(QLatin1String(",\"origin\":"), line.origin);
        field(QLatin1String(",\"unitPrice\":"), line.unitPrice);
        field(QLatin1String(",\"total\":"), line.total);
        record += QLatin1String("}\n");
        context.out << record;
    }
    context.out.flush();
    return Done;
}

} // namespace Cli
