#include "platform/formsruntime.h"

#include "platform/translations.h"

#include <QCommandLineParser>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace zev {
namespace {

bool hasEnvironment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

bool platformNamed(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0) {
            return true;
        }
    }
    return false;
}

// Without a display Qt would abort with a long backtrace; one clear line serves better.
bool displayReachable(int argc, char** argv) {
    return hasEnvironment("QT_QPA_PLATFORM") || hasEnvironment("DISPLAY") ||
           hasEnvironment("WAYLAND_DISPLAY") || platformNamed(argc, argv);
}

void nameTheProgram() {
    QCoreApplication::setApplicationName(QStringLiteral("zev"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ZEV_VERSION));
}

// Qt's own options are single words after one dash (-platform), and so are these.
struct CommandLine {
    QCommandLineParser parser;
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")},
                            QStringLiteral("Show this help and end.")};
    QCommandLineOption version{{QStringLiteral("v"), QStringLiteral("version")},
                               QStringLiteral("Show the version and end.")};

    explicit CommandLine(const QStringList& arguments) {
        parser.setApplicationDescription(
            QStringLiteral("Edits the sheet of a role-playing character."));
        parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
        parser.addOption(help);
        parser.addOption(version);
        parser.addPositionalArgument(QStringLiteral("FILE"),
                                     QStringLiteral("A saved sheet, NAME.txt, to open; a new "
                                                    "sheet under that name if there is none."),
                                     QStringLiteral("[FILE]"));
        ok = parser.parse(arguments);
    }
    bool ok = false;
};

QStringList argumentsOf(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments.append(QString::fromLocal8Bit(argv[i]));
    }
    return arguments;
}

// Before the toolkit starts, which needs a display: only --help and --version are answered,
// since Qt's options are not yet told apart from wrong ones.
bool answeredAtOnce(int& argc, char** argv) {
    const CommandLine line(argumentsOf(argc, argv));
    if (!line.parser.isSet(line.help) && !line.parser.isSet(line.version)) {
        return false;
    }
    const QCoreApplication core(argc, argv); // names the program in the usage as it was started
    nameTheProgram();
    const QString answer = line.parser.isSet(line.help)
                               ? line.parser.helpText()
                               : QStringLiteral("zev %1\n").arg(QStringLiteral(ZEV_VERSION));
    std::fputs(answer.toLocal8Bit().constData(), stdout);
    return true;
}

// With the toolkit's options taken, what is left is ours: one file at most. Its bytes are
// those of the argument it was read from; beside it only "--" may be left, which reads as no
// file name could.
int namedFile(int argc, char** argv, std::optional<QByteArray>& file) {
    const CommandLine line(QCoreApplication::arguments());
    const QStringList files = line.parser.positionalArguments();
    const QString error = !line.ok           ? line.parser.errorText()
                          : files.size() > 1 ? QStringLiteral("only one FILE can be opened.")
                                             : QString();
    if (!error.isEmpty()) {
        const QString usage = QStringLiteral("zev: %1\n\n%2").arg(error, line.parser.helpText());
        std::fputs(usage.toLocal8Bit().constData(), stderr);
        return 2;
    }
    for (int i = argc - 1; i > 0 && !files.isEmpty(); --i) {
        if (QString::fromLocal8Bit(argv[i]) == files.first()) {
            file = QByteArray(argv[i]);
            break;
        }
    }
    return 0;
}

} // namespace

Startup startFormsRuntime(int& argc, char** argv) {
    Startup startup;
    if (answeredAtOnce(argc, argv)) {
        return startup;
    }
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    if (!displayReachable(argc, argv)) {
        std::fputs("zev: no display to open the window on (DISPLAY is not set); "
                   "try: xvfb-run -a zev\n",
                   stderr);
        startup.exitCode = 1;
        return startup;
    }
#endif
    auto app = std::make_unique<QApplication>(argc, argv);
    installQtTranslations(*app);
    nameTheProgram();
    QApplication::setDesktopFileName(QStringLiteral("zev"));
    startup.exitCode = namedFile(argc, argv, startup.file);
    if (startup.exitCode == 0) {
        startup.app = std::move(app);
    }
    return startup;
}

} // namespace zev
