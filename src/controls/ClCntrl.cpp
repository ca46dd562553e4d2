// SPDX-License-Identifier: Apache-2.0
#include "controls/ClCntrl.h"

#include "workspace/OperatorDialogs.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTimer>

namespace {

void setBase(QWidget* control, const QColor& colour)
{
    QPalette palette = control->palette();
    palette.setColor(QPalette::Base, colour);
    control->setPalette(palette);
}

/** Moves the focus on as Tab (or back as Shift+Tab) pressed on the control would. */
void tab(QWidget* control, bool back)
{
    QKeyEvent key(QEvent::KeyPress, back ? Qt::Key_Backtab : Qt::Key_Tab,
                  back ? Qt::ShiftModifier : Qt::NoModifier);
    QCoreApplication::sendEvent(control, &key);
}

} // namespace

ClCntrl::ClCntrl()
{
    ObtenerDecimal();
}

void ClCntrl::ObtenerDecimal()
{
    m_separator = QLocale().decimalPoint();
}

void ClCntrl::sLinkText(QWidget* text)
{
    vTextCtrl = text;
    setParent(text);
    if (auto* multiLine = qobject_cast<QPlainTextEdit*>(text))
        multiLine->setTabChangesFocus(true);
    // A read-only box shows the start of its text, as the operator reads it.
    if (auto* line = qobject_cast<QLineEdit*>(text)) {
        connect(line, &QLineEdit::textChanged, this, [line] {
            if (line->isReadOnly())
                line->setCursorPosition(0);
        });
    }
    text->installEventFilter(this);
}

void ClCntrl::sLinkListBox(QListWidget* list)
{
    vListBox = list;
    setParent(list);
    list->viewport()->setMouseTracking(true);
    list->viewport()->installEventFilter(this);
}

void ClCntrl::LstBuscarStr(const QString& Valor)
{
    QStringList lines;
    for (int row = 0; row < vListBox->count(); ++row)
        lines << vListBox->item(row)->text();
    vListBox->setCurrentRow(firstLineStartingWith(lines, Valor));
}

bool ClCntrl::eventFilter(QObject* watched, QEvent* event)
{
    if (vTextCtrl && watched == vTextCtrl)
        return textEvent(event);
    if (vListBox && watched == vListBox->viewport() && event->type() == QEvent::MouseMove)
        listMouseMove(event);
    return false;
}

bool ClCntrl::textEvent(QEvent* event)
{
    auto* line = qobject_cast<QLineEdit*>(vTextCtrl);
    auto* multiLine = qobject_cast<QPlainTextEdit*>(vTextCtrl);
    switch (event->type()) {
    case QEvent::FocusIn: {
        setBase(vTextCtrl, QColor(192, 255, 192));
        const auto selectAll = [line, multiLine] {
            if (line && line->isReadOnly())
                line->setSelection(int(line->text().size()), -int(line->text().size()));
            else if (line)
                line->selectAll();
            else if (multiLine)
                multiLine->selectAll();
        };
        // A click places the cursor after this: select once it has.
        if (static_cast<QFocusEvent*>(event)->reason() == Qt::MouseFocusReason)
            QTimer::singleShot(0, vTextCtrl, selectAll);
        else
            selectAll();
        return false;
    }
    case QEvent::FocusOut:
        setBase(vTextCtrl, Qt::white);
        return false;
    case QEvent::KeyPress:
        break;
    default:
        return false;
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    switch (key->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
        tab(vTextCtrl, key->key() == Qt::Key_Up);
        return false;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        tab(vTextCtrl, false);
        return true;
    default:
        break;
    }
    const bool keypadDecimal = key->modifiers().testFlag(Qt::KeypadModifier) &&
                               (key->key() == Qt::Key_Period || key->key() == Qt::Key_Comma);
    if (!keypadDecimal || m_separator.isEmpty() || key->text() == m_separator)
        return false;
    if (line)
        line->insert(m_separator);
    else if (multiLine)
        multiLine->insertPlainText(m_separator);
    return true;
}

void ClCntrl::listMouseMove(QEvent* event)
{
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->buttons() != Qt::NoButton)
        return;
    const QListWidgetItem* item = vListBox->itemAt(mouse->position().toPoint());
    vListBox->viewport()->setToolTip(item ? item->text() : QString());
}
