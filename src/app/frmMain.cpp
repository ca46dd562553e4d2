// SPDX-License-Identifier: Apache-2.0
#include "app/frmMain.h"

#include "app/frmInterno.h"
#include "config/frmConfig.h"
#include "controls/ButtonKeys.h"
#include "review/ReviewWindows.h"
#include "review/frmDEP.h"

#include <QApplication>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <tuple>

namespace {

QLabel* label(const QString& text, QWidget* parent, const QString& name = {})
{
    auto* lb = new QLabel(text, parent);
    if (!name.isEmpty())
        lb->setObjectName(name);
    return lb;
}

QPushButton* button(const QString& text, const QString& name, QWidget* parent)
{
    auto* cmd = new QPushButton(text, parent);
    cmd->setObjectName(name);
    ButtonKeys::enterPresses(cmd);
    return cmd;
}

/** A step panel; the panel left behind is disabled. */
QFrame* panel(const QString& name, QWidget* parent)
{
    auto* frame = new QFrame(parent);
    frame->setObjectName(name);
    frame->setFrameShape(QFrame::StyledPanel);
    return frame;
}

/** Swallows the operator's input while it is installed on the application. */
class InputSwallower : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Wheel:
            return true;
        default:
            return QObject::eventFilter(watched, event);
        }
    }
};

/** Delivers every pending event but the operator's input, which is dropped. */
void discardQueuedInput()
{
    InputSwallower swallower;
    qApp->installEventFilter(&swallower);
    QCoreApplication::processEvents();
    qApp->removeEventFilter(&swallower);
}

/** Turns a key press on the internos list into the list's own operations. */
class ListKeys : public QObject {
public:
    ListKeys(QObject* parent, std::function<void()> insert, std::function<void()> remove)
        : QObject(parent)
        , m_insert(std::move(insert))
        , m_remove(std::move(remove))
    {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return QObject::eventFilter(watched, event);
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Insert && key->modifiers() == Qt::NoModifier) {
            m_insert();
            return true;
        }
        if (key->key() == Qt::Key_Delete && key->modifiers() == Qt::NoModifier) {
            m_remove();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_insert;
    std::function<void()> m_remove;
};

} // namespace

frmMain::frmMain(const QString& home, OperatorDialogs& dialogs, QWidget* parent)
    : QWidget(parent)
    , m_workspace(home, dialogs, *this)
    , m_wizard(m_workspace)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Aduplan"));
    setMinimumSize(600, 420);

    m_panels = new QStackedWidget(this);
    m_frames = {buildStep1(), buildStep2(), buildStep3()};
    for (QWidget* frame : std::as_const(m_frames))
        m_panels->addWidget(frame);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildHeader());
    layout->addWidget(m_panels, 1);
    layout->addWidget(buildFooter());

    setTabOrder(m_internos, m_archivo);
    setTabOrder(m_archivo, m_procesar);
    setTabOrder(m_procesar, m_regErr);
    setTabOrder(findChild<QPushButton*>(QStringLiteral("FRAM3_cmdRepOK")), m_next);
    setTabOrder(m_next, m_config);
    setTabOrder(m_config, m_cancel);

    render();
}

QWidget* frmMain::buildHeader()
{
    auto* header = new QFrame(this);
    header->setObjectName(QStringLiteral("Header"));
    header->setFrameShape(QFrame::StyledPanel);
    auto* title = label(QStringLiteral("Aduplan - Preparación de internos"), header,
                        QStringLiteral("lbTitulo"));
    QFont titleFont = title->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.5);
    title->setFont(titleFont);
    m_pasoNro = label(QString(), header, QStringLiteral("lbPasoNro"));
    QFont stepFont = m_pasoNro->font();
    stepFont.setBold(true);
    m_pasoNro->setFont(stepFont);
    m_pasoDesc = label(QString(), header, QStringLiteral("lbPasoDesc"));

    auto* layout = new QVBoxLayout(header);
    layout->addWidget(title);
    auto* step = new QHBoxLayout;
    step->addWidget(m_pasoNro);
    step->addWidget(m_pasoDesc, 1);
    layout->addLayout(step);
    return header;
}

QWidget* frmMain::buildStep1()
{
    QFrame* frame = panel(QStringLiteral("FRAM1"), this);
    m_internos = new QTreeWidget(frame);
    m_internos->setObjectName(QStringLiteral("FRAM1LstInternos"));
    m_internos->setHeaderLabels({QStringLiteral("Interno"), QStringLiteral("Descripcion")});
    m_internos->setRootIsDecorated(false);
    m_internos->setUniformRowHeights(true);
    m_internos->setAllColumnsShowFocus(true);
    m_internos->setSelectionMode(QAbstractItemView::SingleSelection);
    m_internos->header()->setStretchLastSection(true);
    m_internos->setColumnWidth(0, 120);
    m_internos->installEventFilter(new ListKeys(
        m_internos, [this] { FRAM1_NuevoInterno(); }, [this] { FRAM1_EliminarInterno(); }));
    connect(m_internos, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (item)
            m_wizard.select(m_internos->indexOfTopLevelItem(item));
    });
    connect(m_internos, &QTreeWidget::itemActivated, this, [this] { MAIN_CambiarPaso(); });

    auto* layout = new QVBoxLayout(frame);
    layout->addWidget(label(QStringLiteral("Seleccione un interno"), frame));
    layout->addWidget(m_internos, 1);
    layout->addWidget(label(QStringLiteral("[Insert] Agregar  - [Delete] Eliminar"), frame));
    return frame;
}

QWidget* frmMain::buildStep2()
{
    QFrame* frame = panel(QStringLiteral("FRAM2"), this);
    m_archivo = new QLineEdit(frame);
    m_archivo->setObjectName(QStringLiteral("FRAM2_TxtArchivo"));
    m_archivo->setReadOnly(true);
    m_procesar = button(QStringLiteral("Procesar"), QStringLiteral("FRAM2_CmdProcesar"), frame);
    connect(m_procesar, &QPushButton::clicked, this, [this] {
        m_wizard.FRAM2_CmdProcesar();
        render();
        if (m_next->isEnabled())
            m_next->setFocus();
    });

    auto* layout = new QVBoxLayout(frame);
    layout->addWidget(label(QStringLiteral("Seleccione el archivo a procesar"), frame));
    auto* file = new QHBoxLayout;
    file->addWidget(m_archivo, 1);
    file->addWidget(m_procesar);
    layout->addLayout(file);
    layout->addStretch(1);
    return frame;
}

QWidget* frmMain::buildStep3()
{
    QFrame* frame = panel(QStringLiteral("FRAM3"), this);

    auto* results = new QGroupBox(QStringLiteral("Resultados del proceso automático"), frame);
    auto* grid = new QGridLayout(results);
    const QList<std::pair<QString, QString>> counters = {
        {QStringLiteral("Total de Registros"), QStringLiteral("FRAM3_lbTotal")},
        {QStringLiteral("Articulos en Catalogo"), QStringLiteral("FRAM3_lbEnCatalogo")},
        {QStringLiteral("Articulos Nuevos"), QStringLiteral("FRAM3_lbNuevos")},
        {QStringLiteral("Registros con Errores"), QStringLiteral("FRAM3_lbErroneos")},
        {QStringLiteral("Errores de Posición"), QStringLiteral("FRAM3_lbErrPos")},
        {QStringLiteral("Errores de Sufijos"), QStringLiteral("FRAM3_lbErrSuf")},
        {QStringLiteral("Importes a revisar"), QStringLiteral("lblAmountsToReview")},
    };
    // Three a column: what the catalog gave on the left, the errors on the right, the amounts
    // below.
    for (int i = 0; i < counters.size(); ++i) {
        QLabel* value = label(QStringLiteral("0000"), results, counters.at(i).second);
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_counters << value;
        const int row = i < 6 ? i % 3 : 3;
        const int column = i < 6 ? (i / 3) * 3 : 0;
        grid->addWidget(label(counters.at(i).first, results), row, column);
        grid->addWidget(value, row, column + 1);
    }
    // A gap between the two columns of counters.
    grid->setColumnMinimumWidth(2, 40);

    // Each box holds the records with errors and the clean records, for review or for print.
    using List = ArticleTableModel::List;
    auto twoButtons = [this, frame](const QString& title, const char* errorsName,
                                    const char* okName, void (frmMain::*action)(List)) {
        auto* box = new QGroupBox(title, frame);
        auto* boxLayout = new QVBoxLayout(box);
        for (const auto& [caption, name, list] :
             {std::tuple{QStringLiteral("Datos con Errores"), errorsName, List::WithErrors},
              std::tuple{QStringLiteral("Registros OK"), okName, List::Clean}}) {
            QPushButton* cmd = button(caption, QLatin1String(name), box);
            boxLayout->addWidget(cmd);
            connect(cmd, &QPushButton::clicked, this,
                    [this, action, list = list] { (this->*action)(list); });
        }
        return box;
    };
    QGroupBox* review = twoButtons(QStringLiteral("Depuración de registros"), "FRAM3_cmdRegErr",
                                   "FRAM3_cmdRegOk", &frmMain::FRAM3_AbrirResultados);
    QGroupBox* reports = twoButtons(QStringLiteral("Impresiones de control"), "FRAM3_cmdRepErr",
                                    "FRAM3_cmdRepOK", &frmMain::FRAM3_ImprimirControl);
    m_regErr = review->findChild<QPushButton*>(QStringLiteral("FRAM3_cmdRegErr"));
    m_amountsButton =
        button(QStringLiteral("Importes a revisar"), QStringLiteral("cmdAmountsToReview"), review);
    review->layout()->addWidget(m_amountsButton);
    connect(m_amountsButton, &QPushButton::clicked, this, &frmMain::openAmountsToReview);
    setTabOrder(review->findChild<QPushButton*>(QStringLiteral("FRAM3_cmdRegOk")), m_amountsButton);
    setTabOrder(m_amountsButton,
                reports->findChild<QPushButton*>(QStringLiteral("FRAM3_cmdRepErr")));

    auto* layout = new QVBoxLayout(frame);
    layout->addWidget(results);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(review);
    buttons->addWidget(reports);
    layout->addLayout(buttons);
    layout->addStretch(1);
    return frame;
}

QWidget* frmMain::buildFooter()
{
    auto* footer = new QWidget(this);
    m_message = label(QString(), footer, QStringLiteral("Main_lbMensaje"));
    m_progress = new QProgressBar(footer);
    m_progress->setObjectName(QStringLiteral("Main_PrB"));
    m_progress->hide();
    m_version = label(Workspace::versionLabel(), footer, QStringLiteral("lbVersion"));
    m_config = button(QStringLiteral("Configuracion"), QStringLiteral("cmdConfig"), footer);
    m_cancel = button(QStringLiteral("Cancelar"), QStringLiteral("Command4"), footer);
    m_next = button(QStringLiteral("Seguiente >"), QStringLiteral("cmdSiguiente"), footer);
    connect(m_cancel, &QPushButton::clicked, qApp, &QApplication::quit);
    connect(m_config, &QPushButton::clicked, this, [this] {
        frmConfig config(m_workspace, this);
        config.exec();
    });
    connect(m_next, &QPushButton::clicked, this, [this] {
        // The second press of a double-click on a button that has just changed meaning
        // (the step changed under it) is not a new command.
        if (m_stepChanged.isValid() &&
            m_stepChanged.elapsed() < QApplication::doubleClickInterval())
            return;
        MAIN_CambiarPaso();
    });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_version, 1);
    buttons->addWidget(m_config);
    buttons->addWidget(m_cancel);
    buttons->addWidget(m_next);
    auto* layout = new QVBoxLayout(footer);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_message);
    layout->addWidget(m_progress);
    layout->addLayout(buttons);
    return footer;
}

bool frmMain::load()
{
    try {
        m_workspace.open();
    } catch (const AppError& error) {
        m_workspace.dialogs().message(MessageIcon::Critical, error.description());
        return false;
    }
    m_wizard.FRAM1_CargarInternos();
    renderInternos();
    render();
    m_internos->setFocus();
    return true;
}

void frmMain::FRAM1_NuevoInterno()
{
    frmInterno dialog(m_workspace, this);
    dialog.exec();
    if (!dialog.created())
        return;
    m_wizard.FRAM1_InternoCreado(dialog.numero());
    renderInternos();
}

void frmMain::FRAM1_EliminarInterno()
{
    m_wizard.FRAM1_EliminarInterno();
    renderInternos();
}

void frmMain::MAIN_CambiarPaso()
{
    const int before = m_wizard.step();
    m_wizard.MAIN_CambiarPaso();
    render();
    if (m_wizard.step() == before)
        return;
    m_stepChanged.start();
    if (m_wizard.step() == 2)
        (m_next->isEnabled() ? static_cast<QWidget*>(m_next) : m_procesar)->setFocus();
    else
        m_regErr->setFocus();
}

void frmMain::FRAM3_AbrirResultados(ArticleTableModel::List list)
{
    // Open already: brought to the front, showing the list asked for.
    if (!m_results) {
        m_results = new frmDEP(m_workspace, m_wizard.interno(), list, this);
        // A save in the editor changes what the counters count.
        connect(m_results, &frmDEP::saved, this, [this] {
            m_wizard.refreshCounters();
            render();
        });
        m_results->show();
    } else {
        m_results->showList(list);
    }
    m_results->raise();
    m_results->activateWindow();
}

void frmMain::openAmountsToReview()
{
    if (m_amounts)
        m_amounts->close();
    m_amounts = showAmountsToReview(m_workspace, m_wizard.interno(), this);
}

void frmMain::FRAM3_ImprimirControl(ArticleTableModel::List list)
{
    showControlReport(m_workspace, m_wizard.interno(), list, this);
}

void frmMain::render()
{
    m_pasoNro->setText(m_wizard.pasoNro());
    m_pasoDesc->setText(m_wizard.pasoDesc());
    for (int i = 0; i < m_frames.size(); ++i)
        m_frames.at(i)->setEnabled(m_wizard.panelEnabled(i + 1));
    m_panels->setCurrentIndex(m_wizard.panel() - 1);
    m_archivo->setText(m_wizard.documentPath());

    const ArticleCounters& c = m_wizard.counters();
    const QList<qint64> values = {c.total,
                                  c.enCatalogo,
                                  c.nuevos,
                                  c.conErrores,
                                  c.errPosicion,
                                  c.errSufijos,
                                  m_wizard.amountsToReview()};
    for (int i = 0; i < m_counters.size(); ++i)
        m_counters.at(i)->setText(formatCounter(values.at(i)));
    m_amountsButton->setEnabled(m_wizard.amountsToReview() > 0);

    m_next->setText(m_wizard.nextCaption());
    m_next->setEnabled(m_wizard.nextEnabled());
}

void frmMain::renderInternos()
{
    const QSignalBlocker blocker(m_internos);
    m_internos->clear();
    for (const InternoRow& row : m_wizard.internos())
        new QTreeWidgetItem(m_internos, {row.numero, row.descripcion});
    if (m_wizard.selected() >= 0)
        m_internos->setCurrentItem(m_internos->topLevelItem(m_wizard.selected()));
}

void frmMain::setMessage(const QString& text)
{
    showHeldProgress();
    m_message->setText(text);
    m_message->repaint();
}

void frmMain::setProgressVisible(bool visible)
{
    showHeldProgress();
    m_progress->setVisible(visible);
}

void frmMain::setProgressMaximum(int maximum)
{
    showHeldProgress();
    m_progress->setMaximum(maximum);
}

void frmMain::setProgressValue(int value)
{
    // Painting the bar for every line would set the pace of a long run: between its start
    // (0 and 1) and its end (the maximum) the bar takes a new value at most every 50 ms. A
    // value held back is shown before anything else changes in the footer.
    m_heldValue = value;
    if (value > 1 && value < m_progress->maximum() && m_progressShown.isValid() &&
        !m_progressShown.hasExpired(50))
        return;
    showHeldProgress();
}

void frmMain::showHeldProgress()
{
    if (!m_heldValue)
        return;
    // The bar repaints itself at once when what it draws changes.
    m_progress->setValue(*m_heldValue);
    m_heldValue.reset();
    m_progressShown.start();
}

void frmMain::setBusy(bool busy)
{
    if (busy) {
        ++m_busyDepth;
        QApplication::setOverrideCursor(Qt::WaitCursor);
        return;
    }
    showHeldProgress();
    // Clicks and keys that queued up while the work ran were meant for what the window showed
    // before it: they are dropped, not applied to what it shows now.
    if (--m_busyDepth == 0)
        discardQueuedInput();
    QApplication::restoreOverrideCursor();
}
