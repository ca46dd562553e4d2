// SPDX-License-Identifier: Apache-2.0
#include "data/ArticleStore.h"
#include "import/ArticleLoading.h"
#include "import/DocumentImport.h"
#include "support/Cli.h"
#include "support/Golden.h"
#include "support/WorkHome.h"

#include <QFileInfo>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

InvoiceLine article(const char* part, double quantity, const char* unit, double total,
                    const char* origin = "", const char* description = nullptr)
{
    const QString p = QString::fromUtf8(part);
    const QString d = description ? QString::fromUtf8(description) : p + u" DESC"_s;
    const double price = quantity == 0 ? 0 : total / quantity;
    return {p, quantity, d, QString::fromUtf8(origin), price, total, QString::fromUtf8(unit)};
}

QString invoice(const QString& name)
{
    return TestHome::testDataPath(u"import/"_s + name);
}

/** Relations and two internos holding former rows (import/former-rows.work.sql). */
struct Fixture : WorkHome {

    Fixture()
        : WorkHome({u"import/former-rows.work.sql"_s})
    {}

    bool load(const QList<InvoiceLine>& lines, const QString& interno = u"100"_s)
    {
        const std::optional<QList<Article>> articles = CargarArticulos(ws, lines);
        if (!articles)
            return false;
        TransactionGuard transaction(ws.work());
        ArticleStore(ws.work()).replaceRows(interno, *articles);
        transaction.commit();
        return true;
    }

    /** ARTORD|ARTNRO|ARTDSC|PRCDUN|ARTCAN|ARTUNI|ARTTOT|ARTORG|PRCEST of an interno, in order. */
    QStringList rows(const QString& interno = u"100"_s)
    {
        return queryRows(ws.work(),
                         u"select ARTORD, ARTNRO, ARTDSC, PRCDUN, ARTCAN, ARTUNI, ARTTOT, ARTORG, "
                         "PRCEST from ART where INTNRO = ? order by ARTORD"_s,
                         {interno});
    }
};

void addFormats()
{
    QTest::addColumn<QString>("suffix");
    QTest::newRow("doc") << u".doc"_s;
    QTest::newRow("docx") << u".docx"_s;
}

} // namespace

class TestArticleImport : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void roundsAsFormatting()
    {
        // Halves away from zero, on the decimal text of the value (1.005 lies just below).
        QCOMPARE(roundFormatted(1.005, 2), 1.01);
        QCOMPARE(roundFormatted(-2.345, 2), -2.35);
    }

    void loadsRowsOrKeepsTheFormerOnes()
    {
        Fixture f;
        // Units are compared exactly: lower-case ones stay as read, quantity and price too; a
        // relation without code leaves the origin empty.
        QVERIFY(f.load({article("A-5", 2, "ea", 1, "NOWHERE"), article("A-6", 2, "lb", 3, "US")}));
        QCOMPARE(f.dialogs.journal, QStringList());
        QCOMPARE(f.rows(), (QStringList{u"1|A-5|A-5 DESC|ea|2|0.5|1|~|~"_s,
                                        u"2|A-6|A-6 DESC|lb|2|1.5|3|212|~"_s}));
        QCOMPARE(f.rows(u"200"_s), QStringList{u"1|KEEP|X|~|~|~|~|~|~"_s});

        // An invoice without articles leaves the interno empty.
        QVERIFY(f.load({}));
        QCOMPARE(f.rows(), QStringList());

        // Apostrophes in every value are bound; in the description they become acute accents.
        f.home.runWorkSql(u"insert into ORG (PAI, ORI) values ('COTE D''IVOIRE', '4''7');\n"_s);
        QVERIFY(
            f.load({article("O'NEIL-1", 1, "E'A", 2, "COTE D'IVOIRE", "DON'T 'PANIC'")}, u"O'1"_s));
        QCOMPARE(f.rows(u"O'1"_s), QStringList{u"1|O'NEIL-1|DON´T ´PANIC´|E'A|1|2|2|4'7|~"_s});

        // Leaving the origin relation entry without saving, or a converted quantity of 0: the
        // former rows stay.
        f.dialogs.originAnswers << OriginRelation{u"CHILE"_s, u"208"_s} << std::nullopt;
        QVERIFY(!f.load({article("A-1", 1, "EA", 1, "CHILE"), article("A-2", 1, "EA", 1, "FRANCE")},
                        u"200"_s));
        QVERIFY(!f.load({article("Z-1", 0, "LB", 1)}, u"200"_s));
        QCOMPARE(
            f.dialogs.journal,
            QStringList(
                {u"origin: CHILE"_s, u"origin: FRANCE"_s,
                 u"message 1: No seleciono Pais de Origen!\n\n1111"_s,
                 u"message 1: El artículo Z-1 tiene cantidad 0: no se puede calcular su precio unitario.\n\n1111"_s}));
        QCOMPARE(f.rows(u"200"_s), QStringList{u"1|KEEP|X|~|~|~|~|~|~"_s});
    }

    /** Invoices saved by a word processor, read end to end by the parse command. */
    void parseCommandPrintsTheRecords()
    {
        const TestHome home;
        COMPARE_CLI_TRANSCRIPT(home.path(), u"import/parse.txt"_s);
    }

    // Read, then loaded as the process loads it: each document's outcome, what the operator saw
    // and the rows of interno 100 after it, in import/imported.doc.txt and .docx.txt.
    void importsDocuments_data() { addFormats(); }
    void importsDocuments()
    {
        QFETCH(QString, suffix);
        Fixture f;
        QStringList log;
        const auto import = [&](const QString& path) {
            const PreparedImport read = ImportarDocumento(f.ws, path, u"100"_s);
            ImportOutcome outcome = read.outcome;
            if (outcome == ImportOutcome::Loaded && !f.load(read.lines))
                outcome = ImportOutcome::Failed;
            log << u"== %1: outcome %2"_s.arg(QFileInfo(path).fileName()).arg(int(outcome))
                << f.dialogs.journal << f.rows();
            f.dialogs.journal.clear();
        };
        f.dialogs.originAnswers << OriginRelation{u"GERMANY"_s, u"438"_s}
                                << OriginRelation{u"GERMANY"_s, u"438"_s};
        for (const char* name : {"invoice-blank", "invoice-bad-quantity", "invoice-origin-first",
                                 "no-such-invoice", "invoice-fixed-columns"})
            import(invoice(QLatin1String(name) + suffix));
        // A document with text but not one article line changes nothing.
        import(TestHome::testDataPath(suffix == u".doc"_s
                                          ? u"word/corpus/tika-testWORD.doc"_s
                                          : u"word/corpus/tika-testWORD_text_box.docx"_s));
        // Rows corrected by hand are replaced only when the operator says so.
        f.home.runWorkSql(
            u"update ART set PRCEST = 'M' where INTNRO = '100' and ARTORD in (2, 3);\n"_s);
        f.dialogs.questionAnswers << false << true;
        import(invoice(u"invoice-fixed-columns"_s + suffix));
        import(invoice(u"invoice-fixed-columns"_s + suffix));
        QCOMPARE(f.progress.busyDepth, 0);
        const QString shown = log.join(u'\n').replace(TestHome::testDataPath({}), u"$DATA/"_s);
        COMPARE_GOLDEN((shown + u'\n').toUtf8(), u"import/imported%1.txt"_s.arg(suffix));
    }
};

QTEST_GUILESS_MAIN(TestArticleImport)
#include "tst_articleimport.moc"
