// SPDX-License-Identifier: Apache-2.0
#include "ConfigHome.h"

#include "config/frmConfig.h"
#include "config/frmNewPais.h"

#include "support/Golden.h"
#include "support/Modal.h"
#include "support/WorkHome.h"
#include "transfer/Transfer.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QProcess>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString Countries = u"insert into PAIS values ('US', 'ESTADOS UNIDOS');\n"
                          "insert into PAIS values ('JP', 'JAPON');\n"
                          "insert into PAIS values ('BR', 'BRASIL');\n"_s;

QStringList gridRows(QTableWidget* grid)
{
    QStringList rows;
    for (int row = 0; row < grid->rowCount(); ++row)
        rows << grid->item(row, 0)->text() + QLatin1Char('|') + grid->item(row, 1)->text();
    return rows;
}

} // namespace

class ConfigWindowsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void entryModesRefusalAndSave();
    void configShowsChecksAndStoresTheCatalog();
    void configGridInsertAndDelete();
    void configRevertsATransfersCatalog();
};

void ConfigWindowsTest::entryModesRefusalAndSave()
{
    ConfigHome fixture;
    fixture.home.runWorkSql(Countries);
    Workspace& ws = fixture.open();

    frmNewPais locked(ws, frmNewPais::Mode::A, u"JAPAN"_s);
    locked.show();
    QVERIFY(QTest::qWaitForWindowActive(&locked));
    auto* cboOrigen = control<QComboBox>(&locked, "cboOrigen");
    QCOMPARE(QApplication::focusWidget(), cboOrigen);
    QVERIFY(!control<QLineEdit>(&locked, "txtPais")->isEnabled());
    QTest::keyClick(cboOrigen, Qt::Key_Escape);
    QCOMPARE(locked.result(), int(QDialog::Rejected));
    QVERIFY(!locked.relation());

    // A blank invoice text cannot be saved as it is, so it stays open for typing.
    frmNewPais blank(ws, frmNewPais::Mode::A, u"  "_s);
    blank.show();
    QVERIFY(control<QLineEdit>(&blank, "txtPais")->isEnabled());
    QVERIFY(blank.close()); // the close box saves nothing
    QVERIFY(!blank.relation());

    // "M" ignores the given text: F11 on the empty text is refused and the entry stays open.
    frmNewPais typed(ws, frmNewPais::Mode::M, u"IGNORED"_s);
    typed.show();
    QVERIFY(QTest::qWaitForWindowActive(&typed));
    auto* txtPais = control<QLineEdit>(&typed, "txtPais");
    QCOMPARE(QApplication::focusWidget(), txtPais);
    cboOrigen = control<QComboBox>(&typed, "cboOrigen");
    QTest::keyClick(cboOrigen, Qt::Key_F11); // the window sees the key before the list
    QCOMPARE(fixture.dialogs.messageTexts(),
             QStringList{u"Debe ingresar algun datos en el campo ORIGEN FACTURA"_s});
    QVERIFY(typed.isVisible());
    QVERIFY(!typed.relation());

    QTest::keyClicks(txtPais, u" NIPPON "_s);
    QTest::keyClick(txtPais, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), cboOrigen);
    QTest::keyClick(cboOrigen, Qt::Key_Down); // BRASIL, ESTADOS UNIDOS, JAPON
    QTest::keyClick(cboOrigen, Qt::Key_Down);
    QTest::keyClick(txtPais, Qt::Key_F11);
    QCOMPARE(typed.result(), int(QDialog::Accepted));

    // The article loading's way in: text preset, the first country taken as it comes.
    std::optional<OriginRelation> saved;
    QVERIFY(
        withModal([&] { saved = frmNewPais::open(ws, frmNewPais::Mode::A, u"BRAZIL"_s, nullptr); },
                  [](QWidget* opened) { QTest::keyClick(opened, Qt::Key_F11); }));
    QVERIFY(saved);
    QCOMPARE(saved->code, u"BR"_s);
    QCOMPARE(fixture.relations(), (QStringList{u" NIPPON |JP"_s, u"BRAZIL|BR"_s}));
    QCOMPARE(fixture.dialogs.messages.size(), 1);
}

void ConfigWindowsTest::configShowsChecksAndStoresTheCatalog()
{
    ConfigHome fixture;
    fixture.home.runDeclarationSql(
        u"insert into catalogo values ('7', 'REPUESTOS');\n"
        "insert into catalogo values ('3', 'GENERAL');\n"
        "insert into catarticulos (idcatalogo, idarticulo, ncm, sufijos) values "
        "('7', 'CT-1', '3926.90.90.100K', 'SIN SUFIJOS'), "
        "('3', 'CT-1', '3926.90.90.100K', 'SIN SUFIJOS'), "
        "('3', 'OLD-9', '3926.90.90.100X', 'SIN SUFIJOS');\n"_s);
    fixture.home.runNomenclatorSql(
        u"insert into ncm ([001], [002], [003]) values ('3926.90.90', '100', 'K');\n"_s);
    fixture.home.setSetting(u"INTCAT"_s, u"7"_s);
    fixture.home.runWorkSql(u"insert into ORG values ('USA', 'US');\n"
                            "insert into ORG values ('JAPAN', NULL);\n"_s);
    Workspace& ws = fixture.open();
    frmConfig first(ws);
    first.show();
    QVERIFY(QTest::qWaitForWindowActive(&first));
    auto* cboCatalogo = control<QComboBox>(&first, "cboCatalogo");
    QCOMPARE(cboCatalogo->currentText(), u"[7] REPUESTOS"_s);
    auto* grid = control<QTableWidget>(&first, "GridOrigen");
    QCOMPARE(gridRows(grid), (QStringList{u"JAPAN|"_s, u"USA|US"_s}));
    QCOMPARE(QApplication::focusWidget(), cboCatalogo);

    auto* check = control<QPushButton>(&first, "cmdVerificarCatalogo");

    // Enter in the list of catalogs checks nothing; on the check button it checks the catalog
    // in use, which passes: a message, no report.
    QTest::keyClick(cboCatalogo, Qt::Key_Return);
    QVERIFY(fixture.dialogs.messages.isEmpty());
    check->setFocus();
    QTest::keyClick(check, Qt::Key_Return);
    QCOMPARE(fixture.dialogs.messageTexts(),
             QStringList(u"Los 1 artículos del catálogo 7 son válidos."_s));

    // The one chosen in the list fails: its report, saved as PDF from the preview with Ctrl+S.
    QTest::keyClick(cboCatalogo, Qt::Key_Up);
    const QString pdf = fixture.home.file(u"catalogo"_s);
    QString title;
    fixture.dialogs.fileAnswers << pdf;
    QVERIFY(withModal([&] { QTest::mouseClick(check, Qt::LeftButton); },
                      [&](QWidget* modal) {
                          title = modal->windowTitle();
                          QVERIFY(qobject_cast<QPrintPreviewDialog*>(modal));
                          QTest::keyClick(QApplication::focusWidget(), Qt::Key_S,
                                          Qt::ControlModifier);
                      }));
    QCOMPARE(title, u"Verificación del catálogo 3"_s);
    QProcess text;
    text.start(u"pdftotext"_s, {u"-layout"_s, pdf + u".pdf"_s, u"-"_s});
    QVERIFY(text.waitForFinished());
    const QString page = QString::fromUtf8(text.readAllStandardOutput()).simplified();
    QVERIFY2(page.contains(u"OLD-9 3926.90.90.100X SIN SUFIJOS letra de control "
                           "errónea (el nomenclador tiene K)"_s) &&
                 page.contains(u"artículos verificados 2 artículos con errores 1"_s),
             qPrintable(page));
    QVERIFY(first.close()); // the close box stores nothing
    QCOMPARE(ws.settings().storedCatalog(), u"7"_s);

    frmConfig second(ws);
    second.show();
    QVERIFY(QTest::qWaitForWindowExposed(&second));
    // Enlarged and moved, then closed: the next opening has that size and place.
    const QRect moved = second.geometry().adjusted(30, 40, 150, 200);
    second.setGeometry(moved);
    cboCatalogo = control<QComboBox>(&second, "cboCatalogo");
    QTest::keyClick(cboCatalogo, Qt::Key_Up);
    QTest::keyClick(cboCatalogo, Qt::Key_Escape);
    QVERIFY(!second.isVisible());
    QCOMPARE(ws.settings().storedCatalog(), u"3"_s);

    // An unreadable catalog table is told; the relations still come, Escape closes and keeps
    // the stored catalog.
    fixture.home.runDeclarationSql(u"drop table catalogo;\n"_s);
    frmConfig unreadable(ws);
    unreadable.show();
    QVERIFY(QTest::qWaitForWindowExposed(&unreadable));
    QCOMPARE(unreadable.geometry(), moved);
    QCOMPARE(fixture.dialogs.messages.size(), 3); // after the catalog check's and the save's
    QCOMPARE(control<QTableWidget>(&unreadable, "GridOrigen")->rowCount(), 2);
    QTest::keyClick(&unreadable, Qt::Key_Escape);
    QVERIFY(!unreadable.isVisible());
    QCOMPARE(ws.settings().storedCatalog(), u"3"_s);
}

void ConfigWindowsTest::configGridInsertAndDelete()
{
    ConfigHome fixture;
    fixture.home.runWorkSql(Countries + u"insert into ORG values ('USA', 'US');\n"_s);
    Workspace& ws = fixture.open();
    frmConfig window(ws);
    window.show();
    auto* grid = control<QTableWidget>(&window, "GridOrigen");
    QTest::keyClick(grid, Qt::Key_Delete);
    QCOMPARE(grid->rowCount(), 0);
    QVERIFY(fixture.relations().isEmpty());
    QTest::keyClick(grid, Qt::Key_Delete); // nothing left: nothing happens
    QCOMPARE(grid->rowCount(), 0);

    // Left without saving: the grid is not read again (rows added meanwhile stay unseen).
    QVERIFY(withModal([grid] { QTest::keyClick(grid, Qt::Key_Insert); },
                      [&fixture](QWidget* entry) {
                          fixture.home.runWorkSql(u"insert into ORG values ('ALEMANIA', 'DE');\n"
                                                  "insert into ORG values ('BRAZIL', 'BR');\n"
                                                  "insert into ORG values ('CHINA', 'CN');\n"
                                                  "insert into ORG values ('ALEMANIA', 'DE');\n"_s);
                          QTest::keyClick(entry, Qt::Key_Escape);
                      }));
    QCOMPARE(grid->rowCount(), 0);
    QVERIFY(window.isVisible());

    QVERIFY(withModal([grid] { QTest::keyClick(grid, Qt::Key_Insert); },
                      [](QWidget* entry) {
                          QTest::keyClicks(control<QLineEdit>(entry, "txtPais"), u"JAPAN"_s);
                          control<QComboBox>(entry, "cboOrigen")->setCurrentIndex(2);
                          QTest::keyClick(entry, Qt::Key_F11);
                      }));
    QCOMPARE(grid->rowCount(), 5);
    QTest::keyClick(grid, Qt::Key_Down);
    QTest::keyClick(grid, Qt::Key_Down);
    QTest::keyClick(grid, Qt::Key_Delete);
    QCOMPARE(gridRows(grid),
             (QStringList{u"ALEMANIA|DE"_s, u"ALEMANIA|DE"_s, u"CHINA|CN"_s, u"JAPAN|JP"_s}));

    // A pair stored twice goes at once from the table; the grid loses only the current row.
    grid->setCurrentCell(0, 0);
    QTest::keyClick(grid, Qt::Key_Delete);
    QCOMPARE(gridRows(grid), (QStringList{u"ALEMANIA|DE"_s, u"CHINA|CN"_s, u"JAPAN|JP"_s}));
    QCOMPARE(fixture.relations(), (QStringList{u"CHINA|CN"_s, u"JAPAN|JP"_s}));
    QVERIFY(fixture.dialogs.messages.isEmpty());
}

void ConfigWindowsTest::configRevertsATransfersCatalog()
{
    // Interno 100 transferred into catalog CAT1: one entry inserted, one updated.
    ConfigHome fixture;
    fixture.home.load(u"transfer/interno.work.sql"_s);
    fixture.home.load(u"transfer/interno.declaration.sql"_s);
    fixture.home.setSetting(u"INTCAT"_s, u"CAT1"_s);
    Workspace& ws = fixture.open();
    const auto catalog = [&ws] {
        return queryRows(ws.declaration(), u"select * from catarticulos order by 1, 2"_s);
    };
    const QStringList original = catalog();
    QCOMPARE(FRM3_Tranferir(ws, u"100"_s), TransferOutcome::Transferred);
    const QStringList transferred = catalog();
    QVERIFY(transferred != original);
    fixture.dialogs.journal.clear();

    // The button is reached with Tab and pressed with the space bar; answered No, nothing
    // changes. Clicked and answered Yes, the catalog is as before the transfer.
    frmConfig window(ws);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    for (int i = 0; i < 3; ++i)
        press(Qt::Key_Tab);
    auto* revert = control<QPushButton>(&window, "cmdRevertirCatalogo");
    QCOMPARE(QApplication::focusWidget(), revert);
    fixture.dialogs.textAnswers << u"100"_s << u"100"_s;
    fixture.dialogs.questionAnswers << false << true;
    press(Qt::Key_Space);
    QCOMPARE(catalog(), transferred);
    QTest::mouseClick(revert, Qt::LeftButton);
    QCOMPARE(catalog(), original);
    QCOMPARE(fixture.dialogs.questionDefaults, QList<DefaultAnswer>(2, DefaultAnswer::No));
    COMPARE_GOLDEN(fixture.dialogs.journal.join(u'\n').toUtf8() + '\n',
                   u"config/revert-window.txt"_s);
}

QTEST_MAIN(ConfigWindowsTest)
#include "tst_configwindows.moc"
