#include "config/frmNewPais.h"

#include "config/Configuration.h"
#include "controls/WindowGeometry.h"
#include "workspace/Workspace.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

using WindowGeometry::place;
using WindowGeometry::twips;

frmNewPais::frmNewPais(Workspace& ws, Mode mode, const QString& countryText, QWidget* parent)
    : KeyPreviewDialog(parent)
    , m_ws(ws)
    , m_mode(mode)
{
    setObjectName(QStringLiteral("frmNewPais"));
    setWindowTitle(QStringLiteral("Unidades MARIA"));
    WindowGeometry::makeFixedDialog(this, 2670, 2085);

    Label1 = place(new QLabel(QStringLiteral("Origen Factura"), this), "Label1",
                   twips(270, 150, 1455, 165));
    txtPais = place(new QLineEdit(this), "txtPais", twips(240, 390, 1485, 285));
    Label2 = place(new QLabel(QStringLiteral("Origen Maria"), this), "Label2",
                   twips(270, 840, 1545, 195));
    cboOrigen = place(new QComboBox(this), "cboOrigen", twips(240, 1080, 2205, 315));
    cboIdOrigen = place(new QComboBox(this), "cboIdOrigen", twips(1020, 1080, 555, 315));
    cboIdOrigen->hide();
    Label3 = place(new QLabel(QStringLiteral("[F11] Guardar - [ESC] Salir"), this), "Label3",
                   twips(210, 1770, 2235, 195));

    setTabOrder(txtPais, cboOrigen);
    enableKeyPreview();

    const OriginRelations::Countries countries = Configuration::countries(m_ws);
    cboIdOrigen->addItems(countries.codes);
    cboOrigen->addItems(countries.names);
    if (cboOrigen->count() > 0)
        cboOrigen->setCurrentIndex(0);
    if (m_mode == Mode::A)
        txtPais->setText(countryText);
}

std::optional<OriginRelation> frmNewPais::open(Workspace& ws, Mode mode, const QString& countryText,
                                               QWidget* parent)
{
    frmNewPais entry(ws, mode, countryText, parent);
    entry.exec();
    return entry.relation();
}

void frmNewPais::reject()
{
    m_relation.reset();
    KeyPreviewDialog::reject();
}

bool frmNewPais::previewKey(QObject*, QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_F11:
        AgregarRelacionPaisOrigen();
        return true;
    case Qt::Key_Escape:
        reject();
        return true;
    default:
        return false;
    }
}

void frmNewPais::showEvent(QShowEvent* event)
{
    KeyPreviewDialog::showEvent(event);
    if (m_activated)
        return;
    m_activated = true;
    WindowGeometry::centreOn(this, parentWidget());
    if (m_mode == Mode::A && !txtPais->text().trimmed().isEmpty()) {
        txtPais->setEnabled(false);
        cboOrigen->setFocus();
    } else {
        txtPais->setFocus();
    }
}

void frmNewPais::AgregarRelacionPaisOrigen()
{
    m_relation = Configuration::AgregarRelacionPaisOrigen(
        m_ws, txtPais->text(), cboIdOrigen->itemText(cboOrigen->currentIndex()));
    if (m_relation)
        accept();
}
