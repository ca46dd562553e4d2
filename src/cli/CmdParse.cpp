// SPDX-License-Identifier: Apache-2.0
#include "cli/Commands.h"

#include "import/DocumentImport.h"

#include <QIODevice>

namespace Cli {

namespace {

/** The most bytes a record takes: its names (fewer than 128), five numbers and four texts. */
qsizetype recordRoom(const InvoiceRecord& line)
{
    return 128 + 5 * JsonNumberRoom + jsonRoom(line.partNumber.size()) +
           jsonRoom(line.unit.size()) + jsonRoom(line.description.size()) +
           jsonRoom(line.origin.size());
}

} // namespace

int parse(Context& context)
{
    const QStringList files = splitArguments(context.args, {}).positional;
    if (files.size() != 1)
        throw Usage{QStringLiteral("parse necesita exactamente un archivo.")};
    CliDialogs dialogs(context.out, context.err);
    const InvoiceRead invoice = LeerFactura(dialogs, files.first());
    if (invoice.outcome == ImportOutcome::Failed)
        return Failed;
    // The records are written in UTF-8 into one buffer, handed to the output some 64 KiB at a
    // time, past the text stream, which would write them in UTF-16 first.
    context.out.flush();
    QIODevice& device = *context.out.device();
    QByteArray batch(64 * 1024, Qt::Uninitialized);
    char* at = batch.data();
    const QList<InvoiceRecord>& records = invoice.parsed.records;
    for (qsizetype i = 0; i < records.size(); ++i) {
        const InvoiceRecord& line = records.at(i);
        if (const qsizetype room = recordRoom(line); batch.data() + batch.size() - at < room) {
            device.write(batch.constData(), at - batch.constData());
            if (batch.size() < room)
                batch.resize(room);
            at = batch.data();
        }
        at = writeJson(writeLiteral(at, "{\"n\":"), double(i + 1));
        at = writeJson(writeLiteral(at, ",\"part\":"), line.partNumber);
        at = writeJson(writeLiteral(at, ",\"quantity\":"), line.quantity);
        at = writeJson(writeLiteral(at, ",\"unit\":"), line.unit);
        at = writeJson(writeLiteral(at, ",\"description\":"), line.description);
        at = writeJson(writeLiteral(at, ",\"origin\":"), line.origin);
        at = writeJson(writeLiteral(at, ",\"unitPrice\":"), line.unitPrice);
        at = writeJson(writeLiteral(at, ",\"total\":"), line.total);
        at = writeLiteral(at, "}\n");
    }
    device.write(batch.constData(), at - batch.constData());
    return Done;
}

} // namespace Cli
