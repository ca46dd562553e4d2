// SPDX-License-Identifier: Apache-2.0
#include "app/QtOperatorDialogs.h"

#include "config/frmNewPais.h"
#include "controls/WindowGeometry.h"
#include "review/FrmCargaSufijos.h"
#include "workspace/Workspace.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>

namespace {

QMessageBox::Icon toQt(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Critical:
        return QMessageBox::Critical;
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

/** Message boxes appear over a busy operation: show the normal pointer while they are up. */
class NormalPointer {
public:
    NormalPointer() { QApplication::setOverrideCursor(Qt::ArrowCursor); }
    ~NormalPointer() { QApplication::restoreOverrideCursor(); }
    NormalPointer(const NormalPointer&) = delete;
    NormalPointer& operator=(const NormalPointer&) = delete;
};

} // namespace

QWidget* QtOperatorDialogs::owner() const
{
    // A modal window (the record editor, the configuration) is the active one while it is up;
    // a window beside the main one (the results list) is when the operator works in it.
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    if (QWidget* active = QApplication::activeWindow())
        return active;
    return m_parent;
}

void QtOperatorDialogs::message(MessageIcon icon, const QString& text)
{
    NormalPointer pointer;
    QMessageBox box(toQt(icon), QStringLiteral("Aduplan"), text, QMessageBox::Ok, owner());
    box.exec();
}

bool QtOperatorDialogs::question(const QString& text, DefaultAnswer byDefault)
{
    NormalPointer pointer;
    QMessageBox box(QMessageBox::Question, QStringLiteral("Aduplan"), text,
                    QMessageBox::Yes | QMessageBox::No, owner());
    box.button(QMessageBox::Yes)->setText(QStringLiteral("&Sí"));
    box.button(QMessageBox::No)->setText(QStringLiteral("&No"));
    box.setDefaultButton(byDefault == DefaultAnswer::No ? QMessageBox::No : QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

std::optional<QString> QtOperatorDialogs::textInput(const QString& prompt, const QString& title,
                                                    const QString& defaultText)
{
    NormalPointer pointer;
    QInputDialog box(owner());
    box.setObjectName(QStringLiteral("InputBox"));
    box.setWindowTitle(title);
    box.setLabelText(prompt);
    box.setTextValue(defaultText);
    WindowGeometry::makeResizableDialog(&box);
    if (m_ws)
        WindowGeometry::rememberGeometry(&box, m_ws->settings());
    return box.exec() == QDialog::Accepted ? std::optional<QString>(box.textValue()) : std::nullopt;
}

std::optional<QString> QtOperatorDialogs::chooseOption(const QStringList& lines, int preselected)
{
    NormalPointer pointer;
    return FrmCargaSufijos::choose(lines, preselected, owner());
}

std::optional<OriginRelation> QtOperatorDialogs::originRelation(const QString& countryText)
{
    NormalPointer pointer;
    if (!m_ws)
        return std::nullopt;
    return frmNewPais::open(*m_ws, frmNewPais::Mode::A, countryText, owner());
}

std::optional<QString> QtOperatorDialogs::chooseFile(const QString& title, const QString& filter,
                                                     const QString& folder)
{
    NormalPointer pointer;
    const QString file = QFileDialog::getOpenFileName(owner(), title, folder, filter);
    return file.isEmpty() ? std::nullopt : std::optional<QString>(file);
}

std::optional<QString> QtOperatorDialogs::chooseSaveFile(const SaveChoice& choice)
{
    NormalPointer pointer;
    QFileDialog dialog(owner(), choice.title);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !choice.confirmReplace);
    dialog.setNameFilters(choice.filters);
    // A name typed without an extension takes the chosen type's: "(*.xlsx)" gives "xlsx",
    // "(*)" none.
    const auto takeSuffix = [&dialog](const QString& filter) {
        static const QRegularExpression single(QStringLiteral(R"(\(\*\.(\w+)\)$)"));
        dialog.setDefaultSuffix(single.match(filter).captured(1));
    };
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, takeSuffix);
    takeSuffix(choice.filters.value(0));
    dialog.setDirectory(QFileInfo(choice.proposed).absolutePath());
    dialog.selectFile(QFileInfo(choice.proposed).fileName());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first();
}
