// kib-gui: the desktop application. Opens the configuration files named on the
// command line, else the documents of the last run.
#include "gui/kib_app.h"
#include "gui/main_frame.h"
#include "sheet/product_info.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QSettings>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

// --help and --version answer without a window, so that they work without a
// display (the manual page is made from --help when the package is built).
bool AsksForTextOnly(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i) {
        for (const char* option : {"-h", "--help", "--help-all", "-v", "--version"}) {
            if (std::strcmp(argv[i], option) == 0) {
                return true;
            }
        }
    }
    return false;
}

} // namespace

int main(int argc, char* argv[]) {
    Q_INIT_RESOURCE(kib_gui);
    const bool textOnly = AsksForTextOnly(argc, argv);
    std::unique_ptr<QCoreApplication> app = textOnly
                                                ? std::make_unique<QCoreApplication>(argc, argv)
                                                : std::make_unique<QApplication>(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Kib"));
    QCoreApplication::setApplicationName(QStringLiteral("kib-gui"));
    QCoreApplication::setApplicationVersion(QString::fromStdString(kib::VersionText()));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Kib: TempO competition and solution maps from OCAD exports.\n"
                       "The desktop application: every configuration (.cfg) is a tab with a "
                       "preview of its sheets, a properties pane edits it, and the Make menu "
                       "makes the competition and solution maps."));
    parser.addHelpOption();
    const QCommandLineOption version(
        {QStringLiteral("v"), QStringLiteral("version")},
        QStringLiteral("Print the product name and version and exit."));
    parser.addOption(version);
    parser.addPositionalArgument(QStringLiteral("files"),
                                 QStringLiteral("Configuration files (.cfg) to open."),
                                 QStringLiteral("[FILE.cfg...]"));
    parser.process(*app);
    if (parser.isSet(version)) {
        // The same line as `kib --version`.
        std::printf("%s\n", kib::ProgramVersionLine().c_str());
        return 0;
    }
    if (textOnly) {
        parser.showHelp(0);
    }

    QGuiApplication::setDesktopFileName(QStringLiteral("kib"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/kib/kib.svg")));
    QSettings settings;
    kib::gui::CKibApp kibApp(settings);
    if (!kibApp.InitInstance(parser.positionalArguments())) {
        return 1;
    }
    return QApplication::exec();
}
