// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "controls/KeyPreviewDialog.h"

#include <QList>

struct HistoryEntry;
class QTreeWidget;

/**
 * The row history of the record editor's row ("Historial"): one line per entry, oldest first:
 * time, user, host, front end, field, old and new value, detail. Escape and the close box
 * close it.
 */
class HistoryWindow : public KeyPreviewDialog {
    Q_OBJECT
public:
    HistoryWindow(const QString& row, const QList<HistoryEntry>& entries,
                  QWidget* parent = nullptr);

    /** Shows the entries of the row (its caption) modally. */
    static void showModal(const QString& row, const QList<HistoryEntry>& entries, QWidget* parent);

protected:
    bool previewKey(QObject* target, QKeyEvent* event) override;

private:
    QTreeWidget* lstHistory = nullptr;
};
