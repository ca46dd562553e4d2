// SPDX-License-Identifier: Apache-2.0
#include "config/frmNewPais.h"

#include "config/Configuration.h"
#include "controls/WindowGeometry.h"
#include "workspace/Workspace.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

using WindowGeometry::named;
using WindowGeometry::twips;

frmNewPais::frmNewPais(Workspace& ws, Mode mode, const QString& countryText, QWidget* parent)
    : KeyPreviewDialog(parent)
    , m_ws(ws)
    , m_mode(mode)
{
    setObjectName(QStringLiteral("frmNewPais"));
    setWindowTitle(QStringLiteral("Unidades MARIA"));
    setFont(WindowGeometry::windowFont());

    // The invoice's text the entry asks about, when it comes from an invoice.
    lbFactura = named(new QLabel(this), "lbFactura");
    lbFactura->setFont(WindowGeometry::windowFont(true));
    Label1 = named(new QLabel(QStringLiteral("Origen Factura"), this), "Label1");
    txtPais = named(new QLineEdit(this), "txtPais");
    Label2 = named(new QLabel(QStringLiteral("Origen Maria"), this), "Label2");
    cboOrigen = named(new QComboBox(this), "cboOrigen");
    cboOrigen->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    cboIdOrigen = named(new QComboBox(this), "cboIdOrigen");
    cboIdOrigen->hide();
    Label3 = named(new QLabel(QStringLiteral("[F11] Guardar - [ESC] Salir"), this), "Label3");

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(twips(240), twips(150), twips(240), twips(150));
    layout->addWidget(lbFactura);
    layout->addWidget(Label1);
    layout->addWidget(txtPais);
    layout->addSpacing(twips(120));
    layout->addWidget(Label2);
    layout->addWidget(cboOrigen);
    layout->addSpacing(twips(240));
    layout->addWidget(Label3);

    setTabOrder(txtPais, cboOrigen);
    enableKeyPreview();

    const OriginRelations::Countries countries = Configuration::countries(m_ws);
    cboIdOrigen->addItems(countries.codes);
    cboOrigen->addItems(countries.names);
    if (cboOrigen->count() > 0)
        cboOrigen->setCurrentIndex(0);
    if (m_mode == Mode::A)
        txtPais->setText(countryText);
    if (m_mode == Mode::A && !countryText.trimmed().isEmpty())
        lbFactura->setText(QStringLiteral("La factura dice «%1»: ¿de qué país se trata?")
                               .arg(countryText.trimmed()));
    lbFactura->setVisible(!lbFactura->text().isEmpty());
    WindowGeometry::makeFixedDialog(this);
    m_restored = WindowGeometry::rememberGeometry(this, m_ws.settings());
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
    if (!m_restored)
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
