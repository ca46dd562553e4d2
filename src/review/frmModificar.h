// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "controls/KeyPreviewDialog.h"
#include "review/RecordEditor.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class Workspace;

/**
 * The record editor ("Modificar") over one article row: Enter on the position confirms it and
 * asks its suffixes again, F6 on it opens the position search (FrmPosicion), F7 the suggestions, F8
 * the row's history, F11 saves (the dialog is then accepted), Escape and the close box leave
 * everything as stored. The rules are RecordEditor's; the window shows its fields.
 */
class frmModificar : public KeyPreviewDialog {
    Q_OBJECT
public:
    frmModificar(Workspace& ws, const QString& interno, qint64 line, QWidget* parent = nullptr);

protected:
    bool previewKey(QObject* target, QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    /** The operator's texts into the editor's fields. */
    void collect();
    /** The editor's fields into the controls. */
    void render();
    /** Each field carries the caption of its label as its accessible name. */
    void nameFields();
    /** Puts the operator on the field a refusal was about. */
    void focusRefusedField();

    Workspace& m_ws;
    RecordEditor m_editor;
    QString m_interno;
    qint64 m_line;
    bool m_loaded = false;

    QLineEdit* txtPRCNCM = nullptr;
    QLabel* lbPRCLAP = nullptr;
    QLineEdit* txtPositionDescription = nullptr;
    QLabel* lbPRCEUN = nullptr;
    QLineEdit* txtPRCECA = nullptr;
    QLabel* lbPRCSUN = nullptr;
    QLineEdit* txtPRCSCA = nullptr;
    QLineEdit* txtPRCDUN = nullptr;
    QLineEdit* txtPRCESM = nullptr;
    QComboBox* cboPRCORI = nullptr;
    QPlainTextEdit* txtPRCSUF = nullptr;
    QLineEdit* txtARTNRO = nullptr;
    QLineEdit* txtARTDSC = nullptr;
    QLineEdit* txtARTORG = nullptr;
    QLineEdit* txtARTCAN = nullptr;
    QLineEdit* txtARTUNI = nullptr;
    QLineEdit* txtARTTOT = nullptr;
};
