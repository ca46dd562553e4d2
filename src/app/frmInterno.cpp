// SPDX-License-Identifier: Apache-2.0
#include "app/frmInterno.h"

#include "wizard/Internos.h"

#include <QFormLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

frmInterno::frmInterno(Workspace& ws, QWidget* parent)
    : QDialog(parent)
    , m_ws(ws)
{
    setObjectName(QStringLiteral("frmInterno"));
    setWindowTitle(QStringLiteral("Nuevo Interno"));

    m_numero = new QLineEdit(this);
    m_numero->setObjectName(QStringLiteral("txtInterno"));
    m_descripcion = new QLineEdit(this);
    m_descripcion->setObjectName(QStringLiteral("txtDescripcion"));
    m_descripcion->setMinimumWidth(260);

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("Interno"), m_numero);
    fields->addRow(QStringLiteral("Descripcion"), m_descripcion);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(new QLabel(QStringLiteral("[Insert] Agregar - [Esc] Salir"), this));
}

void frmInterno::keyPressEvent(QKeyEvent* event)
{
    // The text boxes leave F11 to the dialog; Escape closes it through QDialog.
    if (event->key() == Qt::Key_F11 && event->modifiers() == Qt::NoModifier) {
        NuevoInterno();
        return;
    }
    QDialog::keyPressEvent(event);
}

QString frmInterno::numero() const
{
    return m_numero->text();
}

void frmInterno::NuevoInterno()
{
    QString descripcion = m_descripcion->text();
    const Internos::Alta alta = Internos::NuevoInterno(m_ws, m_numero->text(), descripcion);
    m_descripcion->setText(descripcion);
    if (alta == Internos::Alta::Rechazada)
        return;
    m_created = alta == Internos::Alta::Creada;
    accept();
}
