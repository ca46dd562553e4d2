// SPDX-License-Identifier: Apache-2.0
// Prints the body text of an invoice document (Word, OpenDocument text, PDF) as UTF-8, one line
// per paragraph (for the benchmark and for looking at what the reader makes of a file).
#include "import/WordReader.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "uso: word_text DOCUMENTO\n");
        return 2;
    }
    try {
        QByteArray utf8 = WordReader::bodyText(args.at(1)).toUtf8();
        char* const bytes = utf8.data();
        for (qsizetype i = 0; i < utf8.size(); ++i) // branch-free, so that it vectorises
            bytes[i] = bytes[i] == '\r' ? '\n' : bytes[i];
        std::fwrite(utf8.constData(), 1, size_t(utf8.size()), stdout);
        return 0;
    } catch (const AppError& error) {
        std::fprintf(stderr, "%ld %s (%s)\n", error.number(), error.what(),
                     error.source().toUtf8().constData());
        return 1;
    }
}
