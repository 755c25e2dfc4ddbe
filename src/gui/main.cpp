// kib-gui: the desktop application. Opens the configuration files named on the
// command line, else the documents of the last run.
#include "gui/kib_app.h"
#include "gui/main_frame.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QSettings>

int main(int argc, char* argv[]) {
    Q_INIT_RESOURCE(kib_gui);
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Kib"));
    QApplication::setApplicationName(QStringLiteral("kib-gui"));
    QApplication::setApplicationVersion(QStringLiteral(KIB_VERSION_TEXT));
    QApplication::setDesktopFileName(QStringLiteral("kib"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/kib/kib.svg")));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Kib: TempO competition and solution maps from OCAD exports."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("files"),
                                 QStringLiteral("Configuration files (.cfg) to open."),
                                 QStringLiteral("[FILE.cfg...]"));
    parser.process(app);

    QSettings settings;
    kib::gui::CKibApp kibApp(settings);
    if (!kibApp.InitInstance(parser.positionalArguments())) {
        return 1;
    }
    return QApplication::exec();
}
