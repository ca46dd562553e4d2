// SPDX-License-Identifier: Apache-2.0
#include "controls/KeyPreviewDialog.h"

#include "controls/ButtonKeys.h"

#include <QAbstractButton>
#include <QKeyEvent>

void KeyPreviewDialog::enableKeyPreview()
{
    for (QWidget* control : findChildren<QWidget*>()) {
        control->installEventFilter(this);
        if (auto* button = qobject_cast<QAbstractButton*>(control))
            ButtonKeys::enterPresses(button);
    }
}

bool KeyPreviewDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && previewKey(watched, static_cast<QKeyEvent*>(event)))
        return true;
    return QDialog::eventFilter(watched, event);
}

void KeyPreviewDialog::keyPressEvent(QKeyEvent* event)
{
    if (!previewKey(this, event))
        QDialog::keyPressEvent(event);
}
