#include "app/frmInterno.h"

#include "app/Internos.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QShortcut>
#include <QVBoxLayout>

frmInterno::frmInterno(Workspace& ws, QWidget* parent)
    : QDialog(parent)
    , m_ws(ws) {
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

    // The dialog sees F11 before its text boxes; Escape closes it through QDialog.
    auto* save = new QShortcut(QKeySequence(Qt::Key_F11), this);
    save->setContext(Qt::WindowShortcut);
    connect(save, &QShortcut::activated, this, &frmInterno::NuevoInterno);
}

QString frmInterno::numero() const {
    return m_numero->text();
}

void frmInterno::NuevoInterno() {
    QString descripcion = m_descripcion->text();
    const Internos::Alta alta = Internos::NuevoInterno(m_ws, m_numero->text(), descripcion);
    m_descripcion->setText(descripcion);
    if (alta == Internos::Alta::Rechazada)
        return;
    m_created = alta == Internos::Alta::Creada;
    accept();
}
