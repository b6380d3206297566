#include "app/startup.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QIcon>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <memory>

#include "app/demo.h"
#include "app/frameform.h"
#include "app/qtsettingsstore.h"
#include "styles/logfactory.h"

namespace {

// "--style NAME", "--style=NAME", and the one-dash forms Qt also accepts.
bool IsStyleOption(const char* a, const char** inlineValue)
{
    for (const char* name : {"--style", "-style"}) {
        const std::size_t n = std::strlen(name);
        if (std::strncmp(a, name, n) != 0)
            continue;
        if (a[n] == '\0') {
            *inlineValue = nullptr;
            return true;
        }
        if (a[n] == '=') {
            *inlineValue = a + n + 1;
            return true;
        }
    }
    return false;
}

}  // namespace

bool TakeOwnOptions(int& argc, char** argv, TOwnOptions& own, QString& error)
{
    int out = 1;
    for (int i = 1; i < argc; ++i) {
        const char* value = nullptr;
        if (std::strcmp(argv[i], "--") == 0) {
            // Everything after "--" is a file name, ours or not.
            for (; i < argc; ++i)
                argv[out++] = argv[i];
            break;
        }
        if (!IsStyleOption(argv[i], &value)) {
            argv[out++] = argv[i];
            continue;
        }
        if (!value) {
            if (i + 1 >= argc) {
                error = QString("%1 needs a log style (a number or a name)").arg(argv[i]);
                return false;
            }
            value = argv[++i];
        }
        // Refused here, before a display is needed, with the styles that would do.
        if (tarvex::ParseStyle(value) < 0) {
            error = QString("unknown style '%1' (%2)")
                        .arg(QString::fromLocal8Bit(value), QString::fromStdString(tarvex::StyleChoices()));
            return false;
        }
        own.StyleGiven = true;
        own.Style = QString::fromLocal8Bit(value);
    }
    argc = out;
    argv[out] = nullptr;
    return true;
}

int RunTarvex(int argc, char** argv, const std::function<void(TFrameForm&)>& started)
{
    TOwnOptions own;
    QString ownError;
    // Said before Qt looks for a display: a mistyped command line needs none.
    if (!TakeOwnOptions(argc, argv, own, ownError)) {
        std::fprintf(stderr, "tarvex: %s\n", qPrintable(ownError));
        return 2;
    }
    QApplication app(argc, argv);
    QApplication::setOrganizationName("Quenmar");
    // No display name: the window system would add it to every title, and the main window's
    // title already carries the name ("Tarvex - [log]" with a log window maximised).
    QApplication::setApplicationName("Tarvex");
    // The installed desktop entry's name, and its icon built into the program (so it shows
    // before the program is installed too).
    QGuiApplication::setDesktopFileName("org.quenmar.Tarvex");
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128})
        icon.addFile(QString(":/icons/%1.png").arg(size), QSize(size, size));
    QApplication::setWindowIcon(icon);

    QCommandLineParser cmd;
    cmd.setApplicationDescription("Viewer and analyser of FidoNet mailer logs");
    cmd.addHelpOption();
    const QCommandLineOption settingsOpt("settings", "Keep the settings in this INI file instead of the user's.", "file");
    const QCommandLineOption demoOpt("demo", "Start on a demo desktop with sample logs (its own settings, in a scratch folder).");
    // Taken out of argv before Qt saw it; listed here for --help.
    const QCommandLineOption styleOpt("style", "Style of LOGFILE: a style number or name (default Other).", "style");
    cmd.addOption(settingsOpt);
    cmd.addOption(demoOpt);
    // Answered by main before Qt starts; listed here for --help.
    const QCommandLineOption versionOpt("version", "Print the version and exit.");
    cmd.addOption(styleOpt);
    cmd.addOption(versionOpt);
    cmd.addPositionalArgument("LOGFILE", "Log files to open without configuring them, a window each.", "[LOGFILE...]");
    cmd.process(app);

    QString iniFile = cmd.value(settingsOpt);
    if (iniFile.isEmpty())
        iniFile = qEnvironmentVariable("TARVEX_SETTINGS");
    const QString demoFolder = QDir::tempPath() + "/tarvex-demo";
    if (cmd.isSet(demoOpt)) {
        QString error;
        iniFile = PrepareDemo(demoFolder, &error);
        if (iniFile.isEmpty()) {
            std::fprintf(stderr, "tarvex: %s\n", qPrintable(error));
            return 1;
        }
    }
    const int style = own.StyleGiven ? tarvex::ParseStyle(own.Style.toStdString()) : tarvex::lsOther;
    std::unique_ptr<tarvex::ISettingsStore> store;
    if (!iniFile.isEmpty())
        store = std::make_unique<TQtSettingsStore>(iniFile);
    TFrameForm frame(std::move(store));
    frame.UnconfiguredStyle = style;
    frame.show();
    // The demo's live station grows while the demo runs.
    if (cmd.isSet(demoOpt))
        (new TDemoLiveWriter(demoFolder, &frame))->Start();
    // A file manager hands over a whole selection: each file opens, in its own window.
    for (const QString& file : cmd.positionalArguments()) {
        const std::string path = file.toStdString();
        QTimer::singleShot(0, &frame, [&frame, path, style] { frame.OpenUnconfigured(path, style); });
    }
    if (started)
        started(frame);
    return app.exec();
}
