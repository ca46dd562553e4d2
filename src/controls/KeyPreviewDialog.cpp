#include "controls/KeyPreviewDialog.h"

#include <QKeyEvent>

void KeyPreviewDialog::enableKeyPreview()
{
    for (QWidget* control : findChildren<QWidget*>())
        control->installEventFilter(this);
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
