// SPDX-License-Identifier: Apache-2.0
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
    // The records are put together in one text, handed to the stream some 32,000 characters at
    // a time, the text's room kept from one batch to the next.
    QString batch;
    const auto field = [&batch](QStringView name, const auto& value) {
        batch += name;
        appendJson(batch, value);
    };
    const QList<InvoiceRecord>& records = invoice.parsed.records;
    for (qsizetype i = 0; i < records.size(); ++i) {
        const InvoiceRecord& line = records.at(i);
        field(u"{\"n\":", double(i + 1));
        field(u",\"part\":", line.partNumber);
        field(u",\"quantity\":", line.quantity);
        field(u",\"unit\":", line.unit);
        field(u",\"description\":", line.description);
        field(u",\"origin\":", line.origin);
        field(u",\"unitPrice\":", line.unitPrice);
        field(u",\"total\":", line.total);
        batch += u"}\n";
        if (batch.size() >= 32000 || i + 1 == records.size()) {
            context.out << batch;
            batch.resize(0);
        }
    }
    context.out.flush();
    return Done;
}

} // namespace Cli
