#pragma once

class Workspace;

/** Transfers the current interno into the declaration database (header, items, catalog). */
void FRM3_Tranferir(Workspace& ws);
