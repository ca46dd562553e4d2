// SPDX-License-Identifier: Apache-2.0
// Benchmark of the position search on a generated nomenclator of 12,000 positions (SQLite):
// the time of the first word search (which builds the word index), then the median time of
// 500 word searches of one to three words and of 500 searches by number, through the same
// PositionSearch the window and the command line use.

#include "components/DataSession.h"
#include "data/DemoData.h"
#include "data/WorkDatabase.h"
#include "review/PositionSearch.h"
#include "support/ScriptedDialogs.h"
#include "workspace/Workspace.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <random>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

constexpr int Positions = 12000;
constexpr int Queries = 500;

const QStringList Vocabulary = [] {
    const QStringList stems = {
        u"rodamiento"_s, u"tornillo"_s,  u"válvula"_s,  u"bomba"_s,     u"motor"_s,
        u"cable"_s,      u"tubo"_s,      u"correa"_s,   u"neumático"_s, u"máquina"_s,
        u"aparato"_s,    u"eléctrico"_s, u"acero"_s,    u"cobre"_s,     u"aluminio"_s,
        u"plástico"_s,   u"caucho"_s,    u"vidrio"_s,   u"madera"_s,    u"papel"_s,
        u"algodón"_s,    u"lana"_s,      u"cerámica"_s, u"hierro"_s,    u"níquel"_s,
        u"bolas"_s,      u"rodillos"_s,  u"cónicos"_s,  u"agujas"_s,    u"engranaje"_s,
        u"reductor"_s,   u"embrague"_s,  u"junta"_s,    u"arandela"_s,  u"tuerca"_s,
        u"perno"_s,      u"remache"_s,   u"resorte"_s,  u"cadena"_s,    u"filtro"_s};
    const QStringList tails = {u""_s, u"es"_s, u"ado"_s, u"ería"_s, u"ista"_s, u"ón"_s};
    QStringList words;
    for (const QString& stem : stems) {
        for (const QString& tail : tails)
            words << stem + tail;
    }
    return words;
}();

QString sentence(std::mt19937& random, int length)
{
    std::uniform_int_distribution<qsizetype> pick(0, Vocabulary.size() - 1);
    QStringList words;
    for (int i = 0; i < length; ++i)
        words << Vocabulary.at(pick(random));
    words.first()[0] = words.first().at(0).toUpper();
    return words.join(u' ');
}

/** 125 positions a chapter from chapter 10 on, with descriptions of six to fourteen words. */
void fill(DataSession& ncm)
{
    std::mt19937 random(12);
    std::uniform_int_distribution<int> length(6, 14);
    TransactionGuard transaction(ncm);
    DataSession::Statement insert(ncm, QStringLiteral("insert into ncm ([001], [002], [003], "
                                                      "[004], [010], [012], [019], [020], [059]) "
                                                      "values (?, '777', 'B', ?, ?, '07', '', '', "
                                                      "'')"));
    for (int i = 0; i < Positions; ++i) {
        const int inChapter = i % 125;
        const QString digits = QStringLiteral("%1.%2.10")
                                   .arg((10 + i / 125) * 100 + inChapter / 12)
                                   .arg(inChapter % 12 * 8, 2, 10, QLatin1Char('0'));
        insert.ejecutar({digits, sentence(random, 8), sentence(random, length(random))});
    }
    transaction.commit();
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

/** The median time of a search over the texts, in milliseconds; the lines found in all. */
double timed(const QStringList& texts, const std::function<qsizetype(const QString&)>& search,
             qsizetype& lines)
{
    std::vector<double> times;
    for (const QString& text : texts) {
        QElapsedTimer timer;
        timer.start();
        lines += search(text);
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    return median(times);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    WorkDatabase::create(dir.path());
    DemoData::write(dir.path());
    ScriptedDialogs dialogs;
    NoProgress progress;
    Workspace ws(dir.path(), dialogs, progress);
    ws.open();
    fill(ws.nomenclator());
    PositionSearch search(ws);

    QElapsedTimer timer;
    timer.start();
    const qsizetype first = search.findWords(u"rodamiento"_s).size();
    const qint64 build = timer.elapsed();

    std::mt19937 random(7);
    std::uniform_int_distribution<int> count(1, 3);
    std::uniform_int_distribution<qsizetype> pick(0, Vocabulary.size() - 1);
    std::uniform_int_distribution<int> chapter(10, 97);
    QStringList wordTexts;
    QStringList numberTexts;
    for (int i = 0; i < Queries; ++i) {
        QStringList words;
        for (int n = count(random); n > 0; --n)
            words << Vocabulary.at(pick(random)).left(5 + n); // whole words and beginnings
        wordTexts << words.join(u' ');
        numberTexts << (i % 2 ? QStringLiteral("%1").arg(chapter(random) * 100 + i % 10)
                              : QStringLiteral("%1.%2").arg(chapter(random)).arg(i % 10));
    }
    qsizetype wordLines = 0;
    qsizetype numberLines = 0;
    const double words = timed(
        wordTexts, [&](const QString& text) { return search.findWords(text).size(); }, wordLines);
    const double numbers = timed(
        numberTexts, [&](const QString& text) { return search.search(text).size(); }, numberLines);

    std::printf("nomenclator of %lld positions (SQLite)\n", qlonglong(ws.positionWords().size()));
    std::printf("first word search (builds the index): %lld ms, %lld lines\n", build,
                qlonglong(first));
    std::printf("word search: median %.3f ms over %d queries (%lld lines in all, at most %d "
                "each)\n",
                words, Queries, qlonglong(wordLines), PositionWordIndex::MaxLines);
    std::printf("search by number: median %.3f ms over %d queries (%lld lines in all)\n", numbers,
                Queries, qlonglong(numberLines));
    return 0;
}
