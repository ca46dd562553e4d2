// SPDX-License-Identifier: Apache-2.0
#include "wizard/Wizard.h"

#include "data/ArticleStore.h"
#include "process/Process.h"
#include "review/InvoiceArithmetic.h"
#include "transfer/Transfer.h"
#include "workspace/Workspace.h"

#include <QDir>
#include <QFileInfo>

namespace {
const QString NextCaption = QStringLiteral("Seguiente >");
const QString TagOk = QStringLiteral("OK");
} // namespace

Wizard::Wizard(Workspace& ws)
    : m_ws(ws)
    , m_pasoNro(QStringLiteral("Paso 1"))
    , m_pasoDesc(QStringLiteral("Seleccionar el interno a procesar"))
    , m_nextCaption(NextCaption)
{}

void Wizard::select(int index)
{
    if (index >= 0 && index < m_internos.size())
        m_selected = index;
}

void Wizard::FRAM1_CargarInternos()
{
    m_internos = Internos::FRAM1_CargarInternos(m_ws);
    m_selected = m_internos.isEmpty() ? -1 : 0;
}

void Wizard::FRAM1_InternoCreado(const QString& numero)
{
    FRAM1_CargarInternos();
    const QString stored = Internos::textoGuardado(numero);
    for (int i = 0; i < m_internos.size(); ++i) {
        if (m_internos.at(i).numero == stored)
            m_selected = i;
    }
}

void Wizard::FRAM1_EliminarInterno()
{
    if (m_selected < 0)
        return;
    if (!Internos::FRAM1_EliminarInterno(m_ws, m_internos.at(m_selected).numero))
        return;
    m_internos.removeAt(m_selected);
    if (m_selected >= m_internos.size())
        m_selected = static_cast<int>(m_internos.size()) - 1;
}

void Wizard::FRAM2_CmdProcesar()
{
    if (Seleccionar_Archivo_XLS())
        lf_LevantarExcel(m_documentPath);
}

bool Wizard::Seleccionar_Archivo_XLS()
{
    // The folder of the last invoice, else the home's invoices, else the home.
    QString folder = m_ws.settings().documentFolder();
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
        const QString invoices = QDir(m_ws.home()).filePath(QStringLiteral("invoices"));
        folder = QFileInfo(invoices).isDir() ? invoices : m_ws.home();
    }
    const std::optional<QString> file = m_ws.dialogs().chooseFile(
        QStringLiteral("Seleccione el archivo a procesar"),
        QStringLiteral(
            "Factura (*.doc *.docx *.pdf *.odt);;Archivo Word (*.doc);;Archivo Word 2007 "
            "(*.docx);;Archivo PDF (*.pdf);;Documento OpenDocument (*.odt)"),
        folder);
    if (!file)
        return false;
    m_documentPath = *file;
    m_ws.settings().saveDocumentFolder(QFileInfo(*file).absolutePath());
    return true;
}

bool Wizard::lf_LevantarExcel(const QString& p_Archivo)
{
    BusyCursor busy(m_ws.progress());
    if (p_Archivo.trimmed().isEmpty())
        return false;
    if (!m_ws.system().ExisteArchivo(p_Archivo)) {
        m_ws.dialogs().message(MessageIcon::Exclamation,
                               QStringLiteral("No se encuentra el archivo seleccionado \n") +
                                   p_Archivo);
        return false;
    }
    m_nextEnabled = true;
    m_nextTag.clear();
    return true;
}

void Wizard::MAIN_CambiarPaso()
{
    m_line = 0;
    try {
        switch (m_step) {
        case 1:
            dejarPaso1();
            break;
        case 2:
            procesar();
            break;
        default:
            m_line = 90;
            FRM3_Tranferir(m_ws, m_interno);
            break;
        }
    } catch (const AppError& error) {
        m_ws.dialogs().message(
            MessageIcon::None,
            error.description() + QStringLiteral("\n\n") + QString::number(error.number()) +
                QStringLiteral("- seccion Main_CambiarPaso lin ") + QString::number(m_line));
    }
}

void Wizard::dejarPaso1()
{
    m_line = 10;
    if (m_internos.isEmpty()) {
        m_ws.dialogs().message(
            MessageIcon::Exclamation,
            QStringLiteral(
                "Debe seleccionar un interno para continuar, presione [ INSERT ] para crear uno."));
        return;
    }
    m_line = 20;
    m_step = 2;
    m_interno = m_internos.at(m_selected).numero;

    m_line = 30;
    m_panelEnabled[0] = false;
    m_panel = 2;
    m_nextEnabled = false;
    m_pasoNro = QStringLiteral("Paso 2");
    m_pasoDesc = QStringLiteral("Abrir archivo excel para procesar");

    m_line = 40;
    if (ArticleStore(m_ws.work()).count(m_interno) > 0) {
        m_nextEnabled = true;
        m_ws.progress().setMessage(QStringLiteral(
            "Este interno contiene registros haga click en SIGUIENTE, para depurar."));
        m_nextTag = TagOk;
    } else {
        m_nextTag.clear();
    }
}

void Wizard::procesar()
{
    m_line = 50;
    m_ws.progress().setMessage(QString());
    if (m_nextTag != TagOk) {
        m_line = 60;
        if (!FRAM2_GuardarDatosToBase(m_ws, m_interno, m_documentPath))
            return;
    }
    irPaso3();
}

void Wizard::irPaso3()
{
    m_line = 70;
    m_step = 3;
    m_panelEnabled[1] = false;
    m_panel = 3;
    m_pasoNro = QStringLiteral("Paso 3");
    m_pasoDesc = QStringLiteral("Depuración de Datos procesadoss");
    // The caption changes with the step, so that the button never reads "Seguiente >" while
    // it would run the transfer.
    m_nextCaption = QStringLiteral("Transferir");
    m_nextEnabled = true;

    m_line = 80;
    readCounters();
}

void Wizard::readCounters()
{
    m_counters = FRAM3_CargarEstadisticas(m_ws, m_interno);
    m_amountsToReview = InvoiceArithmetic::countToReview(m_ws.work(), m_interno);
}

void Wizard::refreshCounters()
{
    try {
        readCounters();
    } catch (const AppError& error) {
        m_ws.dialogs().message(
            MessageIcon::Critical,
            errorText(error,
                      QStringLiteral(" - seccion [Aduplan.frmMain.FRAM3_CargarEstadisticas]")));
    }
}
