// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QObject>
#include <QString>

class QListWidget;
class QWidget;

/**
 * The shared entry behaviour of a text box or a list box, one object per control: a linked
 * text box (QLineEdit or QPlainTextEdit) turns light green while it has the focus, selects its
 * whole text on entry (a read-only one keeping the start of its text in view, there and
 * whenever its text changes), moves the focus on Enter (which it swallows) and on the up and down
 * arrows, and types the locale's decimal separator for the keypad's decimal key. A linked list
 * shows the line under the pointer as its tooltip and can select the first line beginning with
 * a text. The object belongs to the control it is linked to.
 */
class ClCntrl : public QObject {
    Q_OBJECT
public:
    ClCntrl();

    /** Links a QLineEdit or QPlainTextEdit. */
    void sLinkText(QWidget* text);
    void sLinkListBox(QListWidget* list);
    /** Selects the first line of the linked list that begins with the text, ignoring case; no
     *  line when none does. */
    void LstBuscarStr(const QString& Valor);
    /** Reads the decimal separator of the user's locale. */
    void ObtenerDecimal();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool textEvent(QEvent* event);
    void listMouseMove(QEvent* event);

    QWidget* vTextCtrl = nullptr;
    QListWidget* vListBox = nullptr;
    QString m_separator;
};
