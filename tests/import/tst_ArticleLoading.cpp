#include "app/Workspace.h"
#include "import/ArticleLoading.h"
#include "support/ScriptedDialogs.h"
#include "support/TestHome.h"

#include <QTest>

namespace {

InvoiceLine invoiceLine(const QString& part, double quantity, const QString& unit, double total,
                        const QString& origin = {}, const QString& description = {})
{
    InvoiceLine line;
    line.partNumber = part;
    line.quantity = quantity;
    line.unit = unit;
    line.unitPrice = quantity == 0 ? 0 : total / quantity;
    line.total = total;
    line.origin = origin;
    line.description = description.isEmpty() ? part + QStringLiteral(" DESC") : description;
    return line;
}

/** A work database with two relations and two internos holding former rows. */
struct Fixture {
    TestHome home;
    ScriptedDialogs dialogs;
    RecordingProgress progress;
    std::unique_ptr<Workspace> ws;

    Fixture()
    {
        home.createDatabases();
        home.runWorkSql(QStringLiteral(
            "insert into ORG (PAI, ORI) values ('US', ' 212 ');\n"
            "insert into ORG (PAI, ORI) values ('JAPAN', '399');\n"
            "insert into ORG (PAI, ORI) values ('JAPAN', '999');\n"
            "insert into ORG (PAI, ORI) values ('NOWHERE', NULL);\n"
            "insert into INTN (INTNRO, INTDSC) values ('100', 'CIEN');\n"
            "insert into INTN (INTNRO, INTDSC) values ('200', 'DOSCIENTOS');\n"
            "insert into ART (INTNRO, ARTORD, ARTNRO, ARTDSC) values ('100', 1, 'OLD-1', 'X');\n"
            "insert into ART (INTNRO, ARTORD, ARTNRO, ARTDSC) values ('100', 2, 'OLD-2', 'X');\n"
            "insert into ART (INTNRO, ARTORD, ARTNRO, ARTDSC) values ('200', 1, 'KEEP', 'X');\n"));
        ws = std::make_unique<Workspace>(home.path(), dialogs, progress);
        ws->open();
    }

    /** ARTORD:ARTNRO:ARTDSC:PRCDUN:ARTCAN:ARTUNI:ARTTOT:ARTORG of an interno, in order. */
    QStringList rows(const QString& interno)
    {
        QStringList out;
        RecordSet rs;
        ws->work().Sql(QStringLiteral("select * from ART where INTNRO = ? order by ARTORD"),
                       {interno});
        ws->work().CrearRs(rs);
        for (; !rs.Eof(); rs.MoveNext()) {
            QStringList fields;
            for (const char* column :
                 {"ARTORD", "ARTNRO", "ARTDSC", "PRCDUN", "ARTCAN", "ARTUNI", "ARTTOT", "ARTORG"})
                fields << rs.Fields(QLatin1String(column)).toString();
            out << fields.join(QLatin1Char(':'));
        }
        return out;
    }

    const QStringList formerRows = {QStringLiteral("1:OLD-1:X:::::"),
                                    QStringLiteral("2:OLD-2:X:::::")};
};

} // namespace

class TestArticleLoading : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void roundsAsFormatting()
    {
        QCOMPARE(roundFormatted(4.536, 2), 4.54);
        QCOMPARE(roundFormatted(1.005, 2), 1.01);
        QCOMPARE(roundFormatted(-2.345, 2), -2.35);
        QCOMPARE(roundFormatted(0.125, 2), 0.13);
        QCOMPARE(roundFormatted(9.0 / 0.9144, 5), 9.84252);
    }

    void convertsUnits()
    {
        InvoiceLine pounds = invoiceLine(QStringLiteral("A"), 10, QStringLiteral("LB"), 45.36);
        ProcesarUnidades(pounds);
        QCOMPARE(pounds.unit, QStringLiteral("01"));
        QCOMPARE(pounds.quantity, 4.54);
        QCOMPARE(pounds.unitPrice, 10.0);
        QCOMPARE(pounds.total, 45.36);

        InvoiceLine feet = invoiceLine(QStringLiteral("B"), 3, QStringLiteral("FT"), 9);
        ProcesarUnidades(feet);
        QCOMPARE(feet.unit, QStringLiteral("02"));
        QCOMPARE(feet.quantity, 0.91);
        QCOMPARE(feet.unitPrice, 9.84252);

        InvoiceLine gallons = invoiceLine(QStringLiteral("C"), 2, QStringLiteral("GA"), 7.57);
        ProcesarUnidades(gallons);
        QCOMPARE(gallons.unit, QStringLiteral("05"));
        QCOMPARE(gallons.quantity, 7.57);
        QCOMPARE(gallons.unitPrice, 1.0);

        // Packaging units take the code only; other units, in any case, stay as read.
        const std::pair<const char*, const char*> unchanged[] = {
            {"EA", "07"}, {"RL", "07"}, {"BX", "07"}, {"PCS", "PCS"}, {"ea", "ea"}, {"lb", "lb"}};
        for (const auto& [unit, code] : unchanged) {
            InvoiceLine line = invoiceLine(QStringLiteral("D"), 3, QLatin1String(unit), 10);
            const double unitPrice = line.unitPrice;
            ProcesarUnidades(line);
            QCOMPARE(line.unit, QLatin1String(code));
            QCOMPARE(line.quantity, 3.0);
            QCOMPARE(line.unitPrice, unitPrice);
        }

        InvoiceLine none = invoiceLine(QStringLiteral("Z-1"), 0, QStringLiteral("YD"), 5);
        try {
            ProcesarUnidades(none);
            QFAIL("a converted quantity of 0 must fail");
        } catch (const AppError& error) {
            QCOMPARE(error.number(), LoadError);
            QVERIFY(error.description().contains(QStringLiteral("Z-1")));
        }
    }

    void loadsRowsAndAsksUnknownOriginOnce()
    {
        Fixture f;
        f.dialogs.originAnswers.enqueue(
            OriginRelation{QStringLiteral("GERMANY"), QStringLiteral("438")});
        const QList<InvoiceLine> lines = {
            invoiceLine(QStringLiteral("A-1"), 10, QStringLiteral("LB"), 45.36),
            invoiceLine(QStringLiteral("A-2"), 3, QStringLiteral("FT"), 9, QStringLiteral("JAPAN")),
            invoiceLine(QStringLiteral("A-3"), 2, QStringLiteral("EA"), 5,
                        QStringLiteral("GERMANY")),
            invoiceLine(QStringLiteral("A-4"), 1, QStringLiteral("PCS"), 1.5,
                        QStringLiteral("GERMANY")),
            invoiceLine(QStringLiteral("A-5"), 1, QStringLiteral("EA"), 1,
                        QStringLiteral("NOWHERE")),
        };
        QVERIFY(CargarArticulos(*f.ws, lines, QStringLiteral("100")));
        QCOMPARE(f.dialogs.originTexts, QStringList{QStringLiteral("GERMANY")});
        QCOMPARE(f.dialogs.messages.size(), 0);
        QCOMPARE(f.rows(QStringLiteral("100")),
                 (QStringList{QStringLiteral("1:A-1:A-1 DESC:01:4.54:10:45.36:212"),
                              QStringLiteral("2:A-2:A-2 DESC:02:0.91:9.84252:9:399"),
                              QStringLiteral("3:A-3:A-3 DESC:07:2:2.5:5:438"),
                              QStringLiteral("4:A-4:A-4 DESC:PCS:1:1.5:1.5:438"),
                              QStringLiteral("5:A-5:A-5 DESC:07:1:1:1:")}));
        QCOMPARE(f.rows(QStringLiteral("200")), QStringList{QStringLiteral("1:KEEP:X:::::")});

        // An invoice without articles leaves the interno empty.
        QVERIFY(CargarArticulos(*f.ws, {}, QStringLiteral("100")));
        QCOMPARE(f.rows(QStringLiteral("100")), QStringList());
    }

    void leavingTheOriginEntryKeepsFormerRows()
    {
        Fixture f;
        f.dialogs.originAnswers.enqueue(
            OriginRelation{QStringLiteral("CHILE"), QStringLiteral("208")});
        f.dialogs.originAnswers.enqueue(std::nullopt);
        const QList<InvoiceLine> lines = {
            invoiceLine(QStringLiteral("A-1"), 1, QStringLiteral("EA"), 1, QStringLiteral("CHILE")),
            invoiceLine(QStringLiteral("A-2"), 1, QStringLiteral("EA"), 1,
                        QStringLiteral("FRANCE")),
        };
        QVERIFY(!CargarArticulos(*f.ws, lines, QStringLiteral("100")));
        QCOMPARE(f.dialogs.originTexts,
                 (QStringList{QStringLiteral("CHILE"), QStringLiteral("FRANCE")}));
        QCOMPARE(f.dialogs.messages.size(), 1);
        QCOMPARE(f.dialogs.messages[0].icon, MessageIcon::Critical);
        QCOMPARE(f.dialogs.messages[0].text,
                 QStringLiteral("No seleciono Pais de Origen!\n\n1111"));
        QCOMPARE(f.rows(QStringLiteral("100")), f.formerRows);
    }

    void failingInsertKeepsFormerRows()
    {
        Fixture f;
        f.home.runWorkSql(QStringLiteral(
            "create trigger refuse_bad before insert on ART when NEW.ARTNRO = 'BAD-3' begin "
            "select raise(abort, 'articulo rechazado'); end;\n"));
        const QList<InvoiceLine> lines = {
            invoiceLine(QStringLiteral("A-1"), 1, QStringLiteral("EA"), 1),
            invoiceLine(QStringLiteral("A-2"), 1, QStringLiteral("EA"), 1),
            invoiceLine(QStringLiteral("BAD-3"), 1, QStringLiteral("EA"), 1),
            invoiceLine(QStringLiteral("A-4"), 1, QStringLiteral("EA"), 1),
        };
        QVERIFY(!CargarArticulos(*f.ws, lines, QStringLiteral("100")));
        QCOMPARE(f.dialogs.messages.size(), 1);
        QCOMPARE(f.dialogs.messages[0].icon, MessageIcon::Critical);
        QVERIFY2(f.dialogs.messages[0].text.startsWith(QStringLiteral("articulo rechazado\n\n")),
                 qPrintable(f.dialogs.messages[0].text));
        QCOMPARE(f.rows(QStringLiteral("100")), f.formerRows);

        // A zero quantity to convert fails before anything is deleted.
        f.dialogs.messages.clear();
        QVERIFY(!CargarArticulos(*f.ws,
                                 {invoiceLine(QStringLiteral("Z"), 0, QStringLiteral("LB"), 1)},
                                 QStringLiteral("100")));
        QCOMPARE(f.dialogs.messages.size(), 1);
        QVERIFY(f.dialogs.messages[0].text.endsWith(QStringLiteral("\n\n1111")));
        QCOMPARE(f.rows(QStringLiteral("100")), f.formerRows);
    }

    void apostrophesRoundTrip()
    {
        Fixture f;
        f.home.runWorkSql(
            QStringLiteral("insert into ORG (PAI, ORI) values ('COTE D''IVOIRE', '4''7');\n"));
        QVERIFY(CargarArticulos(
            *f.ws,
            {invoiceLine(QStringLiteral("O'NEIL-1"), 1, QStringLiteral("E'A"), 2,
                         QStringLiteral("COTE D'IVOIRE"), QStringLiteral("DON'T 'PANIC'"))},
            QStringLiteral("O'1")));
        QCOMPARE(f.rows(QStringLiteral("O'1")),
                 QStringList{QStringLiteral("1:O'NEIL-1:DON´T ´PANIC´:E'A:1:2:2:4'7")});
    }
};

QTEST_GUILESS_MAIN(TestArticleLoading)
#include "tst_ArticleLoading.moc"
