// SPDX-License-Identifier: Apache-2.0
#include "app/Translation.h"
#include "app/frmMain.h"
#include "config/frmConfig.h"
#include "config/frmNewPais.h"
#include "controls/WindowGeometry.h"
#include "data/DemoData.h"
#include "data/WorkDatabase.h"
#include "review/FrmPosicion.h"
#include "review/frmDEP.h"
#include "review/frmModificar.h"
#include "support/ScriptedDialogs.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

/**
 * Pictures of the windows an operator works in, on the demo home: the main window's three
 * steps over the demo invoice with errors, the results list, the record editor, the position
 * search, the configuration and the origin relation entry. Written as PNG files to
 * $ADUPLAN_SCREENSHOTS (scripts/screenshots.sh: docs/), else to a temporary folder; each picture is
 * read back and must show more than one colour.
 */
class Screenshots : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_home;
    QTemporaryDir m_scratch;
    QDir m_out;
    ScriptedDialogs m_dialogs;
    std::unique_ptr<frmMain> m_window;

    void save(QWidget& widget, const QString& name)
    {
        widget.show();
        QVERIFY(QTest::qWaitForWindowExposed(&widget));
        const QString file = m_out.filePath(name + QStringLiteral(".png"));
        QVERIFY(widget.grab().save(file));
        const QImage image(file);
        QCOMPARE(image.size(), widget.size() * widget.devicePixelRatio());
        const QRgb first = image.pixel(0, 0);
        bool varied = false;
        for (int y = 0; y < image.height() && !varied; y += 4) {
            for (int x = 0; x < image.width() && !varied; x += 4)
                varied = image.pixel(x, y) != first;
        }
        QVERIFY2(varied, qPrintable(file));
    }

    QPushButton* button(const char* name) const
    {
        return m_window->findChild<QPushButton*>(QLatin1String(name));
    }

private Q_SLOTS:
    void initTestCase()
    {
        QApplication::setFont(WindowGeometry::windowFont());
        QVERIFY(installSpanishTranslation());
        const QString out = qEnvironmentVariable("ADUPLAN_SCREENSHOTS");
        m_out = QDir(out.isEmpty() ? m_scratch.path() : out);
        QVERIFY(m_out.mkpath(QStringLiteral(".")));
        WorkDatabase::create(m_home.path());
        DemoData::write(m_home.path());
        m_window = std::make_unique<frmMain>(m_home.path(), m_dialogs);
        QVERIFY(m_window->load());
    }

    void mainWindowSteps()
    {
        // The second demo interno, 1002, and its invoice with position and suffix errors.
        auto* list = m_window->findChild<QWidget*>(QStringLiteral("FRAM1LstInternos"));
        m_window->show();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        QTest::keyClick(list, Qt::Key_Down);
        save(*m_window, QStringLiteral("paso1-internos"));

        QTest::mouseClick(button("cmdSiguiente"), Qt::LeftButton);
        QCOMPARE(m_window->wizard().step(), 2);
        QTest::qWait(QApplication::doubleClickInterval());
        m_dialogs.fileAnswers.enqueue(
            QDir(m_home.path()).filePath(QStringLiteral("invoices/factura-brightwater-7741.doc")));
        QTest::mouseClick(button("FRAM2_CmdProcesar"), Qt::LeftButton);
        save(*m_window, QStringLiteral("paso2-factura"));

        QTest::mouseClick(button("cmdSiguiente"), Qt::LeftButton);
        QTRY_COMPARE(m_window->wizard().step(), 3);
        save(*m_window, QStringLiteral("paso3-resultados"));
        QVERIFY2(m_dialogs.messages.isEmpty(), qPrintable(m_dialogs.messageTexts().join(u'|')));
    }

    void reviewWindows()
    {
        const QString interno = m_window->wizard().interno();
        Workspace& ws = m_window->workspace();
        frmDEP results(ws, interno, ArticleTableModel::List::WithErrors);
        save(results, QStringLiteral("frmDEP-resultados"));

        ArticleStore store(ws.work());
        ArticleTableModel rows;
        rows.load(store, interno, ArticleTableModel::List::WithErrors);
        QVERIFY(rows.rowCount() > 0);
        frmModificar editor(ws, interno, rows.article(0).line);
        save(editor, QStringLiteral("frmModificar-registro"));

        // The position search after a search by words.
        FrmPosicion search(ws, QStringLiteral("8482"));
        search.show();
        auto* words = search.findChild<QLineEdit*>(QStringLiteral("txtWords"));
        QTest::keyClicks(words, QStringLiteral("rodamientos bolas"));
        QTest::keyClick(words, Qt::Key_Return);
        QTest::keyClick(search.findChild<QWidget*>(QStringLiteral("LstNCM")), Qt::Key_Down);
        save(search, QStringLiteral("FrmPosicion-busqueda"));
    }

    void configurationWindow()
    {
        frmConfig config(m_window->workspace());
        save(config, QStringLiteral("frmConfig-configuracion"));
        frmNewPais entry(m_window->workspace(), frmNewPais::Mode::A, QStringLiteral("TAIWAN"));
        save(entry, QStringLiteral("frmNewPais-origen"));
    }
};

QTEST_MAIN(Screenshots)
#include "screenshots.moc"
