// SPDX-License-Identifier: Apache-2.0
#include "app/QtOperatorDialogs.h"
#include "app/Translation.h"
#include "app/frmMain.h"
#include "controls/WindowGeometry.h"
#include "workspace/Workspace.h"

#include <QApplication>
#include <QCommandLineParser>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Aduplan"));
    QApplication::setApplicationVersion(Workspace::version());
    QApplication::setFont(WindowGeometry::windowFont());
    installSpanishTranslation();

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Aduplan"));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption homeOption(QStringLiteral("home"),
                                        QStringLiteral("Carpeta de datos de Aduplan."),
                                        QStringLiteral("DIR"));
    parser.addOption(homeOption);
    parser.process(app);

    QtOperatorDialogs dialogs;
    frmMain window(Workspace::resolveHome(parser.value(homeOption)), dialogs);
    dialogs.attach(window, window.workspace());
    if (!window.load())
        return 1;
    window.show();
    return QApplication::exec();
}
