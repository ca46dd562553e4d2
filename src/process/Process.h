#pragma once

#include <QString>

class Workspace;

/**
 * The automatic process of the current interno: imports the document, completes articles
 * from the catalog, fills the default goods condition, validates, and sets statistical
 * quantities. True when it completed; false after a failure reported to the operator.
 */
bool FRAM2_GuardarDatosToBase(Workspace& ws, const QString& documentPath);
