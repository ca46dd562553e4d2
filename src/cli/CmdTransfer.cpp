// SPDX-License-Identifier: Apache-2.0
#include "cli/Commands.h"

#include "transfer/Transfer.h"

namespace Cli {

int transfer(Context& context)
{
    const Arguments args = splitArguments(context.args, {QStringLiteral("--replace")});
    if (args.positional.size() > 1)
        throw Usage{QStringLiteral("Argumento desconocido: ") + args.positional.at(1)};
    if (args.positional.isEmpty() || args.positional.first().isEmpty())
        throw Usage{QStringLiteral("Falta el número de interno.")};
    const QString interno = internoNumber(args.positional.first());

    Session session(context);
    session.dialogs().setQuestionAnswer(args.has(QStringLiteral("--replace")));
    switch (FRM3_Tranferir(session.workspace(), interno)) {
    case TransferOutcome::Transferred:
        return Done;
    case TransferOutcome::Declined:
        // The question went to stderr; say how to answer it.
        context.err << "No se transfirió ningún registro. Use --replace para reemplazarlo."
                    << Qt::endl;
        return Failed;
    case TransferOutcome::Refused:
    case TransferOutcome::Empty:
    case TransferOutcome::Failed:
        break;
    }
    return Failed;
}

} // namespace Cli
