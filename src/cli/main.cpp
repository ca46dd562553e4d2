// SPDX-License-Identifier: Apache-2.0
#include "cli/CliDialogs.h"
#include "cli/Commands.h"
#include "components/OperatorText.h"
#include "workspace/Workspace.h"

#include <QFileDevice>
#include <QGuiApplication>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

const char* const Usage = "uso: aduplan-cli [--home DIR] COMANDO [ARGUMENTOS]\n"
                          "     aduplan-cli [COMANDO] --help\n"
                          "     aduplan-cli --version\n"
                          "comandos:\n"
                          "  init [--demo]\n"
                          "  interno add NUMERO [DESCRIPCION]\n"
                          "  interno list\n"
                          "  interno delete NUMERO\n"
                          "  parse ARCHIVO\n"
                          "  process INTERNO ARCHIVO [--origin TEXTO=CODIGO]... [--replace]\n"
                          "  stats INTERNO\n"
                          "  rows INTERNO\n"
                          "  edit INTERNO ARTORD [--ncm P] [--suf S] [--dun U]\n"
                          "       [--eca Q] [--sca Q] [--esm C] [--ori ID]\n"
                          "  export INTERNO --order ARTORD|ARTNRO|ARTDSC --out ARCHIVO\n"
                          "  report INTERNO --errors|--ok --pdf ARCHIVO\n"
                          "  check INTERNO\n"
                          "  transfer INTERNO [--replace]\n"
                          "  ncm search TEXTO\n"
                          "  ncm find PALABRAS...\n"
                          "  ncm show POSICION\n"
                          "  catalog check [--catalog ID]\n"
                          "  catalog history ARTICULO [--catalog ID] [--json]\n"
                          "  catalog revert INTERNO\n"
                          "  suggest INTERNO ARTORD\n"
                          "  suggest --article NUMERO --description TEXTO\n"
                          "  suggest --evaluate [--catalog ID]\n"
                          "  history INTERNO [ARTORD] [--json]\n"
                          "Ver man aduplan-cli.\n";

const std::pair<const char*, int (*)(Cli::Context&)> Commands[] = {
    {"init", Cli::init},       {"interno", Cli::interno},   {"parse", Cli::parse},
    {"process", Cli::process}, {"stats", Cli::stats},       {"rows", Cli::rows},
    {"edit", Cli::edit},       {"transfer", Cli::transfer}, {"export", Cli::exportRows},
    {"report", Cli::report},   {"check", Cli::check},       {"ncm", Cli::ncm},
    {"catalog", Cli::catalog}, {"suggest", Cli::suggest},   {"history", Cli::history},
};

/** Whether the command paints pages: "report", after "--home DIR" when given. */
bool paints(int argc, char* argv[])
{
    const int command = argc > 2 && qstrcmp(argv[1], "--home") == 0 ? 3 : 1;
    return command < argc && qstrcmp(argv[command], "report") == 0;
}

/** Whether the usage is asked for: "--help" as the command or among its options. */
bool asksHelp(const QString& command, const QStringList& args)
{
    const QString help = QStringLiteral("--help");
    const auto optionsEnd = std::find(args.cbegin(), args.cend(), QStringLiteral("--"));
    return command == help || std::find(args.cbegin(), optionsEnd, help) != optionsEnd;
}

/**
 * The exit code once the output has reached its destination: a command whose output could not be
 * written (a full disk, a closed pipe) failed, whatever it did.
 */
int written(int code, QTextStream& out, QTextStream& err)
{
    out.flush();
    QIODevice* const device = out.device();
    auto* const file = qobject_cast<QFileDevice*>(device);
    const bool flushed = out.status() == QTextStream::Ok &&
                         (!file || (file->flush() && file->error() == QFileDevice::NoError));
    if (flushed)
        return code;
    err << QStringLiteral("No se pudo escribir la salida: %1").arg(device->errorString())
        << Qt::endl;
    return code == Cli::Done ? Cli::Failed : code;
}

} // namespace

int main(int argc, char* argv[])
{
    // A report is painted with fonts, which need the GUI application (no window opens).
    std::unique_ptr<QCoreApplication> app;
    if (paints(argc, argv)) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName(QStringLiteral("Aduplan"));
    QTextStream out(stdout);
    QTextStream err(stderr);

    QStringList args = QCoreApplication::arguments().mid(1);
    QString homeOption;
    if (args.size() >= 2 && args.first() == QLatin1String("--home")) {
        homeOption = args.at(1);
        args = args.mid(2);
    }
    if (args.isEmpty()) {
        err << Usage;
        return Cli::UsageError;
    }
    const QString command = args.takeFirst();
    const bool known =
        std::any_of(std::cbegin(Commands), std::cend(Commands), [&command](const auto& entry) {
            return command == QLatin1String(entry.first);
        });
    if ((known || command == QLatin1String("--help")) && asksHelp(command, args)) {
        out << Usage;
        return written(Cli::Done, out, err);
    }
    if (command == QLatin1String("--version") && args.isEmpty()) {
        out << "aduplan-cli " << Workspace::version() << '\n';
        return written(Cli::Done, out, err);
    }
    Cli::Context context{Workspace::resolveHome(homeOption), args, out, err};
    try {
        for (const auto& [name, run] : Commands) {
            if (command == QLatin1String(name))
                return written(run(context), out, err);
        }
    } catch (const Cli::Usage& usage) {
        err << OperatorText::shown(usage.text) << '\n' << Usage;
        return Cli::UsageError;
    } catch (const AppError& error) {
        err << error.description() << Qt::endl;
        return Cli::Failed;
    }
    err << Usage;
    return Cli::UsageError;
}
