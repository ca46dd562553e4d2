// SPDX-License-Identifier: Apache-2.0
#include "review/FrmPosicion.h"

#include "controls/ClCntrl.h"
#include "controls/WindowGeometry.h"
#include "workspace/Workspace.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStyle>

#include <algorithm>

using WindowGeometry::named;
using WindowGeometry::twips;

namespace {

/** The widest a position can be written. */
const QString LongestPosition = QStringLiteral("8888.88.88.888W");

} // namespace

FrmPosicion::FrmPosicion(Workspace& ws, const QString& searchText, QWidget* parent)
    : KeyPreviewDialog(parent)
    , m_search(ws)
{
    setObjectName(QStringLiteral("FrmPosicion"));
    setWindowTitle(QStringLiteral("Buscar Posición"));
    setFont(WindowGeometry::windowFont());

    TxtNCMF = named(new QLineEdit(this), "TxtNCMF");
    TxtNCMF->setMaxLength(PositionSearch::NumberLength);
    TxtNCMF->setText(searchText);
    LstNCM = named(new QListWidget(this), "LstNCM");
    LstNCM->setMinimumWidth(listWidth({LongestPosition}));
    LbDescripcion = named(new QPlainTextEdit(this), "LbDescripcion");
    LbDescripcion->setReadOnly(true);
    LbDescripcion->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    LbDescripcion->setMinimumSize(twips(4755), twips(1455));
    LstSufijos = named(new QListWidget(this), "LstSufijos");
    LstSufijos->setMinimumHeight(twips(2790));
    QPalette tip = LstSufijos->palette();
    tip.setColor(QPalette::Base, tip.color(QPalette::ToolTipBase));
    LstSufijos->setPalette(tip);
    (new ClCntrl)->sLinkListBox(LstSufijos);
    lbWords = named(new QLabel(QStringLiteral("Buscar por palabras:"), this), "lbWords");
    txtWords = named(new QLineEdit(this), "txtWords");
    txtWords->setPlaceholderText(QStringLiteral("palabras de la descripción, Enter"));

    // The number and its list on the left, the details on the right, the words below; the
    // lists take the room the window gains.
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(twips(60), twips(60), twips(60), twips(60));
    layout->addWidget(TxtNCMF, 0, 0);
    layout->addWidget(LstNCM, 1, 0, 2, 1);
    layout->addWidget(LbDescripcion, 0, 1, 2, 1);
    layout->addWidget(LstSufijos, 2, 1);
    layout->addWidget(lbWords, 3, 0);
    layout->addWidget(txtWords, 3, 1);
    layout->setRowStretch(1, 1);
    layout->setRowStretch(2, 2);
    layout->setColumnStretch(1, 1);

    setTabOrder(TxtNCMF, LstNCM);
    setTabOrder(LstNCM, txtWords);
    setTabOrder(txtWords, LstSufijos);
    setTabOrder(LstSufijos, LbDescripcion);
    TxtNCMF->setFocus();
    // Installed after the list's helper: the window sees each key before it.
    enableKeyPreview();
    WindowGeometry::makeResizableDialog(this);
    WindowGeometry::rememberGeometry(this, ws.settings());
}

std::optional<QString> FrmPosicion::choose(Workspace& ws, const QString& searchText,
                                           QWidget* parent)
{
    FrmPosicion search(ws, searchText, parent);
    search.exec();
    return search.chosen();
}

bool FrmPosicion::previewKey(QObject* target, QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape ||
        (event->key() == Qt::Key_C && event->modifiers() == Qt::ControlModifier)) {
        reject();
        return true;
    }
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter)
        return false;
    if (target == TxtNCMF) {
        if (!TxtNCMF->text().trimmed().isEmpty()) {
            clearDetails();
            list(m_search.search(TxtNCMF->text()), false);
        }
        return true;
    }
    if (target == txtWords) {
        clearDetails();
        list(m_search.findWords(txtWords->text()), true);
        return true;
    }
    if (target == LstNCM) {
        const QListWidgetItem* item = LstNCM->currentItem();
        m_chosen = item ? PositionSearch::positionOf(item->text()) : QString();
        accept();
        return true;
    }
    return false;
}

bool FrmPosicion::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == LstNCM && event->type() == QEvent::KeyRelease) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key >= Qt::Key_Left && key <= Qt::Key_Down)
            MostrarDatos();
    }
    return KeyPreviewDialog::eventFilter(watched, event);
}

bool FrmPosicion::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate && LstNCM->count() > 0)
        LstNCM->setFocus();
    return KeyPreviewDialog::event(event);
}

int FrmPosicion::listWidth(const QStringList& lines) const
{
    int widest = 0;
    for (const QString& line : lines)
        widest = std::max(widest, LstNCM->fontMetrics().horizontalAdvance(line));
    return widest + 2 * LstNCM->frameWidth() + style()->pixelMetric(QStyle::PM_ScrollBarExtent) +
           twips(180);
}

void FrmPosicion::list(const QList<PositionLine>& lines, bool withDescriptions)
{
    LstNCM->clear();
    QStringList shown;
    for (const PositionLine& line : lines)
        shown << (withDescriptions ? line.position + QStringLiteral("  ") + line.description
                                   : line.position);
    LstNCM->addItems(shown);
    // The list widens for its longest line, up to two thirds of the screen, and the window
    // with it.
    const int wanted =
        std::max(listWidth({LongestPosition}),
                 std::min(listWidth(shown), screen()->availableGeometry().width() * 2 / 3));
    const int gained = wanted - LstNCM->width();
    LstNCM->setMinimumWidth(wanted);
    if (gained > 0)
        resize(width() + gained, height());
    if (LstNCM->count() > 0) {
        LstNCM->setCurrentRow(0);
        LstNCM->setFocus();
    }
}

void FrmPosicion::clearDetails()
{
    LbDescripcion->clear();
    LstSufijos->clear();
}

void FrmPosicion::MostrarDatos()
{
    clearDetails();
    const QListWidgetItem* item = LstNCM->currentItem();
    if (!item)
        return;
    const PositionDetailsView view =
        m_search.MostrarDatos(PositionSearch::positionOf(item->text()));
    if (view.position)
        LbDescripcion->setPlainText(PositionSearch::descriptionText(*view.position));
    for (const SuffixCode& suffix : view.suffixes)
        LstSufijos->addItem(PositionSearch::suffixLine(suffix));
}
