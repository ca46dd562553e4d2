// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "controls/KeyPreviewDialog.h"
#include "workspace/OperatorDialogs.h"

#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class Workspace;

/**
 * The origin relation entry ("Unidades MARIA"): an invoice's country text and the country
 * code it stands for; from an invoice, a line above says which text it asks about. F11 saves the
 * relation and closes; Escape or the close box leave without a relation.
 */
class frmNewPais : public KeyPreviewDialog {
    Q_OBJECT
public:
    enum class Mode {
        /** "A": from the article loading; the invoice's text comes preset and locked. */
        A,
        /** "M": from the configuration window; the operator types the text. */
        M,
    };

    frmNewPais(Workspace& ws, Mode mode, const QString& countryText, QWidget* parent = nullptr);

    /** Shows the entry modally; the saved relation, or nothing when left without saving. */
    static std::optional<OriginRelation> open(Workspace& ws, Mode mode, const QString& countryText,
                                              QWidget* parent);

    /** The relation saved by F11; nothing until then and after leaving without a save. */
    const std::optional<OriginRelation>& relation() const { return m_relation; }

    void reject() override;

protected:
    bool previewKey(QObject* target, QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void AgregarRelacionPaisOrigen();

    Workspace& m_ws;
    Mode m_mode;
    bool m_activated = false;
    /** Given the place it had when last closed. */
    bool m_restored = false;
    std::optional<OriginRelation> m_relation;

    QLabel* lbFactura = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* txtPais = nullptr;
    QLabel* Label2 = nullptr;
    QComboBox* cboOrigen = nullptr;
    QComboBox* cboIdOrigen = nullptr;
    QLabel* Label3 = nullptr;
};
