// SPDX-License-Identifier: Apache-2.0
#include "wizard/Internos.h"

#include "data/ArticleStore.h"
#include "data/HistoryStore.h"
#include "data/InvoiceTotalStore.h"
#include "workspace/Workspace.h"

#include <algorithm>

namespace Internos {

QList<InternoRow> FRAM1_CargarInternos(Workspace& ws)
{
    QList<InternoRow> internos;
    try {
        RecordSet rs;
        ws.work().Sql(QStringLiteral("select * from INTN order by INTNRO"));
        if (ws.work().CrearRs(rs)) {
            for (; !rs.Eof(); rs.MoveNext())
                internos.append({ws.formatter().EsNull(rs.Fields(QStringLiteral("INTNRO"))),
                                 ws.formatter().EsNull(rs.Fields(QStringLiteral("INTDSC")))});
        }
    } catch (const AppError& error) {
        ws.dialogs().message(
            MessageIcon::Critical,
            errorText(error, QStringLiteral(" - seccion [Aduplan.frmMain.FRAM1_CargarInternos]")));
        return {};
    }
    return internos;
}

QString textoGuardado(const QString& text)
{
    QString stored = text;
    stored.replace(QLatin1Char('\''), QLatin1Char(' '));
    return stored;
}

namespace {

/** Line breaks, tabs, escapes and the like: they would break every list that shows the text. */
bool hasControlCharacter(const QString& text)
{
    return std::any_of(text.cbegin(), text.cend(),
                       [](QChar c) { return c.category() == QChar::Other_Control; });
}

} // namespace

bool existe(Workspace& ws, const QString& numero)
{
    RecordSet rs;
    ws.work().Sql(QStringLiteral("select count(INTNRO) as Total from INTN where INTNRO = ?"),
                  {textoGuardado(numero)});
    ws.work().CrearRs(rs);
    return ws.formatter().EsNumero(rs.Fields(QStringLiteral("Total"))) > 0;
}

Alta NuevoInterno(Workspace& ws, const QString& numero, QString& descripcion)
{
    // Checked as stored, so that a number made of apostrophes is not stored blank.
    const QString number = textoGuardado(numero);
    if (number.trimmed().isEmpty()) {
        ws.dialogs().message(MessageIcon::Exclamation,
                             QStringLiteral("Debe ingresar el número interno"));
        return Alta::Rechazada;
    }
    if (hasControlCharacter(number) || hasControlCharacter(descripcion)) {
        ws.dialogs().message(MessageIcon::Exclamation,
                             QStringLiteral("El número y la descripción del interno no pueden "
                                            "contener caracteres de control (saltos de línea, "
                                            "tabulaciones, escapes)."));
        return Alta::Rechazada;
    }
    if (descripcion.trimmed().isEmpty())
        descripcion = numero;
    try {
        if (existe(ws, number)) {
            ws.dialogs().message(MessageIcon::Exclamation,
                                 QStringLiteral("El interno %1 ya existe.").arg(number));
            return Alta::Rechazada;
        }
        ws.work().Sql(QStringLiteral("insert into INTN (INTNRO, INTDSC) values (?, ?)"),
                      {number, textoGuardado(descripcion)});
        return ws.work().ejecutar() > 0 ? Alta::Creada : Alta::NoCreada;
    } catch (const AppError& error) {
        ws.dialogs().message(
            MessageIcon::Critical,
            errorText(error, QStringLiteral(" - seccion [Aduplan.frmInterno.NuevoInterno]")));
        return Alta::Rechazada;
    }
}

bool FRAM1_EliminarInterno(Workspace& ws, const QString& numero)
{
    if (!ws.dialogs().question(QStringLiteral("Desea eliminar el Interno %1?").arg(numero),
                               DefaultAnswer::Yes))
        return false;
    try {
        TransactionGuard transaction(ws.work());
        ArticleStore(ws.work()).deleteRows(numero);
        InvoiceTotalStore(ws.work()).remove(numero);
        HistoryStore(ws.work(), ws.historyAuthor()).markDeleted(numero);
        ws.work().Sql(QStringLiteral("delete from INTN where INTNRO = ?"), {numero});
        const bool deleted = ws.work().ejecutar() > 0;
        transaction.commit();
        return deleted;
    } catch (const AppError& error) {
        ws.dialogs().message(
            MessageIcon::Critical,
            errorText(error, QStringLiteral(" - seccion [Aduplan.frmInterno.EliminarInterno]")));
        return false;
    }
}

} // namespace Internos
