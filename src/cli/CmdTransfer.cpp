#include "cli/Commands.h"

#include "transfer/Transfer.h"

namespace Cli {

int transfer(Context& context)
{
    QString interno;
    bool replace = false;
    for (const QString& arg : std::as_const(context.args)) {
        if (arg == QLatin1String("--replace"))
            replace = true;
        else if (arg.startsWith(QLatin1String("--")) || !interno.isNull())
            throw Usage{QStringLiteral("Argumento desconocido: ") + arg};
        else
            interno = arg;
    }
    if (interno.isEmpty())
        throw Usage{QStringLiteral("Falta el número de interno.")};

    Session session(context);
    session.dialogs().setQuestionAnswer(replace);
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
