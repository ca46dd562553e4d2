// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QDialog>

class QLineEdit;
class Workspace;

/**
 * "Nuevo Interno": the number and description of a new interno. F11 saves and closes,
 * Escape leaves without saving. After exec(), created() tells whether an interno was stored.
 */
class frmInterno : public QDialog {
    Q_OBJECT
public:
    frmInterno(Workspace& ws, QWidget* parent = nullptr);

    bool created() const { return m_created; }
    /** The number as typed. */
    QString numero() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void NuevoInterno();

    Workspace& m_ws;
    QLineEdit* m_numero = nullptr;
    QLineEdit* m_descripcion = nullptr;
    bool m_created = false;
};
