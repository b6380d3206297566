#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QTimer>
#include <cstdio>
#include <cstring>

#include "app/demo.h"
#include "app/frameform.h"
#include "app/qtsettingsstore.h"
#include "styles/logfactory.h"
#include "version.h"

int main(int argc, char** argv)
{
    // --version must work without a display, so answer it before Qt looks for one.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("Tarvex %.*s\n", static_cast<int>(tarvex::Version().size()), tarvex::Version().data());
            return 0;
        }
    }
    QApplication app(argc, argv);
    QApplication::setOrganizationName("Quenmar");
    QApplication::setApplicationName("Tarvex");
    QApplication::setApplicationDisplayName("Tarvex");

    QCommandLineParser cmd;
    cmd.setApplicationDescription("Viewer and analyser of FidoNet mailer logs");
    cmd.addHelpOption();
    const QCommandLineOption settingsOpt("settings", "Keep the settings in this INI file instead of the user's.", "file");
    const QCommandLineOption demoOpt("demo", "Start on a demo desktop with sample logs (its own settings, in a scratch folder).");
    const QCommandLineOption styleOpt("style", "Style of LOGFILE: a style number or name (default Other).", "style");
    cmd.addOption(settingsOpt);
    cmd.addOption(demoOpt);
    cmd.addOption(styleOpt);
    cmd.addPositionalArgument("LOGFILE", "A log file to open without configuring it.");
    cmd.process(app);

    QString iniFile = cmd.value(settingsOpt);
    if (iniFile.isEmpty())
        iniFile = qEnvironmentVariable("TARVEX_SETTINGS");
    if (cmd.isSet(demoOpt)) {
        QString error;
        iniFile = PrepareDemo(QDir::tempPath() + "/tarvex-demo", &error);
        if (iniFile.isEmpty()) {
            std::fprintf(stderr, "tarvex: %s\n", qPrintable(error));
            return 1;
        }
    }
    int style = tarvex::lsOther;
    if (cmd.isSet(styleOpt)) {
        style = tarvex::ParseStyle(cmd.value(styleOpt).toStdString());
        if (style < 0) {
            std::fprintf(stderr, "tarvex: unknown style %s\n", qPrintable(cmd.value(styleOpt)));
            return 2;
        }
    }
    std::unique_ptr<tarvex::ISettingsStore> store;
    if (!iniFile.isEmpty())
        store = std::make_unique<TQtSettingsStore>(iniFile);
    TFrameForm frame(std::move(store));
    frame.show();
    const QStringList files = cmd.positionalArguments();
    if (!files.isEmpty()) {
        const std::string path = files.first().toStdString();
        QTimer::singleShot(0, &frame, [&frame, path, style] { frame.OpenUnconfigured(path, style); });
    }
    return app.exec();
}
