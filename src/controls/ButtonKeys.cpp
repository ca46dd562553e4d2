// SPDX-License-Identifier: Apache-2.0
#include "controls/ButtonKeys.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QPushButton>

namespace {

/** Presses its button on Enter. */
class EnterPresses : public QObject {
public:
    explicit EnterPresses(QAbstractButton* button)
        : QObject(button)
        , m_button(button)
    {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return QObject::eventFilter(watched, event);
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter)
            return QObject::eventFilter(watched, event);
        m_button->click();
        return true;
    }

private:
    QAbstractButton* m_button;
};

} // namespace

void ButtonKeys::enterPresses(QAbstractButton* button)
{
    if (auto* push = qobject_cast<QPushButton*>(button))
        push->setAutoDefault(false);
    button->installEventFilter(new EnterPresses(button));
}
