#include "import/DocumentImport.h"

#include "app/Workspace.h"

// Placeholder until the invoice import lands.
ImportOutcome ImportarDocumento(Workspace& ws, const QString&, const QString&) {
    ws.dialogs().message(MessageIcon::Exclamation,
                         QStringLiteral("La importación de facturas todavía no está disponible."));
    return ImportOutcome::Failed;
}
