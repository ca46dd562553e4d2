// SPDX-License-Identifier: Apache-2.0
// Benchmark of the article suggestions on a prepared home (bench/suggest/run.sh): the time to
// build the catalog index once, the index's memory, then the median, 95th percentile and
// longest time (wall and processor) of a suggestion for 500 articles the catalog does not know
// (numbers of its families with another size, descriptions with their words shuffled), through the
// same ArticleSuggestions the record editor and the command line use. Usage: bench_suggest HOME
// CATALOG

#include "review/ArticleSuggestions.h"
#include "support/ScriptedDialogs.h"
#include "workspace/Workspace.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <random>
#include <vector>

namespace {

constexpr int Queries = 500;

/** The peak resident memory of the process, as the kernel reports it. */
QString peakMemory()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return QStringLiteral("?");
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return QString::fromLatin1(line.mid(6)).simplified();
    }
    return QStringLiteral("?");
}

/**
 * Wall time and the thread's processor time since the start, in milliseconds: on a machine
 * others load, the processor time tells the work.
 */
class Stopwatch {
public:
    Stopwatch() { restart(); }
    void restart()
    {
        m_wall.start();
        m_cpu = cpuNow();
    }
    double wall() const { return double(m_wall.nsecsElapsed()) / 1e6; }
    double cpu() const { return cpuNow() - m_cpu; }

private:
    static double cpuNow()
    {
        timespec now{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
    }
    QElapsedTimer m_wall;
    double m_cpu = 0;
};

/** "median M ms, 95th percentile P ms, longest L ms". */
QString spread(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return QStringLiteral("median %1 ms, 95th percentile %2 ms, longest %3 ms")
        .arg(times.at(times.size() / 2), 0, 'f', 2)
        .arg(times.at(times.size() * 95 / 100), 0, 'f', 2)
        .arg(times.back(), 0, 'f', 2);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: bench_suggest HOME CATALOG\n");
        return 2;
    }
    ScriptedDialogs dialogs;
    NoProgress progress;
    Workspace ws(QString::fromLocal8Bit(argv[1]), dialogs, progress);
    ws.open();
    ws.positionWords();

    Stopwatch timer;
    CatalogStore::allArticles(ws.declaration());
    const double read = timer.wall();
    timer.restart();
    const CatalogArticleIndex& index = ws.catalogArticles();
    const double build = timer.wall();
    const double buildCpu = timer.cpu();
    const std::vector<int> articles = index.inCatalog(QString::fromLocal8Bit(argv[2]));
    if (articles.empty()) {
        std::fprintf(stderr, "the catalog has no article\n");
        return 1;
    }

    std::mt19937 random(23);
    std::uniform_int_distribution<size_t> pick(0, articles.size() - 1);
    const QRegularExpression digits(QStringLiteral("\\d+"));
    ArticleSuggestions suggestions(ws);
    suggestions.suggest(QStringLiteral("X"), QStringLiteral("X")); // opens the validator
    std::vector<double> wall;
    std::vector<double> cpu;
    qsizetype found = 0;
    for (int i = 0; i < Queries; ++i) {
        const CatalogArticle& a = index.article(articles.at(pick(random)));
        QString number = a.number;
        const QRegularExpressionMatch m = digits.match(number);
        if (m.hasMatch())
            number.replace(m.capturedStart(), m.capturedLength(),
                           QString::number(m.captured().toLongLong() + 7));
        QStringList words = a.description.split(u' ', Qt::SkipEmptyParts);
        std::shuffle(words.begin(), words.end(), random);
        timer.restart();
        found += suggestions.suggest(number, words.join(u' ')).size();
        wall.push_back(timer.wall());
        cpu.push_back(timer.cpu());
    }
    std::printf("catalog index of %lld articles (every catalog): built in %.0f ms (%.0f ms of "
                "processor; the read alone %.0f ms), about %.1f MB\n",
                qlonglong(index.size()), build, buildCpu, read, double(index.memoryBytes()) / 1e6);
    std::printf("suggestion over %d articles (%lld suggestions in all): %s; processor: %s\n",
                Queries, qlonglong(found), qPrintable(spread(wall)), qPrintable(spread(cpu)));
    std::printf("peak memory of the process: %s\n", qPrintable(peakMemory()));
    return 0;
}
