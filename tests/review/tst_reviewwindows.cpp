#include "review/ReviewData.h"
#include "review/ReviewWindows.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QPrintPreviewDialog>
#include <QTest>
#include <QTimer>
#include <QToolBar>

using namespace Qt::StringLiterals;

namespace {

/** Answers the next file dialog: types the name and presses Enter, or Escape for none. */
void answerFileDialog(const QString& name, QStringList* filters = nullptr)
{
    QTimer::singleShot(0, [=] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog && QTest::qWaitForWindowExposed(dialog));
        if (filters)
            *filters = dialog->nameFilters() << dialog->windowTitle();
        if (name.isEmpty()) {
            QTest::keyClick(dialog, Qt::Key_Escape);
            return;
        }
        auto* edit = dialog->findChild<QLineEdit*>(u"fileNameEdit"_s);
        QVERIFY(edit);
        edit->clear();
        QTest::keyClicks(edit, name);
        QTest::keyClick(edit, Qt::Key_Return);
    });
}

/** Clicks the menu's action, once the menu shows. */
void click(QMenu* menu, QAction* action)
{
    QTRY_VERIFY(menu->isVisible());
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
}

} // namespace

class TestReviewWindows : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void exportMenuAsksAndWrites()
    {
        ReviewData::Session s;
        QWidget owner;
        QMenu archivo(u"Archivo"_s, &owner);
        QMenu* excel = addExportMenu(&archivo, s.ws, u"100"_s, &owner);
        QCOMPARE(excel->objectName(), u"mnuexcel"_s);
        QCOMPARE(excel->title(), u"Guardar a EXCEL "_s);
        QStringList captions;
        for (QAction* action : excel->actions())
            captions << action->objectName() + u'=' + action->text();
        QCOMPARE(captions, QStringList({u"mnufactu=Ordenado por Factura"_s,
                                        u"mnuarticulo=Ordenado por Codigo de Articulo"_s,
                                        u"mnudescripcion=Ordenado por Descripción"_s}));

        const auto choose = [&](const char* item, const QString& name, QStringList* filters) {
            owner.show();
            archivo.popup(owner.mapToGlobal(QPoint()));
            click(&archivo, excel->menuAction());
            QTRY_VERIFY(excel->isVisible());
            // The item's click runs the export, whose save dialog the timer answers.
            answerFileDialog(name, filters);
            click(excel, excel->findChild<QAction*>(QLatin1String(item)));
        };
        QStringList filters;
        choose("mnuarticulo", s.home.file(u"libro"_s), &filters);
        QCOMPARE(filters, QStringList({u"XLS Delimitado por comas (*.xls)"_s, u"All Files (*.*)"_s,
                                       u"Guardar Reporte de Libro IVA Ventas"_s}));
        QFile file(s.home.file(u"libro.xls"_s));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().split('\r').value(1).startsWith("\nA-3\t"));

        choose("mnufactu", QString(), nullptr); // cancelled: nothing written, nothing said
        QCOMPARE(QDir(s.home.path()).entryList({u"*.xls"_s}, QDir::Files),
                 QStringList(u"libro.xls"_s));
        QVERIFY(s.dialogs.messages.isEmpty());
    }

    void reportPreviewModalOrBesideAndSavesPdf()
    {
        ReviewData::Session s;
        QWidget owner;
        owner.show();
        // Clean rows: beside the owner, which stays usable.
        showControlReport(s.ws, u"100"_s, ArticleTableModel::List::Clean, &owner);
        auto* preview = owner.findChild<QPrintPreviewDialog*>(u"Reporte"_s);
        QVERIFY(preview && preview->isVisible() && !QApplication::activeModalWidget());
        QCOMPARE(preview->windowTitle(), u"Registros OK"_s);

        // Its own action saves the pages as PDF.
        auto* toolbar = preview->findChild<QToolBar*>();
        QAction* save = preview->findChild<QAction*>(u"cmdGuardarPDF"_s);
        QVERIFY(toolbar && save);
        answerFileDialog(s.home.file(u"ok"_s));
        QTest::mouseClick(toolbar->widgetForAction(save), Qt::LeftButton);
        QCOMPARE(ReviewData::pdfPages(s.home.file(u"ok.pdf"_s)).size(), 1);
        preview->close();

        // Rows with errors: modal; none to show: the message, no window.
        bool modal = false;
        QTimer::singleShot(0, [&] {
            QWidget* dialog = QApplication::activeModalWidget();
            modal = dialog && dialog->objectName() == u"Reporte"_s;
            if (dialog)
                dialog->close();
        });
        showControlReport(s.ws, u"100"_s, ArticleTableModel::List::WithErrors, &owner);
        QVERIFY(modal);
        showControlReport(s.ws, u"300"_s, ArticleTableModel::List::Clean, &owner);
        QCOMPARE(s.dialogs.messageTexts(), QStringList(u"No hay articulos para mostrar"_s));
        QCOMPARE(s.dialogs.messages.first().icon, MessageIcon::Information);
    }
};

QTEST_MAIN(TestReviewWindows)
#include "tst_reviewwindows.moc"
