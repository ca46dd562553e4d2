#include "ConfigHome.h"

#include "config/frmConfig.h"
#include "config/frmNewPais.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

const QString Countries = QStringLiteral("insert into PAIS values ('US', 'ESTADOS UNIDOS');\n"
                                         "insert into PAIS values ('JP', 'JAPON');\n"
                                         "insert into PAIS values ('BR', 'BRASIL');\n");

template <typename T> T* control(QWidget* window, const char* name)
{
    T* found = window->findChild<T*>(QLatin1String(name));
    if (!found)
        qFatal("control %s not found", name);
    return found;
}

/** Acts on the origin relation entry once the window under test has opened it modally. */
void whenEntryOpens(std::function<void(frmNewPais*)> act)
{
    QTimer::singleShot(0, [act]() {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (auto* entry = qobject_cast<frmNewPais*>(top); entry && entry->isVisible()) {
                act(entry);
                return;
            }
        }
        QFAIL("the origin relation entry did not open");
    });
}

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
    void entryControlsAndModes();
    void entryRefusesEmptyText();
    void entryEscapeAndCloseReturnNothing();
    void entrySavesTheRelation();
    void configShowsCatalogsAndRelations();
    void configDeletesTheCurrentRelation();
    void configInsertRefillsOnlyAfterASave();
    void configEscapeStoresTheCatalog();
};

void ConfigWindowsTest::entryControlsAndModes()
{
    ConfigHome fixture;
    fixture.home.runWorkSql(Countries);
    Workspace& ws = fixture.open();

    frmNewPais locked(ws, frmNewPais::Mode::A, QStringLiteral("JAPAN"));
    locked.show();
    QCOMPARE(locked.windowTitle(), QStringLiteral("Unidades MARIA"));
    QCOMPARE(locked.size(), QSize(178, 139)); // 2670 x 2085 twips
    QCOMPARE(control<QLabel>(&locked, "Label3")->text(),
             QStringLiteral("[F11] Guardar - [ESC] Salir"));
    auto* cboOrigen = control<QComboBox>(&locked, "cboOrigen");
    QVERIFY(!cboOrigen->isEditable());
    QCOMPARE(cboOrigen->currentText(), QStringLiteral("BRASIL"));
    QVERIFY(control<QComboBox>(&locked, "cboIdOrigen")->isHidden());
    auto* txtPais = control<QLineEdit>(&locked, "txtPais");
    QCOMPARE(txtPais->text(), QStringLiteral("JAPAN"));
    QVERIFY(!txtPais->isEnabled());
    QVERIFY(QTest::qWaitForWindowActive(&locked));
    QCOMPARE(QApplication::focusWidget(), cboOrigen);
    QTest::keyClicks(txtPais, QStringLiteral("X"));
    QCOMPARE(txtPais->text(), QStringLiteral("JAPAN"));

    // A blank invoice text cannot be saved as it is, so it stays open for typing.
    frmNewPais blank(ws, frmNewPais::Mode::A, QStringLiteral("  "));
    blank.show();
    QVERIFY(control<QLineEdit>(&blank, "txtPais")->isEnabled());

    frmNewPais typed(ws, frmNewPais::Mode::M, QStringLiteral("IGNORED"));
    typed.show();
    auto* typedText = control<QLineEdit>(&typed, "txtPais");
    QVERIFY(typedText->isEnabled());
    QCOMPARE(typedText->text(), QString());
    QTest::keyClicks(typedText, QStringLiteral("CHINA"));
    QCOMPARE(typedText->text(), QStringLiteral("CHINA"));
}

void ConfigWindowsTest::entryRefusesEmptyText()
{
    ConfigHome fixture;
    fixture.home.runWorkSql(Countries);
    Workspace& ws = fixture.open();

    frmNewPais entry(ws, frmNewPais::Mode::M, QString());
    entry.show();
    auto* cboOrigen = control<QComboBox>(&entry, "cboOrigen");
    cboOrigen->setCurrentIndex(1);
    QTest::keyClick(cboOrigen, Qt::Key_F11); // the window sees the key before the list
    QCOMPARE(fixture.dialogs.messageTexts(),
             QStringList{QStringLiteral("Debe ingresar algun datos en el campo ORIGEN FACTURA")});
    QCOMPARE(fixture.dialogs.messages.at(0).icon, MessageIcon::Critical);
    QVERIFY(entry.isVisible());
    QVERIFY(!entry.relation());
    QVERIFY(fixture.relations().isEmpty());
}

void ConfigWindowsTest::entryEscapeAndCloseReturnNothing()
{
    ConfigHome fixture;
    fixture.home.runWorkSql(Countries);
    Workspace& ws = fixture.open();

    frmNewPais escaped(ws, frmNewPais::Mode::A, QStringLiteral("JAPAN"));
    escaped.show();
    QTest::keyClick(control<QComboBox>(&escaped, "cboOrigen"), Qt::Key_Escape);
    QVERIFY(!escaped.isVisible());
    QCOMPARE(escaped.result(), int(QDialog::Rejected));
    QVERIFY(!escaped.relation());

    frmNewPais closed(ws, frmNewPais::Mode::A, QStringLiteral("JAPAN"));
    closed.show();
    QVERIFY(closed.close());
    QVERIFY(!closed.relation());

    whenEntryOpens([](frmNewPais* entry) { QTest::keyClick(entry, Qt::Key_Escape); });
    QVERIFY(!frmNewPais::open(ws, frmNewPais::Mode::A, QStringLiteral("JAPAN"), nullptr));
    QVERIFY(fixture.relations().isEmpty());
}

void ConfigWindowsTest::entrySavesTheRelation()
{
    ConfigHome fixture;
    fixture.home.runWorkSql(Countries);
    Workspace& ws = fixture.open();

    frmNewPais entry(ws, frmNewPais::Mode::M, QString());
    entry.show();
    QVERIFY(QTest::qWaitForWindowActive(&entry));
    auto* txtPais = control<QLineEdit>(&entry, "txtPais");
    QCOMPARE(QApplication::focusWidget(), txtPais);
    QTest::keyClicks(txtPais, QStringLiteral(" NIPPON "));
    auto* cboOrigen = control<QComboBox>(&entry, "cboOrigen");
    QTest::keyClick(txtPais, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), cboOrigen);
    QTest::keyClick(cboOrigen, Qt::Key_Down); // BRASIL, ESTADOS UNIDOS, JAPON
    QTest::keyClick(cboOrigen, Qt::Key_Down);
    QCOMPARE(cboOrigen->currentText(), QStringLiteral("JAPON"));
    QTest::keyClick(txtPais, Qt::Key_F11);
    QVERIFY(entry.relation());
    QCOMPARE(entry.relation()->text, QStringLiteral(" NIPPON "));
    QCOMPARE(entry.relation()->code, QStringLiteral("JP"));
    QCOMPARE(entry.result(), int(QDialog::Accepted));
    QVERIFY(!entry.isVisible());

    // The article loading's way in: text preset, the first country taken as it comes.
    whenEntryOpens([](frmNewPais* opened) { QTest::keyClick(opened, Qt::Key_F11); });
    const std::optional<OriginRelation> saved =
        frmNewPais::open(ws, frmNewPais::Mode::A, QStringLiteral("BRAZIL"), nullptr);
    QVERIFY(saved);
    QCOMPARE(saved->code, QStringLiteral("BR"));
    QCOMPARE(fixture.relations(),
             (QStringList{QStringLiteral(" NIPPON |JP"), QStringLiteral("BRAZIL|BR")}));
    QVERIFY(fixture.dialogs.messages.isEmpty());
}

void ConfigWindowsTest::configShowsCatalogsAndRelations()
{
    ConfigHome fixture;
    fixture.home.runDeclarationSql(
        QStringLiteral("insert into catalogo values ('7', 'REPUESTOS');\n"
                       "insert into catalogo values ('3', 'GENERAL');\n"));
    fixture.home.setSetting(QStringLiteral("INTCAT"), QStringLiteral("7"));
    fixture.home.runWorkSql(QStringLiteral("insert into ORG values ('USA', 'US');\n"
                                           "insert into ORG values ('JAPAN', NULL);\n"));
    Workspace& ws = fixture.open();

    frmConfig window(ws);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QCOMPARE(window.windowTitle(), QStringLiteral("Configuración"));
    QCOMPARE(window.size(), QSize(215, 325)); // 3225 x 4875 twips
    QVERIFY(control<QLabel>(&window, "Label2")->font().bold());
    QCOMPARE(control<QLabel>(&window, "Label3")->text(), QStringLiteral("Relaciones de Origen"));
    auto* cboCatalogo = control<QComboBox>(&window, "cboCatalogo");
    QCOMPARE(cboCatalogo->count(), 2);
    QCOMPARE(cboCatalogo->currentText(), QStringLiteral("[7] REPUESTOS"));
    auto* cboIdCatalogo = control<QComboBox>(&window, "cboIdCatalogo");
    QVERIFY(cboIdCatalogo->isHidden());
    QCOMPARE(cboIdCatalogo->itemText(cboCatalogo->currentIndex()), QStringLiteral("7"));

    auto* grid = control<QTableWidget>(&window, "GridOrigen");
    QCOMPARE(grid->horizontalHeaderItem(0)->text(), QStringLiteral("Un Fact"));
    QCOMPARE(grid->horizontalHeaderItem(1)->text(), QStringLiteral("Un Maria"));
    QCOMPARE(gridRows(grid), (QStringList{QStringLiteral("JAPAN|"), QStringLiteral("USA|US")}));
    QCOMPARE(grid->currentRow(), 0);
    QCOMPARE(grid->selectedItems().size(), 2);
    QVERIFY(grid->item(0, 1)->isSelected());

    QCOMPARE(QApplication::focusWidget(), cboCatalogo);
    QTest::keyClick(cboCatalogo, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), grid);
    QVERIFY(fixture.dialogs.messages.isEmpty());
}

void ConfigWindowsTest::configDeletesTheCurrentRelation()
{
    ConfigHome fixture;
    fixture.home.runWorkSql(QStringLiteral("insert into ORG values ('USA', 'US');\n"));
    Workspace& ws = fixture.open();
    {
        frmConfig window(ws);
        window.show();
        auto* grid = control<QTableWidget>(&window, "GridOrigen");
        QTest::keyClick(grid, Qt::Key_Delete);
        QCOMPARE(grid->rowCount(), 0);
        QVERIFY(fixture.relations().isEmpty());
        QTest::keyClick(grid, Qt::Key_Delete); // nothing left: nothing happens
        QCOMPARE(grid->rowCount(), 0);
    }

    fixture.home.runWorkSql(QStringLiteral("insert into ORG values ('ALEMANIA', 'DE');\n"
                                           "insert into ORG values ('BRAZIL', 'BR');\n"
                                           "insert into ORG values ('CHINA', 'CN');\n"
                                           "insert into ORG values ('ALEMANIA', 'DE');\n"));
    frmConfig window(ws);
    window.show();
    auto* grid = control<QTableWidget>(&window, "GridOrigen");
    QCOMPARE(grid->rowCount(), 4);
    QTest::keyClick(grid, Qt::Key_Down);
    QTest::keyClick(grid, Qt::Key_Down);
    QCOMPARE(grid->currentRow(), 2);
    QTest::keyClick(grid, Qt::Key_Delete);
    QCOMPARE(gridRows(grid),
             (QStringList{QStringLiteral("ALEMANIA|DE"), QStringLiteral("ALEMANIA|DE"),
                          QStringLiteral("CHINA|CN")}));
    QCOMPARE(grid->selectedItems().size(), 2);

    // A pair stored twice goes at once from the table; the grid loses only the current row.
    grid->setCurrentCell(0, 0);
    QTest::keyClick(grid, Qt::Key_Delete);
    QCOMPARE(gridRows(grid),
             (QStringList{QStringLiteral("ALEMANIA|DE"), QStringLiteral("CHINA|CN")}));
    QCOMPARE(fixture.relations(), QStringList{QStringLiteral("CHINA|CN")});
    QVERIFY(fixture.dialogs.messages.isEmpty());
}

void ConfigWindowsTest::configInsertRefillsOnlyAfterASave()
{
    ConfigHome fixture;
    fixture.home.runWorkSql(Countries);
    fixture.home.runWorkSql(QStringLiteral("insert into ORG values ('USA', 'US');\n"));
    Workspace& ws = fixture.open();
    frmConfig window(ws);
    window.show();
    auto* grid = control<QTableWidget>(&window, "GridOrigen");

    // Left without saving: the grid is not read again (a row added meanwhile stays unseen).
    whenEntryOpens([&fixture](frmNewPais* entry) {
        QVERIFY(control<QLineEdit>(entry, "txtPais")->isEnabled());
        fixture.home.runWorkSql(QStringLiteral("insert into ORG values ('CANADA', 'CA');\n"));
        QTest::keyClick(entry, Qt::Key_Escape);
    });
    QTest::keyClick(grid, Qt::Key_Insert);
    QCOMPARE(gridRows(grid), QStringList{QStringLiteral("USA|US")});
    QVERIFY(window.isVisible());

    whenEntryOpens([](frmNewPais* entry) {
        QTest::keyClicks(control<QLineEdit>(entry, "txtPais"), QStringLiteral("JAPAN"));
        control<QComboBox>(entry, "cboOrigen")->setCurrentIndex(2);
        QTest::keyClick(entry, Qt::Key_F11);
    });
    QTest::keyClick(grid, Qt::Key_Insert);
    QCOMPARE(gridRows(grid), (QStringList{QStringLiteral("CANADA|CA"), QStringLiteral("JAPAN|JP"),
                                          QStringLiteral("USA|US")}));
    QCOMPARE(grid->currentRow(), 0);
}

void ConfigWindowsTest::configEscapeStoresTheCatalog()
{
    ConfigHome fixture;
    fixture.home.runDeclarationSql(
        QStringLiteral("insert into catalogo values ('7', 'REPUESTOS');\n"
                       "insert into catalogo values ('3', 'GENERAL');\n"));
    fixture.home.setSetting(QStringLiteral("INTCAT"), QStringLiteral("99"));
    Workspace& ws = fixture.open();
    {
        frmConfig window(ws);
        window.show();
        QCOMPARE(control<QComboBox>(&window, "cboCatalogo")->currentText(),
                 QStringLiteral("[3] GENERAL"));
        QVERIFY(window.close()); // the close box stores nothing
        QCOMPARE(ws.storedCatalog(), QStringLiteral("99"));
    }
    {
        frmConfig window(ws);
        window.show();
        QTest::keyClick(control<QTableWidget>(&window, "GridOrigen"), Qt::Key_Escape);
        QVERIFY(!window.isVisible());
        QCOMPARE(ws.storedCatalog(), QStringLiteral("3"));
        QCOMPARE(ws.INTCAT, QStringLiteral("3"));
    }
    frmConfig window(ws);
    window.show();
    auto* cboCatalogo = control<QComboBox>(&window, "cboCatalogo");
    QCOMPARE(cboCatalogo->currentText(), QStringLiteral("[3] GENERAL"));
    QTest::keyClick(cboCatalogo, Qt::Key_Down);
    QTest::keyClick(cboCatalogo, Qt::Key_Escape);
    QCOMPARE(ws.storedCatalog(), QStringLiteral("7"));
    QCOMPARE(ws.INTCAT, QStringLiteral("7"));

    // With no catalog to choose, Escape leaves the stored one alone.
    fixture.home.runDeclarationSql(QStringLiteral("delete from catalogo;\n"));
    frmConfig empty(ws);
    empty.show();
    QTest::keyClick(&empty, Qt::Key_Escape);
    QVERIFY(!empty.isVisible());
    QCOMPARE(ws.storedCatalog(), QStringLiteral("7"));
    QVERIFY(fixture.dialogs.messages.isEmpty());

    // An unreadable catalog table is told; the relations still come and Escape still closes.
    fixture.home.runDeclarationSql(QStringLiteral("drop table catalogo;\n"));
    fixture.home.runWorkSql(QStringLiteral("insert into ORG values ('USA', 'US');\n"));
    frmConfig unreadable(ws);
    unreadable.show();
    QCOMPARE(fixture.dialogs.messages.size(), 1);
    QVERIFY(fixture.dialogs.messages.at(0).text.startsWith(
        QStringLiteral("No se pudo leer la lista de catálogos.")));
    QCOMPARE(control<QTableWidget>(&unreadable, "GridOrigen")->rowCount(), 1);
    QTest::keyClick(&unreadable, Qt::Key_Escape);
    QVERIFY(!unreadable.isVisible());
    QCOMPARE(ws.storedCatalog(), QStringLiteral("7"));
}

QTEST_MAIN(ConfigWindowsTest)
#include "ConfigWindowsTest.moc"
