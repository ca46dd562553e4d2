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
    for (qsizetype i = 0; i < invoice.lines.size(); ++i) {
        const InvoiceLine& line = invoice.lines.at(i);
        context.out << "{\"n\":" << i + 1 << ",\"part\":" << jsonValue(line.partNumber)
                    << ",\"quantity\":" << jsonValue(line.quantity)
                    << ",\"unit\":" << jsonValue(line.unit)
                    << ",\"description\":" << jsonValue(line.description)
                    << ",\"origin\":" << jsonValue(line.origin)
                    << ",\"unitPrice\":" << jsonValue(line.unitPrice)
                    << ",\"total\":" << jsonValue(line.total) << "}\n";
    }
    context.out.flush();
    return Done;
}

} // namespace Cli
