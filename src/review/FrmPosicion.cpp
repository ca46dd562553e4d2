#include "review/FrmPosicion.h"

#include "controls/ClCntrl.h"
#include "controls/WindowGeometry.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>

using WindowGeometry::place;
using WindowGeometry::twips;

FrmPosicion::FrmPosicion(Workspace& ws, const QString& searchText, QWidget* parent)
    : KeyPreviewDialog(parent)
    , m_search(ws)
{
    setObjectName(QStringLiteral("FrmPosicion"));
    setWindowTitle(QStringLiteral("Buscar Posición"));
    WindowGeometry::makeFixedDialog(this, 7395, 4800);

    TxtNCMF = place(new QLineEdit(this), "TxtNCMF", twips(60, 60, 2475, 285));
    TxtNCMF->setMaxLength(PositionSearch::NumberLength);
    TxtNCMF->setText(searchText);
    LstNCM = place(new QListWidget(this), "LstNCM", twips(60, 420, 2475, 3960));
    LbDescripcion = place(new QPlainTextEdit(this), "LbDescripcion", twips(2580, 60, 4755, 1455));
    LbDescripcion->setReadOnly(true);
    LbDescripcion->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    LstSufijos = place(new QListWidget(this), "LstSufijos", twips(2580, 1560, 4755, 2790));
    QPalette tip = LstSufijos->palette();
    tip.setColor(QPalette::Base, tip.color(QPalette::ToolTipBase));
    LstSufijos->setPalette(tip);
    (new ClCntrl)->sLinkListBox(LstSufijos);
    lbWords = place(new QLabel(QStringLiteral("Buscar por palabras:"), this), "lbWords",
                    twips(60, 4470, 2475, 255));
    txtWords = place(new QLineEdit(this), "txtWords", twips(2580, 4440, 4755, 285));
    txtWords->setPlaceholderText(QStringLiteral("palabras de la descripción, Enter"));

    setTabOrder(TxtNCMF, LstNCM);
    setTabOrder(LstNCM, txtWords);
    setTabOrder(txtWords, LstSufijos);
    setTabOrder(LstSufijos, LbDescripcion);
    TxtNCMF->setFocus();
    // Installed after the list's helper: the window sees each key before it.
    enableKeyPreview();
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
        if (!TxtNCMF->text().trimmed().isEmpty())
            list(m_search.search(TxtNCMF->text()), false);
        return true;
    }
    if (target == txtWords) {
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

void FrmPosicion::list(const QList<PositionLine>& lines, bool withDescriptions)
{
    LstNCM->clear();
    for (const PositionLine& line : lines)
        LstNCM->addItem(withDescriptions ? line.position + QStringLiteral("  ") + line.description
                                         : line.position);
    if (LstNCM->count() > 0) {
        LstNCM->setCurrentRow(0);
        LstNCM->setFocus();
    }
}

void FrmPosicion::MostrarDatos()
{
    LbDescripcion->clear();
    LstSufijos->clear();
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
