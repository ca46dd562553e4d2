// SPDX-License-Identifier: Apache-2.0
#include "review/frmModificar.h"

#include "components/OperatorText.h"
#include "controls/ClCntrl.h"
#include "controls/WindowGeometry.h"
#include "review/FrmPosicion.h"
#include "review/HistoryWindow.h"
#include "review/SuggestionsWindow.h"

#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

using WindowGeometry::place;
using WindowGeometry::twips;

namespace {

/** A caption at the left of a row of a frame (tops in twips), the label of the field. */
void caption(QWidget* parent, const QString& text, int top, QWidget* field)
{
    auto* label = new QLabel(text, parent);
    label->setGeometry(twips(120, top + 30, 1500, 255));
    label->setBuddy(field);
}

QLineEdit* textBox(QWidget* parent, const char* name, const QRect& at,
                   Qt::Alignment alignment = Qt::AlignLeft)
{
    QLineEdit* text = place(new QLineEdit(parent), name, at);
    text->setAlignment(alignment | Qt::AlignVCenter);
    return text;
}

} // namespace

frmModificar::frmModificar(Workspace& ws, const QString& interno, qint64 line, QWidget* parent)
    : KeyPreviewDialog(parent)
    , m_ws(ws)
    , m_editor(ws)
    , m_interno(interno)
    , m_line(line)
{
    setObjectName(QStringLiteral("frmModificar"));
    setWindowTitle(QStringLiteral("Modificar"));
    WindowGeometry::makeFixedDialog(this, 9240, 4680);

    auto* extra = new QGroupBox(QStringLiteral("Datos Extra"), this);
    extra->setGeometry(twips(120, 60, 4800, 4080));
    txtPRCNCM = textBox(extra, "txtPRCNCM", twips(1680, 300, 1800, 315));
    caption(extra, QStringLiteral("Posición"), 300, txtPRCNCM);
    lbPRCLAP =
        place(new QLabel(QStringLiteral("LAPI"), extra), "lbPRCLAP", twips(3600, 330, 600, 255));
    lbPRCLAP->setStyleSheet(QStringLiteral("color: rgb(128, 0, 0)"));
    lbPRCLAP->setFont(WindowGeometry::windowFont(true));
    lbPRCLAP->hide();
    txtPositionDescription = textBox(extra, "txtPositionDescription", twips(1680, 660, 3000, 315));
    txtPositionDescription->setReadOnly(true);
    txtPositionDescription->setFocusPolicy(Qt::NoFocus);
    txtPositionDescription->setAccessibleName(QStringLiteral("Descripción de la posición"));

    lbPRCEUN = place(new QLabel(QStringLiteral("Unidad Estadistica"), extra), "lbPRCEUN",
                     twips(120, 1050, 2400, 255));
    txtPRCECA = textBox(extra, "txtPRCECA", twips(2760, 1020, 1200, 315), Qt::AlignRight);
    lbPRCEUN->setBuddy(txtPRCECA);
    lbPRCSUN = place(new QLabel(QStringLiteral("Derecho Especifico [01]"), extra), "lbPRCSUN",
                     twips(120, 1410, 2400, 255));
    txtPRCSCA = textBox(extra, "txtPRCSCA", twips(2760, 1380, 1200, 315), Qt::AlignRight);
    lbPRCSUN->setBuddy(txtPRCSCA);
    lbPRCSUN->hide();
    txtPRCSCA->hide();
    txtPRCDUN = textBox(extra, "txtPRCDUN", twips(2760, 1740, 1200, 315), Qt::AlignHCenter);
    caption(extra, QStringLiteral("Unidad Declarada"), 1740, txtPRCDUN);
    txtPRCESM = textBox(extra, "txtPRCESM", twips(2760, 2100, 1200, 315), Qt::AlignHCenter);
    caption(extra, QStringLiteral("Estado Mercaderia"), 2100, txtPRCESM);
    cboPRCORI = place(new QComboBox(extra), "cboPRCORI", twips(1680, 2460, 3000, 315));
    caption(extra, QStringLiteral("Pais Origen"), 2460, cboPRCORI);
    txtPRCSUF = place(new QPlainTextEdit(extra), "txtPRCSUF", twips(1680, 2820, 3000, 1080));
    caption(extra, QStringLiteral("Sufijos"), 2820, txtPRCSUF);
    txtPRCSUF->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    auto* invoice = new QGroupBox(QStringLiteral("Datos del archivo origen"), this);
    invoice->setGeometry(twips(5040, 60, 4080, 4080));
    const std::pair<const char*, QString> invoiceFields[] = {
        {"txtARTNRO", QStringLiteral("Articulo")}, {"txtARTDSC", QStringLiteral("Descripción")},
        {"txtARTORG", QStringLiteral("Origen")},   {"txtARTCAN", QStringLiteral("Cantidad")},
        {"txtARTUNI", QStringLiteral("Unitario")}, {"txtARTTOT", QStringLiteral("Total")}};
    QList<QLineEdit*> invoiceBoxes;
    for (int i = 0; i < 6; ++i) {
        const int top = 300 + i * 420;
        QLineEdit* box = textBox(invoice, invoiceFields[i].first, twips(1320, top, 2640, 315));
        box->setReadOnly(true);
        caption(invoice, invoiceFields[i].second, top, box);
        invoiceBoxes << box;
    }
    txtARTNRO = invoiceBoxes.at(0);
    txtARTDSC = invoiceBoxes.at(1);
    txtARTORG = invoiceBoxes.at(2);
    txtARTCAN = invoiceBoxes.at(3);
    txtARTUNI = invoiceBoxes.at(4);
    txtARTTOT = invoiceBoxes.at(5);

    auto* keys = new QLabel(QStringLiteral("[F11] Guardar -  [ESC]  Salir"), this);
    keys->setGeometry(twips(120, 4260, 9000, 255));

    QList<QWidget*> order = {txtPRCNCM, txtPRCECA, txtPRCSCA, txtPRCDUN, txtPRCESM, cboPRCORI};
    for (QLineEdit* box : std::as_const(invoiceBoxes))
        order << box;
    order << txtPRCSUF;
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order.at(i - 1), order.at(i));
    order << txtPositionDescription;
    for (QWidget* box : std::as_const(order)) {
        if (box != cboPRCORI)
            (new ClCntrl)->sLinkText(box);
    }
    nameFields();
    // Installed after the helpers: the window sees each key before them.
    enableKeyPreview();
}

bool frmModificar::previewKey(QObject* target, QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        reject();
        return true;
    case Qt::Key_F11:
        collect();
        if (m_editor.GrabarDatos()) {
            accept();
        } else {
            render();
            focusRefusedField();
        }
        return true;
    case Qt::Key_F6:
        // The position chosen is confirmed as a typed one: by Enter.
        if (target != txtPRCNCM)
            return false;
        if (const std::optional<QString> chosen = FrmPosicion::choose(
                m_ws, txtPRCNCM->text().left(PositionSearch::NumberLength), this))
            txtPRCNCM->setText(*chosen);
        // Back to the position, whatever the window system activates.
        activateWindow();
        txtPRCNCM->setFocus();
        return true;
    case Qt::Key_F7:
        // The suggestion taken is confirmed as Enter on the position confirms it, the
        // suggestion's suffixes offered as the previous values.
        if (const std::optional<ArticleSuggestion> chosen =
                SuggestionsWindow::choose(m_ws, txtARTNRO->text(), txtARTDSC->text(), this)) {
            txtPRCNCM->setText(chosen->position);
            txtPRCSUF->setPlainText(chosen->suffixes);
            collect();
            m_editor.ProcesarNCM(txtPRCNCM->text());
            render();
        }
        activateWindow();
        txtPRCNCM->setFocus();
        return true;
    case Qt::Key_F8:
        HistoryWindow::showModal(OperatorText::shown(m_interno) + QStringLiteral(", línea ") +
                                     QString::number(m_line),
                                 m_editor.history(), this);
        activateWindow();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter: {
        // The check runs, then the position's helper moves the focus on; a position refused
        // keeps it, to be typed again or searched with F6.
        if (target != txtPRCNCM)
            return false;
        collect();
        const bool confirmed = m_editor.ProcesarNCM(txtPRCNCM->text());
        render();
        return !confirmed;
    }
    default:
        return false;
    }
}

void frmModificar::showEvent(QShowEvent* event)
{
    KeyPreviewDialog::showEvent(event);
    if (m_loaded)
        return;
    m_loaded = true;
    WindowGeometry::centreOn(this, parentWidget());
    if (m_editor.CargarDatos(m_interno, m_line))
        render();
    txtPRCNCM->setFocus();
}

void frmModificar::collect()
{
    EditorFields& f = m_editor.fields();
    f.position = txtPRCNCM->text();
    f.statisticalQuantity = txtPRCECA->text();
    f.specificDutyQuantity = txtPRCSCA->text();
    f.declaredUnit = txtPRCDUN->text();
    f.goodsCondition = txtPRCESM->text();
    f.suffixes = txtPRCSUF->toPlainText();
    f.country = cboPRCORI->currentIndex();
}

void frmModificar::render()
{
    const EditorFields& f = m_editor.fields();
    txtARTNRO->setText(f.number);
    txtARTDSC->setText(f.description);
    txtARTORG->setText(f.origin);
    txtARTCAN->setText(f.quantity);
    txtARTUNI->setText(f.unitPrice);
    txtARTTOT->setText(f.total);
    txtPRCNCM->setText(f.position);
    txtPositionDescription->setText(f.positionDescription);
    txtPRCECA->setText(f.statisticalQuantity);
    txtPRCSCA->setText(f.specificDutyQuantity);
    txtPRCDUN->setText(f.declaredUnit);
    txtPRCESM->setText(f.goodsCondition);
    txtPRCSUF->setPlainText(f.suffixes);
    // Filled again: a row loaded again after a refused save comes with the list read again.
    cboPRCORI->clear();
    cboPRCORI->addItems(m_editor.countryLines());
    cboPRCORI->setCurrentIndex(f.country);
    lbPRCEUN->setText(f.statisticalUnitCaption);
    lbPRCSUN->setText(f.specificDutyCaption);
    lbPRCSUN->setVisible(m_editor.hasSpecificDuty());
    txtPRCSCA->setVisible(m_editor.hasSpecificDuty());
    lbPRCLAP->setVisible(f.lapi == QLatin1String("S"));
    nameFields();
}

void frmModificar::nameFields()
{
    for (const QLabel* label : findChildren<QLabel*>()) {
        if (label->buddy())
            label->buddy()->setAccessibleName(label->text());
    }
}

void frmModificar::focusRefusedField()
{
    const std::pair<RecordEditor::Field, QWidget*> fields[] = {
        {RecordEditor::Field::Position, txtPRCNCM},
        {RecordEditor::Field::StatisticalQuantity, txtPRCECA},
        {RecordEditor::Field::SpecificDutyQuantity, txtPRCSCA},
        {RecordEditor::Field::GoodsCondition, txtPRCESM}};
    for (const auto& [field, control] : fields) {
        if (field == m_editor.refusedField())
            control->setFocus(Qt::OtherFocusReason);
    }
}
