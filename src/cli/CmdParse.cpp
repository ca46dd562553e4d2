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
    const auto field = [&record](QStringView name, const auto& value) {
        record += name;
        appendJson(record, value);
    };
    const QList<InvoiceRecord>& records = invoice.parsed.records;
    for (qsizetype i = 0; i < records.size(); ++i) {
        const InvoiceRecord& line = records.at(i);
        record.resize(0);
        field(u"{\"n\":", double(i + 1));
        field(u",\"part\":", line.partNumber);
        field(u",\"quantity\":", line.quantity);
        field(u",\"unit\":", line.unit);
        field(u",\"description\":", line.description);
        field(u",\"origin\":", line.origin);
        field(u",\"unitPrice\":", line.unitPrice);
        field(u",\"total\":", line.total);
        record += u"}\n";
        context.out << record;
    }
    context.out.flush();
    return Done;
}

} // namespace Cli
