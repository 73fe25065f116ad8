// lexora-editor: opens dictionaries of the prediction engine in editor windows.

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <cstdio>

#include "dictionaryeditor.h"
#include "hostsession.h"
#include "hostsetup.h"
#include "hostwindowmanager.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("lexora-editor"));
    QApplication::setOrganizationName(QStringLiteral("Lexora"));
    QApplication::setApplicationVersion(QStringLiteral(LEXORA_VERSION));
    // The desktop entry and the icon installed with the program share this id.
    const QString id = QStringLiteral("org.lexora.DictionaryEditor");
    QGuiApplication::setDesktopFileName(id);
    QApplication::setWindowIcon(QIcon::fromTheme(id));
    // The windows hide rather than close; the window manager ends the application instead.
    QApplication::setQuitOnLastWindowClosed(false);
    HostSetup::apply();

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QApplication::tr("Views and edits dictionaries of the Lexora word-prediction engine, one window per "
                         "dictionary. Without a dictionary, opens your own dictionary."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption readOnly(QStringLiteral("read-only"),
                                      QApplication::tr("View the dictionaries without changing them."));
    const QCommandLineOption transferTo(QStringLiteral("transfer-to"),
                                        QApplication::tr("Offer Transfer, moving words into the dictionary <file>."),
                                        QStringLiteral("file"));
    const QCommandLineOption dev(QStringLiteral("dev"),
                                 QApplication::tr("Development mode: window titles show the dictionary's variety."));
    const QCommandLineOption advanced(
        QStringLiteral("advanced"),
        QApplication::tr(
            "Advanced mode: the details panel also edits usages, through its menus and its context menu."));
    parser.addOption(readOnly);
    parser.addOption(transferTo);
    parser.addOption(dev);
    parser.addOption(advanced);
    parser.addPositionalArgument(QStringLiteral("dictionary"),
                                 QApplication::tr("Dictionary files to open (default: your own dictionary)."),
                                 QStringLiteral("[dictionary...]"));
    parser.process(app);

    HostSession::Options options;
    options.paths = parser.positionalArguments();
    options.transferTo = parser.value(transferTo);
    options.writable = !parser.isSet(readOnly);
    if (parser.isSet(transferTo) && !options.writable) {
        std::fprintf(stderr, "%s\n",
                     qPrintable(QApplication::tr("--transfer-to moves words out of the dictionaries, so it cannot "
                                                 "be used with --read-only.")));
        return 1;
    }
    if (parser.isSet(dev))
        Prediction::setDevelopmentMode(true);
    if (parser.isSet(advanced))
        DictionaryEditor::setAdvancedDetails(true);

    HostSession session;
    if (!session.open(options))
        return 1;
    session.windows().showAll();
    return app.exec();
}
