// lexora-dict: creates, describes, fills, exports and checks Lexora dictionary files from the command line.
// Exit status: 0 done, 1 the operation failed (file missing, damaged, unwritable) or an import refused a line,
// 2 the command line was wrong. Only the engine opens a dictionary file.

#include "prediction.h"
#include "typingsimulation.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QSet>
#include <QStringDecoder>
#include <QTextStream>

#include <QTemporaryFile>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <unistd.h>
#include <vector>

namespace {

enum ExitCode
{
    Success = 0,
    Failure = 1,
    UsageError = 2
};

constexpr int MaximumWordLength = 64;

// The standard output, written without a buffer of its own, so that a failed write (a full disk, a closed
// pipe) is seen with its reason at the latest when the text stream is flushed.
QFile &standardOutput()
{
    static QFile file;
    if (!file.isOpen())
        file.open(STDOUT_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered);
    return file;
}

QTextStream &out()
{
    static QTextStream stream(&standardOutput());
    return stream;
}

QTextStream &err()
{
    static QTextStream stream(stderr);
    return stream;
}

int fail(const QString &message, int code = Failure)
{
    out().flush();
    err() << "lexora-dict: " << message << Qt::endl;
    return code;
}

// What every command ends with: whatever it wrote to the standard output must have arrived.
int finish(int status)
{
    out().flush();
    QFile &file = standardOutput();
    if (file.error() == QFileDevice::NoError && out().status() == QTextStream::Ok)
        return status;
    const QString reason = file.errorString();
    file.unsetError();
    out().resetStatus();
    err() << "lexora-dict: cannot write to the standard output: " << reason << Qt::endl;
    return status == UsageError ? status : Failure;
}

// The name "-" stands for the standard input, as in other Unix tools.
bool isStandardInput(const QString &name)
{
    return name == QLatin1String("-");
}

QString inputName(const QString &name)
{
    return isStandardInput(name) ? QStringLiteral("the standard input") : name;
}

// A file opened to read, or the standard input, and the device to read it from.
struct Input
{
    QFile file;
    std::unique_ptr<QTemporaryFile> spool;
    QFileDevice *device = nullptr; // the file, or its spooled copy
};

// Opens a file to read, or the standard input for "-". Input that cannot be read twice (a pipe, a FIFO, a
// terminal) is first copied whole into a temporary file, so that it is read to its end however slowly it
// arrives, and can be read again. False with *error.
bool openInput(const QString &name, Input *input, QString *error)
{
    QFile &file = input->file;
    const bool opened = isStandardInput(name) ? file.open(STDIN_FILENO, QIODevice::ReadOnly)
                                              : (file.setFileName(name), file.open(QIODevice::ReadOnly));
    if (!opened) {
        *error = file.errorString();
        return false;
    }
    input->device = &file;
    if (!file.isSequential())
        return true;
    input->spool = std::make_unique<QTemporaryFile>();
    QTemporaryFile &spool = *input->spool;
    if (!spool.open()) {
        *error = QStringLiteral("no temporary file to hold it: %1").arg(spool.errorString());
        return false;
    }
    QByteArray buffer(1 << 16, Qt::Uninitialized);
    for (;;) {
        const qint64 got = file.read(buffer.data(), buffer.size());
        if (got < 0) {
            *error = file.errorString();
            return false;
        }
        if (got == 0)
            break;
        if (spool.write(buffer.constData(), got) != got) {
            *error = QStringLiteral("no room for a temporary copy: %1").arg(spool.errorString());
            return false;
        }
    }
    if (!spool.flush() || !spool.seek(0)) {
        *error = spool.errorString();
        return false;
    }
    input->device = &spool;
    return true;
}

QString varietyName(const Dictionary *dictionary)
{
    if (dictionary->isUK())
        return QStringLiteral("British");
    if (dictionary->isCanadian())
        return QStringLiteral("Canadian");
    return QStringLiteral("American");
}

DictionaryReference openOrFail(const QString &path, int *status)
{
    QString error;
    DictionaryReference dictionary = Prediction::openDictionary(path, &error);
    if (dictionary == 0)
        *status = fail(error.isEmpty() ? QStringLiteral("cannot open \"%1\"").arg(path) : error);
    return dictionary;
}

int createCommand(const QStringList &args, const QCommandLineParser &parser)
{
    if (args.size() != 1)
        return fail(QStringLiteral("create needs one FILE"), UsageError);
    if (!parser.isSet(QStringLiteral("name")) || parser.value(QStringLiteral("name")).trimmed().isEmpty())
        return fail(QStringLiteral("create needs --name NAME, the name the editor shows"), UsageError);
    const QString varietyText = parser.value(QStringLiteral("variety")).toLower();
    Prediction::Variety variety;
    if (varietyText == QLatin1String("american"))
        variety = Prediction::American;
    else if (varietyText == QLatin1String("british"))
        variety = Prediction::British;
    else if (varietyText == QLatin1String("canadian"))
        variety = Prediction::Canadian;
    else
        return fail(QStringLiteral("unknown variety \"%1\": use american, british or canadian").arg(varietyText),
                    UsageError);
    int threshold = Prediction::DefaultLetterGroupThreshold;
    if (parser.isSet(QStringLiteral("letter-groups"))) {
        bool ok = false;
        threshold = parser.value(QStringLiteral("letter-groups")).toInt(&ok);
        if (!ok || threshold < 0)
            return fail(QStringLiteral("--letter-groups takes a number of words (0: never by letter group)"),
                        UsageError);
    }
    QString error;
    DictionaryReference dictionary =
        Prediction::createDictionary(args.at(0), parser.value(QStringLiteral("name")), variety, &error, threshold);
    if (dictionary == 0)
        return fail(error);
    out() << "Created " << args.at(0) << " (\"" << dictionary->displayName() << "\", " << varietyName(dictionary.get())
          << ")" << Qt::endl;
    return Success;
}

int infoCommand(const QStringList &args)
{
    if (args.size() != 1)
        return fail(QStringLiteral("info needs one FILE"), UsageError);
    int status = Success;
    DictionaryReference dictionary = openOrFail(args.at(0), &status);
    if (dictionary == 0)
        return status;
    const int threshold = dictionary->letterGroupThreshold();
    out() << "File: " << QFileInfo(args.at(0)).absoluteFilePath() << "\n"
          << "Name: " << dictionary->displayName() << "\n"
          << "Variety: " << varietyName(dictionary.get()) << "\n"
          << "Words: " << dictionary->wordCount() << "\n"
          << "UK grammar: " << (dictionary->isUKGrammar() ? "yes" : "no") << "\n"
          << "Letter-group threshold: " << (threshold == 0 ? QStringLiteral("0 (never)") : QString::number(threshold))
          << "\n"
          << "Read-only: " << (dictionary->isReadOnly() ? "yes" : "no") << Qt::endl;
    return Success;
}

// Why a word cannot go into a dictionary, or an empty string when it can.
QString refusal(const QString &word)
{
    if (word.isEmpty())
        return QStringLiteral("no word on the line");
    if (word.toUcs4().size() > MaximumWordLength)
        return QStringLiteral("the word is longer than %1 characters").arg(MaximumWordLength);
    for (const QChar c : word) {
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            return QStringLiteral("the word holds a control character");
    }
    return QString();
}

// One line of a word list: the word and its frequency (0 when none is given), or why the line is refused.
// A blank line gives neither.
struct ListLine
{
    QString word;
    int frequency = 0;
    QString refusal;
};

ListLine parseListLine(QByteArray bytes, int lineNumber)
{
    ListLine result;
    if (bytes.endsWith('\n'))
        bytes.chop(1);
    // Most lines of a word list are a plain ASCII word: take them without decoding.
    if (!bytes.isEmpty() && bytes.size() <= MaximumWordLength && bytes.at(0) > ' ' && bytes.back() > ' ' &&
        std::all_of(bytes.cbegin(), bytes.cend(), [](char c) { return c >= ' ' && c < 127; })) {
        result.word = QString::fromLatin1(bytes);
        return result;
    }
    if (lineNumber == 1 && bytes.startsWith("\xef\xbb\xbf"))
        bytes.remove(0, 3); // a byte order mark is no part of the first word
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString line = decoder.decode(bytes);
    if (decoder.hasError()) {
        result.refusal = QStringLiteral("line %1: the line is not valid UTF-8 text").arg(lineNumber);
        return result;
    }
    if (line.endsWith(QLatin1Char('\r')))
        line.chop(1);
    if (line.trimmed().isEmpty() && !line.contains(QLatin1Char('\t')))
        return result; // blank lines separate nothing and are not words
    const int tab = int(line.indexOf(QLatin1Char('\t')));
    result.word = (tab < 0 ? line : line.left(tab)).trimmed();
    if (tab >= 0) {
        bool ok = false;
        const QString field = line.mid(tab + 1).trimmed();
        result.frequency = field.toInt(&ok);
        if (!result.word.isEmpty() && (!ok || result.frequency < 1 || result.frequency > 31)) {
            result.refusal = QStringLiteral("line %1: \"%2\": the frequency \"%3\" is not a whole number from 1 to 31")
                                 .arg(lineNumber)
                                 .arg(result.word, field);
            return result;
        }
    }
    const QString why = refusal(result.word);
    if (!why.isEmpty())
        result.refusal = QStringLiteral("line %1: %2").arg(lineNumber).arg(why);
    return result;
}

int importCommand(const QStringList &args, const QCommandLineParser &parser)
{
    if (args.size() != 2)
        return fail(QStringLiteral("import needs FILE and LIST"), UsageError);
    const QString grammar = parser.value(QStringLiteral("grammar"));
    if (grammar != QLatin1String("basic") && grammar != QLatin1String("advanced"))
        return fail(QStringLiteral("unknown grammar mode \"%1\": use basic or advanced").arg(grammar), UsageError);
    const bool guessCodes = !parser.isSet(QStringLiteral("unknown"));
    const bool verbose = parser.isSet(QStringLiteral("verbose"));

    Input input;
    QString readError;
    const QString listName = inputName(args.at(1));
    if (!openInput(args.at(1), &input, &readError))
        return fail(QStringLiteral("cannot read the word list \"%1\": %2").arg(listName, readError));
    QFileDevice &list = *input.device;
    int status = Success;
    DictionaryReference dictionary = openOrFail(args.at(0), &status);
    if (dictionary == 0)
        return status;
    if (dictionary->isReadOnly())
        return fail(QStringLiteral("\"%1\" is read-only; nothing was imported").arg(args.at(0)));
    QString error;
    if (!dictionary->lockForEditing(&error))
        return fail(error + QStringLiteral(" Nothing was imported."));
    DictionaryReference::setEditPreferences(grammar == QLatin1String("advanced") ? QStringLiteral("advanced_grammar")
                                                                                 : QStringLiteral("basic_grammar"));
    dictionary->begin_edit();

    int added = 0;
    QList<QPair<int, QString>> present; // lines whose word the dictionary already holds
    QStringList refused;
    // Every line but perhaps the last ends in a line break, so only the end of the input reads as nothing.
    QByteArray bytes;
    for (int lineNumber = 1; !(bytes = list.readLine()).isEmpty(); ++lineNumber) {
        const ListLine line = parseListLine(bytes, lineNumber);
        if (!line.refusal.isEmpty()) {
            refused << line.refusal;
        } else if (line.word.isEmpty()) {
            continue;
        } else if (dictionary->importWord(line.word, line.frequency, guessCodes)) {
            ++added;
            if (verbose)
                out() << "line " << lineNumber << ": added \"" << line.word << "\"\n";
        } else if (dictionary->contains(line.word)) {
            present.append({lineNumber, line.word});
        } else {
            refused << QStringLiteral("line %1: \"%2\": the dictionary does not accept this word")
                           .arg(lineNumber)
                           .arg(line.word);
        }
    }

    if (list.error() != QFileDevice::NoError)
        return fail(QStringLiteral("cannot read the word list \"%1\": %2; nothing was imported")
                        .arg(listName, list.errorString()));
    if (dictionary->isDirty() && dictionary->save() != 0)
        return fail(
            QStringLiteral("could not save \"%1\": %2; nothing was imported").arg(args.at(0), dictionary->lastError()));

    // A word met before in the list repeats that line, unless that line found it in the dictionary already.
    QHash<QString, int> firstLine;
    for (const auto &[lineNumber, word] : std::as_const(present))
        firstLine.insert(word, 0);
    if (!firstLine.isEmpty() && list.seek(0)) {
        for (int lineNumber = 1; !(bytes = list.readLine()).isEmpty(); ++lineNumber) {
            const ListLine line = parseListLine(bytes, lineNumber);
            if (!line.refusal.isEmpty())
                continue;
            auto it = firstLine.find(line.word);
            if (it != firstLine.end() && *it == 0)
                *it = lineNumber;
        }
    }
    QSet<int> presentLines;
    for (const auto &[lineNumber, word] : std::as_const(present))
        presentLines.insert(lineNumber);
    out() << "Imported " << listName << " into " << args.at(0) << ": " << added << " added, " << present.size()
          << " skipped (already present or repeated), " << refused.size() << " refused\n";
    for (const auto &[lineNumber, word] : std::as_const(present)) {
        const int first = firstLine.value(word);
        if (first == 0 || first == lineNumber || presentLines.contains(first))
            out() << "skipped line " << lineNumber << ": \"" << word << "\" is already in the dictionary\n";
        else
            out() << "skipped line " << lineNumber << ": \"" << word << "\" repeats line " << first << " of the list\n";
    }
    for (const QString &r : std::as_const(refused))
        out() << "refused " << r << "\n";
    return refused.isEmpty() ? Success : Failure;
}

// Writes text to OUT (never over the dictionary itself, under any name or link) or to the standard output.
int writeOutput(Dictionary *dictionary, const QStringList &args, const std::function<bool(QIODevice *)> &write)
{
    if (args.size() == 1) {
        out().flush();
        QFile &file = standardOutput();
        if (!write(&file) || file.error() != QFileDevice::NoError) {
            const QString reason = file.errorString();
            file.unsetError();
            return fail(QStringLiteral("cannot write to the standard output: %1").arg(reason));
        }
        return Success;
    }
    const QString target = args.at(1);
    if (dictionary->isFileOf(target))
        return fail(QStringLiteral("\"%1\" is the dictionary itself; choose another file to write to").arg(target));
    // Unbuffered, so that a failed write is seen at once with its reason.
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fail(QStringLiteral("cannot write \"%1\": %2").arg(target, file.errorString()));
    if (!write(&file)) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return fail(QStringLiteral("cannot write \"%1\": %2").arg(target, reason));
    }
    if (!file.commit())
        return fail(QStringLiteral("cannot write \"%1\": %2").arg(target, file.errorString()));
    return Success;
}

// export and dump: FILE written to OUT or to the standard output.
int writeCommand(const QStringList &args, const QString &name, const char *verb,
                 const std::function<bool(Dictionary *, QIODevice *)> &write)
{
    if (args.size() != 1 && args.size() != 2)
        return fail(QStringLiteral("%1 needs FILE and, optionally, OUT").arg(name), UsageError);
    int status = Success;
    DictionaryReference dictionary = openOrFail(args.at(0), &status);
    if (dictionary == 0)
        return status;
    status = writeOutput(dictionary.get(), args, [&](QIODevice *device) { return write(dictionary.get(), device); });
    if (status == Success && args.size() == 2)
        out() << verb << " " << dictionary->wordCount() << " words to " << args.at(1) << Qt::endl;
    return status;
}

bool writeWordList(Dictionary *dictionary, QIODevice *device)
{
    QByteArray text;
    for (const QString &word : dictionary->allWords())
        text += word.toUtf8() + '\n';
    return device->write(text) == text.size();
}

int loadCommand(const QStringList &args)
{
    if (args.size() != 2)
        return fail(QStringLiteral("load needs FILE and DUMP"), UsageError);
    Input dump;
    QString error;
    const QString dumpName = inputName(args.at(1));
    if (!openInput(args.at(1), &dump, &error))
        return fail(QStringLiteral("cannot read the dump \"%1\": %2").arg(dumpName, error));
    DictionaryReference dictionary = Prediction::loadDump(args.at(0), dump.device, &error);
    if (dictionary == 0)
        return fail(QStringLiteral("%1: %2").arg(dumpName, error));
    out() << "Loaded " << dictionary->wordCount() << " words into " << args.at(0) << Qt::endl;
    return Success;
}

int checkCommand(const QStringList &args)
{
    if (args.size() != 1)
        return fail(QStringLiteral("check needs one FILE"), UsageError);
    const QString path = args.at(0);
    const DictionaryCheck check = Prediction::checkDictionary(path);
    if (!check.ok) {
        // A file that is missing, locked or no dictionary at all is not called damaged.
        out() << path << (check.damaged ? ": damaged\n" : ": cannot be checked\n");
        for (const QString &problem : check.problems)
            out() << "  " << problem << "\n";
        return Failure;
    }
    out() << path << ": ok, " << check.wordCount << " words\n";
    for (const QString &note : check.notes)
        out() << "  " << note << "\n";
    return Success;
}

int simulateCommand(const QStringList &args, const QCommandLineParser &parser)
{
    if (args.size() != 2)
        return fail(QStringLiteral("simulate needs FILE and TEXT"), UsageError);
    bool ok = false;
    const int offers = parser.value(QStringLiteral("offers")).toInt(&ok);
    if (!ok || offers < 1 || offers > 100)
        return fail(QStringLiteral("--offers must be a number from 1 to 100; see lexora-dict --help"), UsageError);
    int status = Success;
    DictionaryReference dictionary = openOrFail(args.at(0), &status);
    if (dictionary == 0)
        return status;
    Input input;
    QString error;
    const QString textName = inputName(args.at(1));
    if (!openInput(args.at(1), &input, &error))
        return fail(QStringLiteral("cannot read the text \"%1\": %2").arg(textName, error));
    const QString text = QString::fromUtf8(input.device->readAll());
    const bool context = !parser.isSet(QStringLiteral("frequency-only"));
    const TypingSimulation::Result result = TypingSimulation::run(dictionary.get(), text, offers, context);
    out() << "Keystroke savings: " << QString::number(result.savings(), 'f', 1) << " % (" << result.keys << " keys for "
          << result.characters << " characters, " << offers << " offers" << (context ? "" : ", frequency only")
          << ")\n";
    out() << "Words typed: " << result.words << "\n";
    out() << "Found before their first letter: " << QString::number(result.foundBeforeTypingShare(), 'f', 1) << " %\n";
    return Success;
}

// The commands, in the order the help lists them.
struct Command
{
    const char *name;
    std::function<int(const QStringList &, const QCommandLineParser &)> run;
};

const std::vector<Command> &commands()
{
    static const std::vector<Command> table = {
        {"create", createCommand},
        {"info", [](const QStringList &args, const QCommandLineParser &) { return infoCommand(args); }},
        {"import", importCommand},
        {"export",
         [](const QStringList &args, const QCommandLineParser &) {
             return writeCommand(args, QStringLiteral("export"), "Exported", writeWordList);
         }},
        {"dump",
         [](const QStringList &args, const QCommandLineParser &) {
             return writeCommand(args, QStringLiteral("dump"), "Dumped",
                                 [](Dictionary *dictionary, QIODevice *device) { return dictionary->dump(device); });
         }},
        {"load", [](const QStringList &args, const QCommandLineParser &) { return loadCommand(args); }},
        {"check", [](const QStringList &args, const QCommandLineParser &) { return checkCommand(args); }},
        {"simulate", simulateCommand},
    };
    return table;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("lexora-dict"));
    QCoreApplication::setApplicationVersion(QStringLiteral(LEXORA_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Creates, describes, fills, exports, dumps, loads and checks Lexora dictionaries, and measures their\n"
        "prediction.\n\n"
        "Commands:\n"
        "  create FILE --name NAME [--variety american|british|canadian] [--letter-groups N]\n"
        "                      Creates a new, empty dictionary; never replaces a file.\n"
        "  info FILE           Shows the name, variety, word count, UK grammar and letter-group threshold.\n"
        "  import FILE LIST    Adds the words of LIST (\"-\": the standard input): one word a line, optionally\n"
        "                      a tab and a frequency from 1 to 31. Reports what was added, skipped and\n"
        "                      refused, and saves once; exits with 1 when any line was refused. Waits for no\n"
        "                      editor: a dictionary open for editing elsewhere is refused.\n"
        "  export FILE [OUT]   Writes every word, one a line in UTF-8, to OUT or to the standard output.\n"
        "  dump FILE [OUT]     Writes every word with all its grammar as text (see the README) to OUT or to\n"
        "                      the standard output.\n"
        "  load FILE DUMP      Creates the dictionary FILE from a dump (\"-\": the standard input); never\n"
        "                      replaces a file.\n"
        "  check FILE          Checks the file's integrity; exits with 1 when it is damaged or cannot be\n"
        "                      checked.\n"
        "  simulate FILE TEXT [--offers N] [--frequency-only]\n"
        "                      Types the text file TEXT (\"-\": the standard input) as a person using\n"
        "                      prediction would: each word letter by letter until it is among the N words\n"
        "                      offered (default 10), then picked with one key; spaces and punctuation are\n"
        "                      keys. Prints the keystroke savings, the words typed and the share of words\n"
        "                      offered before their first letter.\n\n"
        "Exit status: 0 done, 1 failed (or an import refused a line, or the output could not be written),\n"
        "2 the command line was wrong."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("command"),
                                 QStringLiteral("create, info, import, export, dump, load, check or simulate"));
    parser.addPositionalArgument(QStringLiteral("arguments"), QStringLiteral("the command's files"),
                                 QStringLiteral("[arguments...]"));
    parser.addOption(
        {QStringLiteral("name"), QStringLiteral("Display name of a new dictionary."), QStringLiteral("NAME")});
    parser.addOption({QStringLiteral("variety"), QStringLiteral("Variety of a new dictionary (default american)."),
                      QStringLiteral("VARIETY"), QStringLiteral("american")});
    parser.addOption({QStringLiteral("letter-groups"),
                      QStringLiteral("A new dictionary with more than N words is shown one letter group at a time "
                                     "(0: never; default 200000)."),
                      QStringLiteral("N")});
    parser.addOption({QStringLiteral("grammar"),
                      QStringLiteral("Grammar guesses for imported words: basic (one code) or advanced (one per part "
                                     "of speech); default basic."),
                      QStringLiteral("MODE"), QStringLiteral("basic")});
    parser.addOption({QStringLiteral("unknown"), QStringLiteral("Give imported words a single \"new\" code.")});
    parser.addOption({QStringLiteral("verbose"), QStringLiteral("List every added word.")});
    parser.addOption({QStringLiteral("offers"), QStringLiteral("Words offered at each key by simulate (default 10)."),
                      QStringLiteral("N"), QStringLiteral("10")});
    parser.addOption({QStringLiteral("frequency-only"),
                      QStringLiteral("Let simulate rank the offers by frequency alone, without the context.")});
    // parse() rather than process(), which would end a wrong command line with the status of a failure.
    if (!parser.parse(QCoreApplication::arguments())) {
        QString text = parser.errorText();
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
        return fail(text + QStringLiteral("; see lexora-dict --help"), UsageError);
    }
    if (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all")))
        parser.showHelp(Success);
    if (parser.isSet(QStringLiteral("version")))
        parser.showVersion();

    QStringList args = parser.positionalArguments();
    if (args.isEmpty())
        return fail(QStringLiteral("no command given; see lexora-dict --help"), UsageError);
    const QString command = args.takeFirst();
    for (const Command &entry : commands()) {
        if (command == QLatin1String(entry.name))
            return finish(entry.run(args, parser));
    }
    return fail(QStringLiteral("unknown command \"%1\"; see lexora-dict --help").arg(command), UsageError);
}
