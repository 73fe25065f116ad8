// lexora-editor: opens dictionaries of the prediction engine in editor windows.

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <cstdio>
#include <vector>

#include "advanceddetails.h"
#include "dictionaryeditor.h"
#include "dictionaryopener.h"
#include "hostmessage.h"
#include "hostwindowmanager.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("lexora-editor"));
    QApplication::setOrganizationName(QStringLiteral("Lexora"));
    QApplication::setApplicationVersion(QStringLiteral(LEXORA_VERSION));
    // The windows hide rather than close; the window manager ends the application instead.
    QApplication::setQuitOnLastWindowClosed(false);
    const QString platform = QGuiApplication::platformName();
    HostMessage::setInteractive(platform != QLatin1String("offscreen") && platform != QLatin1String("minimal"));

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

    const bool writable = !parser.isSet(readOnly);
    if (parser.isSet(transferTo) && !writable) {
        std::fprintf(stderr, "%s\n",
                     qPrintable(QApplication::tr("--transfer-to moves words out of the dictionaries, so it cannot "
                                                 "be used with --read-only.")));
        return 1;
    }
    if (parser.isSet(dev))
        Prediction::setDevelopmentMode(true);
    if (parser.isSet(advanced))
        AdvancedDetails::installInEveryWindow();

    QStringList paths = parser.positionalArguments();
    QString error;
    if (paths.isEmpty()) {
        const QString personal = DictionaryOpener::personalDictionary(&error);
        if (personal.isEmpty()) {
            HostMessage::error(error);
            return 1;
        }
        paths << personal;
    }

    // The opener holds the lock files; it outlives the windows, which the manager deletes first.
    DictionaryOpener opener;
    DictionaryReference target;
    if (parser.isSet(transferTo)) {
        target = opener.open(parser.value(transferTo), true, &error);
        if (target == 0) {
            HostMessage::error(error);
            return 1;
        }
        if (target->isReadOnly()) {
            HostMessage::error(QApplication::tr("The dictionary \"%1\" is read-only, so no word can be transferred "
                                                "into it.")
                                   .arg(QDir::toNativeSeparators(parser.value(transferTo))));
            return 1;
        }
    }

    std::vector<DictionaryReference> dictionaries;
    for (const QString &path : paths) {
        DictionaryReference dictionary = opener.open(path, writable, &error);
        if (dictionary == 0) {
            HostMessage::error(error);
            return 1;
        }
        if (target != 0 && dictionary == target) {
            HostMessage::error(QApplication::tr("The dictionary \"%1\" cannot transfer words into itself.")
                                   .arg(QDir::toNativeSeparators(path)));
            return 1;
        }
        bool known = false;
        for (const DictionaryReference &open : dictionaries)
            known = known || open == dictionary;
        if (!known)
            dictionaries.push_back(dictionary);
    }

    HostWindowManager windows;
    for (const DictionaryReference &dictionary : dictionaries) {
        bool editable = writable;
        if (editable && dictionary->isReadOnly()) {
            HostMessage::warning(QApplication::tr("The dictionary \"%1\" is read-only; it opens for viewing only.")
                                     .arg(QDir::toNativeSeparators(dictionary->path())));
            editable = false;
        }
        windows.addWindow(dictionary, editable);
    }
    if (target != 0)
        windows.setTransferTo(target);
    windows.showAll();
    return app.exec();
}
