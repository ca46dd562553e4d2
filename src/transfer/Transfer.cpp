#include "transfer/Transfer.h"

#include "app/Workspace.h"

// Placeholder until the transfer lands.
void FRM3_Tranferir(Workspace& ws)
{
    ws.dialogs().message(MessageIcon::Exclamation,
                         QStringLiteral("La transferencia todavía no está disponible."));
}
