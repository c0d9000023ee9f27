#include "platform/formsruntime.h"

#include "platform/translations.h"

#include <QApplication>
#include <QCommandLineParser>

#include <cstdio>
#include <cstdlib>

namespace zev {
namespace {

bool hasEnvironment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

void nameTheProgram() {
    QCoreApplication::setApplicationName(QStringLiteral("zev"));
    QCoreApplication::setApplicationVersion(programVersion());
}

// The options Qt's application objects take for themselves, with a value or without; known
// here so that the whole command line is checked before a display is looked for.
constexpr const char* kQtOptionsWithValue[] = {"platform",        "platformpluginpath",
                                               "platformtheme",   "plugin",
                                               "qwindowgeometry", "geometry",
                                               "qwindowtitle",    "title",
                                               "qwindowicon",     "icon",
                                               "display",         "name",
                                               "session",         "style",
                                               "stylesheet",      "qmljsdebugger"};
constexpr const char* kQtSwitches[] = {"reverse",     "nograb", "dograb",
                                       "widgetcount", "sync",   "testability"};

QCommandLineOption qtOption(const char* name, bool takesValue) {
    QCommandLineOption option(QString::fromLatin1(name));
    if (takesValue) {
        option.setValueName(QStringLiteral("value"));
    }
    option.setFlags(QCommandLineOption::HiddenFromHelp);
    return option;
}

// Qt's own options are single words after one dash (-platform), and so are these.
struct CommandLine {
    QCommandLineParser parser;
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")},
                            QStringLiteral("Show this help and end.")};
    QCommandLineOption version{{QStringLiteral("v"), QStringLiteral("version")},
                               QStringLiteral("Show the version and end.")};
    QCommandLineOption pdf{QStringLiteral("pdf"),
                           QStringLiteral("Write the page of each FILE, or of a fresh sheet, to "
                                          "OUT.pdf instead of opening the window."),
                           QStringLiteral("OUT.pdf")};
    QCommandLineOption paper{QStringLiteral("paper"),
                             QStringLiteral("The PDF's paper: a4 or letter (default: as the "
                                            "locale measures)."),
                             QStringLiteral("a4|letter")};

    explicit CommandLine(const QStringList& arguments) {
        parser.setApplicationDescription(
            QStringLiteral("Edits the sheet of a role-playing character. In the window, Ctrl+P "
                           "prints the sheet."));
        parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
        parser.addOptions({help, version, pdf, paper});
        for (const char* name : kQtOptionsWithValue) {
            parser.addOption(qtOption(name, true));
        }
        for (const char* name : kQtSwitches) {
            parser.addOption(qtOption(name, false));
        }
        parser.addPositionalArgument(
            QStringLiteral("FILE"),
            QStringLiteral("A saved sheet, NAME.txt, to open; a new sheet under that name if "
                           "there is none. With --pdf, the sheets to put on paper."),
            QStringLiteral("[FILE...]"));
        ok = parser.parse(arguments);
    }

    // What is wrong with the command line; empty when nothing is.
    [[nodiscard]] QString error() const {
        if (!ok) {
            return parser.errorText();
        }
        const QStringList files = parser.positionalArguments();
        if (!parser.isSet(pdf)) {
            return parser.isSet(paper) ? QStringLiteral("--paper is for --pdf only.")
                   : files.size() > 1  ? QStringLiteral("only one FILE can be opened; several "
                                                         "are for --pdf only.")
                                       : QString();
        }
        if (!parser.value(pdf).endsWith(QLatin1StringView(".pdf"))) {
            return QStringLiteral("the PDF's name must end in .pdf.");
        }
        if (parser.isSet(paper) && !paperSize()) {
            return QStringLiteral("--paper takes a4 or letter.");
        }
        return {};
    }

    [[nodiscard]] std::optional<QPageSize::PageSizeId> paperSize() const {
        const QString name = parser.value(paper).toLower();
        if (name == QLatin1StringView("a4")) {
            return QPageSize::A4;
        }
        if (name == QLatin1StringView("letter")) {
            return QPageSize::Letter;
        }
        return std::nullopt;
    }

    bool ok = false;
};

// Without a display Qt would abort with a long backtrace; one clear line serves better.
bool displayReachable(const CommandLine& line) {
    return hasEnvironment("QT_QPA_PLATFORM") || hasEnvironment("DISPLAY") ||
           hasEnvironment("WAYLAND_DISPLAY") || line.parser.isSet(QStringLiteral("platform"));
}

QStringList argumentsOf(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments.append(QString::fromLocal8Bit(argv[i]));
    }
    return arguments;
}

// The bytes of the arguments read as these texts, in order. A name is opened by the bytes it
// was given as, and a text that decodes alike from two arguments came from the same bytes
// unless it cannot be spelt in the locale, which opening refuses.
QList<QByteArray> spelt(const QStringList& texts, int argc, char** argv) {
    QList<QByteArray> bytes;
    int next = 1;
    for (const QString& text : texts) {
        while (next < argc && QString::fromLocal8Bit(argv[next]) != text) {
            ++next;
        }
        bytes.append(next < argc ? QByteArray(argv[next++]) : text.toLocal8Bit());
    }
    return bytes;
}

// The usage names the program as it was started, which takes an application object; one
// without a platform serves and needs no display.
void sayAtOnce(const CommandLine& line, int& argc, char** argv, const QString& error) {
    const QCoreApplication core(argc, argv);
    nameTheProgram();
    if (!error.isEmpty()) {
        const QString usage = QStringLiteral("zev: %1\n\n%2").arg(error, line.parser.helpText());
        std::fputs(usage.toLocal8Bit().constData(), stderr);
        return;
    }
    const QString answer = line.parser.isSet(line.help)
                               ? line.parser.helpText()
                               : QStringLiteral("zev %1\n").arg(programVersion());
    std::fputs(answer.toLocal8Bit().constData(), stdout);
}

PdfRequest pdfRequest(const CommandLine& line, int argc, char** argv) {
    PdfRequest request;
    request.out = spelt({line.parser.value(line.pdf)}, argc, argv).constFirst();
    request.sheets = spelt(line.parser.positionalArguments(), argc, argv);
    if (line.parser.isSet(line.paper)) {
        request.paper = line.paperSize();
    }
    return request;
}

} // namespace

QString programVersion() { return QStringLiteral(ZEV_VERSION); }

QString programCreator() { return QStringLiteral("ZEV ") + programVersion(); }

Startup startFormsRuntime(int& argc, char** argv) {
    Startup startup;
    const CommandLine line(argumentsOf(argc, argv));
    const QString error = line.error();
    const bool help = line.parser.isSet(line.help);
    if (help || line.parser.isSet(line.version) || !error.isEmpty()) {
        sayAtOnce(line, argc, argv, help ? QString() : error);
        startup.exitCode = help || error.isEmpty() ? 0 : 2;
        return startup;
    }
    if (line.parser.isSet(line.pdf)) {
        // A page is drawn the same with or without a display, and never needs one.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        startup.pdf = pdfRequest(line, argc, argv);
        startup.app = std::make_unique<QGuiApplication>(argc, argv);
        nameTheProgram();
        return startup;
    }
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    if (!displayReachable(line)) {
        std::fputs("zev: no display to open the window on (DISPLAY is not set); "
                   "try: xvfb-run -a zev\n",
                   stderr);
        startup.exitCode = 1;
        return startup;
    }
#endif
    const QStringList files = line.parser.positionalArguments();
    if (!files.isEmpty()) {
        startup.file = spelt(files, argc, argv).constFirst();
    }
    auto app = std::make_unique<QApplication>(argc, argv);
    installQtTranslations(*app);
    startup.app = std::move(app);
    nameTheProgram();
    QApplication::setDesktopFileName(QStringLiteral("zev"));
    return startup;
}

} // namespace zev
