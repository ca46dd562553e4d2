// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QDialog>

class QKeyEvent;

/**
 * A modal window whose own key handler sees every key before its controls (key preview) but
 * Enter on a focused button, which presses the button. Subclasses call enableKeyPreview() once
 * their controls exist.
 */
class KeyPreviewDialog : public QDialog {
    Q_OBJECT
public:
    using QDialog::QDialog;

protected:
    /** Handles a key meant for target (a control or the window); true when it was used. */
    virtual bool previewKey(QObject* target, QKeyEvent* event) = 0;
    /** Routes the keys of every control of the window through previewKey(). */
    void enableKeyPreview();

    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};
