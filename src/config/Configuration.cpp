// SPDX-License-Identifier: Apache-2.0
#include "config/Configuration.h"

#include "workspace/Workspace.h"

namespace Configuration {

namespace {

/** A failure while filling a list: what could not be read, then the error itself. */
void tellLoadFailure(Workspace& ws, const QString& lead, const AppError& error)
{
    ws.dialogs().message(MessageIcon::Critical,
                         lead + QStringLiteral("\n\n") + error.description() +
                             QStringLiteral("\n\nError ") + QString::number(error.number()));
}

} // namespace

CatalogChoice catalogs(Workspace& ws)
{
    CatalogChoice choice;
    try {
        const QString stored = ws.settings().storedCatalog();
        int match = -1;
        RecordSet rs;
        ws.declaration().Sql(
            QStringLiteral("select idcatalogo, descripcion from catalogo order by descripcion"));
        if (ws.declaration().CrearRs(rs)) {
            for (; !rs.Eof(); rs.MoveNext()) {
                const QString id = rs.Fields(QStringLiteral("idcatalogo")).toString();
                if (id == stored)
                    match = static_cast<int>(choice.ids.size());
                choice.ids << id;
                choice.lines << QStringLiteral("[") + id + QStringLiteral("] ") +
                                    rs.Fields(QStringLiteral("descripcion")).toString();
            }
        }
        if (!choice.lines.isEmpty())
            choice.selected = match >= 0 ? match : 0;
    } catch (const AppError& error) {
        tellLoadFailure(ws, QStringLiteral("No se pudo leer la lista de catálogos."), error);
        return {};
    }
    return choice;
}

bool GrabarySalir(Workspace& ws, const QStringList& ids, int selected)
{
    if (selected < 0 || selected >= ids.size())
        return false;
    ws.settings().saveCatalog(ids.at(selected));
    return true;
}

QList<OriginRelation> Cargar_Pais(Workspace& ws)
{
    try {
        return OriginRelations::list(ws.work());
    } catch (const AppError& error) {
        tellLoadFailure(ws, QStringLiteral("No se pudieron leer las relaciones de origen."), error);
        return {};
    }
}

bool Eliminar_PaisRel(Workspace& ws, const OriginRelation& relation)
{
    try {
        return OriginRelations::remove(ws.work(), relation.text, relation.code) > 0;
    } catch (const AppError& error) {
        ws.dialogs().message(
            MessageIcon::Critical,
            errorText(error, QStringLiteral(" - seccion [Aduplan.frmConfig.Eliminar_PaisRel]")));
        return false;
    }
}

OriginRelations::Countries countries(Workspace& ws)
{
    try {
        return OriginRelations::countries(ws.work());
    } catch (const AppError& error) {
        tellLoadFailure(ws, QStringLiteral("No se pudo leer la lista de países."), error);
        return {};
    }
}

std::optional<OriginRelation> AgregarRelacionPaisOrigen(Workspace& ws, const QString& text,
                                                        const QString& code)
{
    if (text.trimmed().isEmpty()) {
        ws.dialogs().message(
            MessageIcon::Critical,
            QStringLiteral("Debe ingresar algun datos en el campo ORIGEN FACTURA"));
        return std::nullopt;
    }
    if (code.trimmed().isEmpty()) {
        ws.dialogs().message(MessageIcon::Critical,
                             QStringLiteral("Debe seleccionar un ORIGEN MARIA"));
        return std::nullopt;
    }
    try {
        if (OriginRelations::add(ws.work(), text, code) > 0)
            return OriginRelation{text, code};
    } catch (const AppError& error) {
        ws.dialogs().message(
            MessageIcon::Critical,
            errorText(error,
                      QStringLiteral(" - seccion [Aduplan.frmNewPais.AgregarRelacionPaisOrigen]")));
    }
    return std::nullopt;
}

} // namespace Configuration
