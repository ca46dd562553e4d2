// SPDX-License-Identifier: Apache-2.0
#include "review/ReviewData.h"
#include "review/ReviewWindows.h"
#include "support/Modal.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QPointer>
#include <QPrintPreviewDialog>
#include <QSet>
#include <QTest>
#include <QToolBar>

using namespace Qt::StringLiterals;

namespace {

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
        QMenu* excel = addExportMenu(&archivo, s.ws, u"100"_s);
        excel->menuAction()->setObjectName(u"mnuexcelItem"_s);

        const auto choose = [&](const char* item, const std::optional<QString>& answer) {
            s.dialogs.fileAnswers << answer;
            archivo.popup(owner.mapToGlobal(QPoint()));
            click(&archivo, "mnuexcelItem");
            QTRY_VERIFY(excel->isVisible());
            click(excel, item);
        };
        // The save dialog proposes a name made of the interno and the order; the message tells
        // where the file went.
        choose("mnuarticulo", s.home.file(u"libro"_s));
        QCOMPARE(s.dialogs.saves.size(), 1);
        QCOMPARE(QFileInfo(s.dialogs.saves.first().section(u'|', 2)).fileName(),
                 u"interno-100-por-articulo.xlsx"_s);
        QVERIFY(ReviewData::bytes(s.home.file(u"libro.xls"_s))
                    .split('\r')
                    .value(1)
                    .startsWith("\nA-3\t"));
        QCOMPARE(
            s.dialogs.messageTexts(),
            QStringList(u"Guardado en "_s + QDir::toNativeSeparators(s.home.file(u"libro.xls"_s))));

        // Cancelled: nothing written or said. The next save starts in the folder used last.
        choose("mnudescripcion", std::nullopt);
        QCOMPARE(QDir(s.home.path()).entryList({u"*.xls"_s}), QStringList(u"libro.xls"_s));
        QCOMPARE(s.dialogs.messages.size(), 1);
        QCOMPARE(QFileInfo(s.dialogs.saves.last().section(u'|', 2)).absolutePath(),
                 QFileInfo(s.home.path()).absoluteFilePath());
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
        s.dialogs.fileAnswers << s.home.file(u"ok"_s);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(QFileInfo(s.dialogs.saves.value(0).section(u'|', 2)).fileName(),
                 u"interno-100-registros-ok.pdf"_s);
        QVERIFY(ReviewData::pdfPages(s.home.file(u"ok.pdf"_s)).value(0).contains(u"A-3"_s));
        // Back to the preview, as the window system does when a dialog over it closes.
        const auto backToPreview = [&preview] {
            preview->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(preview));
        };
        backToPreview();

        // Tab reaches the print and the save buttons; Enter on the save button asks again;
        // Ctrl+P prints (its dialog opens); Escape closes.
        const auto* toolbar = preview->findChild<QToolBar*>();
        QWidget* save = toolbar->widgetForAction(preview->findChild<QAction*>(u"cmdGuardarPDF"_s));
        QWidget* print = nullptr;
        for (QAction* action : toolbar->actions())
            if (action->text() == QCoreApplication::translate("QPrintPreviewDialog", "Print"))
                print = toolbar->widgetForAction(action);
        QSet<QWidget*> reached;
        for (int tab = 0; tab < 40 && !(reached.contains(print) && reached.contains(save)); ++tab) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            reached << QApplication::focusWidget();
        }
        QVERIFY(reached.contains(print) && reached.contains(save));
        s.dialogs.fileAnswers << std::nullopt;
        QTest::keyClick(save, Qt::Key_Return);
        QCOMPARE(s.dialogs.saves.size(), 2);
        backToPreview();
        QVERIFY(withModal(
            [&] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_P, Qt::ControlModifier); },
            [](QWidget* printing) { QTest::keyClick(printing, Qt::Key_Escape); }));
        backToPreview();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QTRY_VERIFY(!preview);

        // Rows with errors: modal; none to show: the message, no window.
        QVERIFY(withModal(
            [&] { showControlReport(s.ws, u"100"_s, ArticleTableModel::List::WithErrors, &owner); },
            [](QWidget* modal) { QCOMPARE(modal->objectName(), u"Reporte"_s); }));
        showControlReport(s.ws, u"300"_s, ArticleTableModel::List::Clean, &owner);
        QCOMPARE(s.dialogs.messageTexts().value(1), u"No hay articulos para mostrar"_s);
        QCOMPARE(s.dialogs.messages.value(1).icon, MessageIcon::Information);
    }
};

QTEST_MAIN(TestReportWindows)
#include "tst_reportwindows.moc"
