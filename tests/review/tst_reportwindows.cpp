#include "review/ReviewData.h"
#include "review/ReviewWindows.h"
#include "support/Modal.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPrintPreviewDialog>
#include <QSet>
#include <QTest>
#include <QTimer>
#include <QToolBar>

using namespace Qt::StringLiterals;

namespace {

/** Answers the next modal dialog: a file dialog by typing the name (Escape for none). */
void answerNextDialog(const QString& name, QString* seen = nullptr)
{
    QTimer::singleShot(0, [=] {
        QWidget* dialog = QApplication::activeModalWidget();
        QVERIFY(dialog && QTest::qWaitForWindowExposed(dialog));
        if (auto* files = qobject_cast<QFileDialog*>(dialog); files && seen)
            *seen = files->windowTitle() + u'|' + files->nameFilters().join(u'|');
        else if (seen)
            *seen = dialog->objectName();
        if (name.isEmpty())
            return QTest::keyClick(dialog, Qt::Key_Escape);
        auto* edit = dialog->findChild<QLineEdit*>(u"fileNameEdit"_s);
        QVERIFY(edit);
        QTest::keyClicks(edit, name);
        QTest::keyClick(edit, Qt::Key_Return);
    });
}

/** Clicks the menu's action, once the menu shows. */
void click(QMenu* menu, const char* action)
{
    QTRY_VERIFY(menu->isVisible());
    QTest::mouseClick(
        menu, Qt::LeftButton, {},
        menu->actionGeometry(menu->findChild<QAction*>(QLatin1String(action))).center());
}

} // namespace

class TestReportWindows : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void exportMenuAsksAndWrites()
    {
        ReviewData::Session s;
        QWidget owner;
        owner.show();
        QMenu archivo(u"Archivo"_s, &owner);
        QMenu* excel = addExportMenu(&archivo, s.ws, u"100"_s, &owner);
        excel->menuAction()->setObjectName(u"mnuexcelItem"_s);
        QCOMPARE(excel->objectName() + u'=' + excel->title(), u"mnuexcel=Guardar a EXCEL "_s);

        const auto choose = [&](const char* item, const QString& name, QString* seen) {
            archivo.popup(owner.mapToGlobal(QPoint()));
            click(&archivo, "mnuexcelItem");
            QTRY_VERIFY(excel->isVisible());
            answerNextDialog(name, seen); // the save dialog that the item's click opens
            click(excel, item);
        };
        QString seen;
        choose("mnuarticulo", s.home.file(u"libro"_s), &seen);
        QCOMPARE(seen, u"Guardar Reporte de Libro IVA Ventas|XLS Delimitado por comas (*.xls)|"
                       "All Files (*.*)"_s);
        QVERIFY(ReviewData::bytes(s.home.file(u"libro.xls"_s))
                    .split('\r')
                    .value(1)
                    .startsWith("\nA-3\t"));
        choose("mnudescripcion", QString(), nullptr); // cancelled: nothing written or said
        QCOMPARE(QDir(s.home.path()).entryList({u"*.xls"_s}), QStringList(u"libro.xls"_s));
        QVERIFY(s.dialogs.messages.isEmpty());
    }

    void reportPreviewModalOrBesideAndSavesPdf()
    {
        ReviewData::Session s;
        QWidget owner;
        owner.show();
        // Clean rows: beside the owner, which stays usable; Ctrl+S saves the PDF.
        showControlReport(s.ws, u"100"_s, ArticleTableModel::List::Clean, &owner);
        QPointer<QPrintPreviewDialog> preview = owner.findChild<QPrintPreviewDialog*>(u"Reporte"_s);
        QVERIFY(preview && preview->isVisible() && !QApplication::activeModalWidget());
        QVERIFY(QTest::qWaitForWindowActive(preview));
        QCOMPARE(preview->windowTitle(), u"Registros OK"_s);
        answerNextDialog(s.home.file(u"ok"_s));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::ControlModifier);
        QVERIFY(ReviewData::pdfPages(s.home.file(u"ok.pdf"_s)).value(0).contains(u"A-3"_s));
        // Back to the preview, as the window system does when a dialog over it closes.
        const auto backToPreview = [&preview] {
            preview->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(preview));
        };
        backToPreview();

        // Tab reaches the print and the save buttons, whose tooltips name their keys; Enter on
        // the save button asks again; Ctrl+P prints (its dialog opens); Escape closes.
        const auto* toolbar = preview->findChild<QToolBar*>();
        QWidget* save = toolbar->widgetForAction(preview->findChild<QAction*>(u"cmdGuardarPDF"_s));
        QWidget* print = nullptr;
        for (QAction* action : toolbar->actions())
            if (action->text() == QCoreApplication::translate("QPrintPreviewDialog", "Print"))
                print = toolbar->widgetForAction(action);
        QVERIFY(print &&
                print->toolTip().endsWith(
                    QKeySequence(QKeySequence::Print).toString(QKeySequence::NativeText) + u')'));
        QSet<QWidget*> reached;
        for (int tab = 0; tab < 40 && !(reached.contains(print) && reached.contains(save)); ++tab) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            reached << QApplication::focusWidget();
        }
        QVERIFY(reached.contains(print) && reached.contains(save));
        QString asked;
        answerNextDialog(QString(), &asked);
        QTest::keyClick(save, Qt::Key_Return);
        QVERIFY2(asked.startsWith(u"Guardar como PDF|"_s), qPrintable(asked));
        backToPreview();
        QVERIFY(withModal(
            [&] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_P, Qt::ControlModifier); },
            [](QWidget* printing) { QTest::keyClick(printing, Qt::Key_Escape); }));
        backToPreview();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QTRY_VERIFY(!preview);

        // Rows with errors: modal; none to show: the message, no window.
        QString modal;
        answerNextDialog(QString(), &modal);
        showControlReport(s.ws, u"100"_s, ArticleTableModel::List::WithErrors, &owner);
        QCOMPARE(modal, u"Reporte"_s);
        showControlReport(s.ws, u"300"_s, ArticleTableModel::List::Clean, &owner);
        QCOMPARE(s.dialogs.messageTexts(), QStringList(u"No hay articulos para mostrar"_s));
        QCOMPARE(s.dialogs.messages.first().icon, MessageIcon::Information);
    }
};

QTEST_MAIN(TestReportWindows)
#include "tst_reportwindows.moc"
