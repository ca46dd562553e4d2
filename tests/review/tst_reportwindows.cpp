#include "review/ReviewData.h"
#include "review/ReviewWindows.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QPrintPreviewDialog>
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
        // Clean rows: beside the owner, which stays usable; its own action saves the PDF.
        showControlReport(s.ws, u"100"_s, ArticleTableModel::List::Clean, &owner);
        auto* preview = owner.findChild<QPrintPreviewDialog*>(u"Reporte"_s);
        QVERIFY(preview && preview->isVisible() && !QApplication::activeModalWidget());
        QCOMPARE(preview->windowTitle(), u"Registros OK"_s);
        answerNextDialog(s.home.file(u"ok"_s));
        QTest::mouseClick(preview->findChild<QToolBar*>()->widgetForAction(
                              preview->findChild<QAction*>(u"cmdGuardarPDF"_s)),
                          Qt::LeftButton);
        QVERIFY(ReviewData::pdfPages(s.home.file(u"ok.pdf"_s)).value(0).contains(u"A-3"_s));
        preview->close();

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
