// lexora-dict: creates, describes, fills, exports and checks Lexora dictionary files from the command line.
// Exit status: 0 done, 1 the operation failed (file missing, damaged, unwritable), 2 the command line was wrong.

#include "prediction.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>
#include <QStringDecoder>
#include <QTextStream>

#include <sqlite3.h>

#include <cstdio>

namespace {

enum ExitCode
{
    Success = 0,
    Failure = 1,
    UsageError = 2
};

constexpr int MaximumWordLength = 64;

QTextStream &out()
{
    static QTextStream stream(stdout);
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

// Read-only SQLite access for what the engine does not expose: settings and the file's integrity.
class RawDatabase
{
public:
    explicit RawDatabase(const QString &path)
    {
        if (sqlite3_open_v2(QFile::encodeName(path).constData(), &m_db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
            m_error = m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QStringLiteral("out of memory");
    }
    ~RawDatabase() { sqlite3_close(m_db); }
    RawDatabase(const RawDatabase &) = delete;
    RawDatabase &operator=(const RawDatabase &) = delete;

    bool isOpen() const { return m_error.isEmpty(); }
    QString error() const { return m_error; }

    /// The rows of a query, each row's columns joined by a tab; false with error() set on failure.
    bool query(const char *sql, QStringList *rows)
    {
        rows->clear();
        sqlite3_stmt *statement = nullptr;
        if (sqlite3_prepare_v2(m_db, sql, -1, &statement, nullptr) != SQLITE_OK) {
            m_error = QString::fromUtf8(sqlite3_errmsg(m_db));
            sqlite3_finalize(statement);
            return false;
        }
        int rc;
        while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
            QStringList columns;
            for (int i = 0; i < sqlite3_column_count(statement); ++i)
                columns << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement, i)));
            rows->append(columns.join(QLatin1Char('\t')));
        }
        if (rc != SQLITE_DONE)
            m_error = QString::fromUtf8(sqlite3_errmsg(m_db));
        sqlite3_finalize(statement);
        return rc == SQLITE_DONE;
    }

    QString metaValue(const QString &key)
    {
        QStringList rows;
        if (!query("SELECT key, value FROM meta", &rows))
            return QString();
        for (const QString &row : std::as_const(rows)) {
            if (row.section(QLatin1Char('\t'), 0, 0) == key)
                return row.section(QLatin1Char('\t'), 1);
        }
        return QString();
    }

private:
    sqlite3 *m_db = nullptr;
    QString m_error;
};

// Every word of the dictionary, in the engine's order, whatever the letter-group setting.
QStringList allWords(Dictionary *dictionary)
{
    dictionary->setSelectionRule(QStringLiteral("all words"));
    dictionary->setMinimumFreq(0);
    dictionary->setMaximumFreq(31);
    if (!dictionary->displayByLetterGroup())
        return dictionary->wordList();
    // Letter groups split the list; collect the group of every first letter the file holds.
    QStringList words;
    RawDatabase db(dictionary->path());
    QStringList initials;
    if (db.isOpen())
        db.query("SELECT DISTINCT substr(text, 1, 1) FROM words", &initials);
    QSet<QString> seen;
    for (const QString &initial : std::as_const(initials)) {
        dictionary->setLetterGroup(initial);
        for (const QString &word : dictionary->wordList()) {
            if (!seen.contains(word)) {
                seen.insert(word);
                words << word;
            }
        }
    }
    std::sort(words.begin(), words.end(), [](const QString &a, const QString &b) {
        const int c = QString::compare(a, b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
    return words;
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
    if (word.size() > MaximumWordLength)
        return QStringLiteral("the word is longer than %1 characters").arg(MaximumWordLength);
    for (const QChar c : word) {
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            return QStringLiteral("the word holds a control character");
    }
    return QString();
}

int importCommand(const QStringList &args, const QCommandLineParser &parser)
{
    if (args.size() != 2)
        return fail(QStringLiteral("import needs FILE and LIST"), UsageError);
    const QString grammar = parser.value(QStringLiteral("grammar"));
    if (grammar != QLatin1String("basic") && grammar != QLatin1String("advanced"))
        return fail(QStringLiteral("unknown grammar mode \"%1\": use basic or advanced").arg(grammar), UsageError);
    const bool unknownCodes = parser.isSet(QStringLiteral("unknown"));
    const bool verbose = parser.isSet(QStringLiteral("verbose"));

    QFile list(args.at(1));
    if (!list.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("cannot read the word list \"%1\": %2").arg(args.at(1), list.errorString()));
    const QByteArray content = list.readAll();
    int status = Success;
    DictionaryReference dictionary = openOrFail(args.at(0), &status);
    if (dictionary == 0)
        return status;
    if (dictionary->isReadOnly())
        return fail(QStringLiteral("\"%1\" is read-only; nothing was imported").arg(args.at(0)));
    DictionaryReference::setEditPreferences(grammar == QLatin1String("advanced") ? QStringLiteral("advanced_grammar")
                                                                                 : QStringLiteral("basic_grammar"));
    dictionary->begin_edit();

    QList<QByteArray> lines = content.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    if (!lines.isEmpty() && lines.first().startsWith("\xef\xbb\xbf"))
        lines.first().remove(0, 3); // a byte order mark is no part of the first word
    int added = 0;
    QStringList skipped;
    QStringList refused;
    for (int i = 0; i < lines.size(); ++i) {
        const int lineNumber = i + 1;
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString line = decoder.decode(lines.at(i));
        if (decoder.hasError()) {
            refused << QStringLiteral("line %1: the line is not valid UTF-8 text").arg(lineNumber);
            continue;
        }
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.trimmed().isEmpty() && !line.contains(QLatin1Char('\t')))
            continue; // blank lines separate nothing and are not words
        const int tab = line.indexOf(QLatin1Char('\t'));
        const QString word = (tab < 0 ? line : line.left(tab)).trimmed();
        int frequency = 0;
        if (tab >= 0) {
            bool ok = false;
            const QString field = line.mid(tab + 1).trimmed();
            frequency = field.toInt(&ok);
            if (!word.isEmpty() && (!ok || frequency < 1 || frequency > 31)) {
                refused << QStringLiteral("line %1: \"%2\": the frequency \"%3\" is not a whole number from 1 to 31")
                               .arg(lineNumber)
                               .arg(word, field);
                continue;
            }
        }
        const QString why = refusal(word);
        if (!why.isEmpty()) {
            refused << QStringLiteral("line %1: %2").arg(lineNumber).arg(why);
            continue;
        }
        if (dictionary->findWord(word)) {
            skipped << QStringLiteral("line %1: \"%2\" is already in the dictionary").arg(lineNumber).arg(word);
            continue;
        }
        Word *newWord = dictionary->addWord(word, QString());
        if (!newWord) {
            refused << QStringLiteral("line %1: \"%2\": the dictionary does not accept this word")
                           .arg(lineNumber)
                           .arg(word);
            continue;
        }
        if (unknownCodes) {
            while (newWord->codes.size() > 1)
                newWord->removeGCode(short(newWord->codes.size() - 1));
            if (newWord->codes.isEmpty())
                newWord->addGCode();
            else if (newWord->codes.first()->partOfSpeech != QLatin1String("new"))
                newWord->setCodeName(0, QStringLiteral("new"));
            newWord->setSubcode(0, QString());
        }
        if (frequency > 0) {
            for (GCode *code : std::as_const(newWord->codes))
                code->setFrequency(QString::number(frequency));
        }
        ++added;
        if (verbose)
            out() << "line " << lineNumber << ": added \"" << word << "\"\n";
    }

    if (dictionary->isDirty() && dictionary->save() != 0)
        return fail(
            QStringLiteral("could not save \"%1\": %2; nothing was imported").arg(args.at(0), dictionary->lastError()));

    out() << "Imported " << args.at(1) << " into " << args.at(0) << ": " << added << " added, " << skipped.size()
          << " skipped (already present), " << refused.size() << " refused\n";
    for (const QString &s : std::as_const(skipped))
        out() << "skipped " << s << "\n";
    for (const QString &r : std::as_const(refused))
        out() << "refused " << r << "\n";
    out().flush();
    return Success;
}

int exportCommand(const QStringList &args)
{
    if (args.size() != 1 && args.size() != 2)
        return fail(QStringLiteral("export needs FILE and, optionally, OUT"), UsageError);
    int status = Success;
    DictionaryReference dictionary = openOrFail(args.at(0), &status);
    if (dictionary == 0)
        return status;
    QByteArray text;
    const QStringList words = allWords(dictionary.get());
    for (const QString &word : words)
        text += word.toUtf8() + '\n';
    if (args.size() == 1) {
        out().flush();
        std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
        std::fflush(stdout);
        return Success;
    }
    QSaveFile file(args.at(1));
    if (!file.open(QIODevice::WriteOnly))
        return fail(QStringLiteral("cannot write \"%1\": %2").arg(args.at(1), file.errorString()));
    file.write(text);
    if (!file.commit())
        return fail(QStringLiteral("cannot write \"%1\": %2").arg(args.at(1), file.errorString()));
    out() << "Exported " << words.size() << " words to " << args.at(1) << Qt::endl;
    return Success;
}

int checkCommand(const QStringList &args)
{
    if (args.size() != 1)
        return fail(QStringLiteral("check needs one FILE"), UsageError);
    const QString path = args.at(0);
    if (!QFileInfo(path).isFile())
        return fail(QStringLiteral("\"%1\" does not exist or is not a file").arg(path));
    QStringList problems;
    {
        RawDatabase db(path);
        QStringList rows;
        if (!db.isOpen()) {
            problems << QStringLiteral("cannot be opened: %1").arg(db.error());
        } else if (!db.query("PRAGMA integrity_check", &rows)) {
            problems << QStringLiteral("cannot be read as a database: %1").arg(db.error());
        } else if (rows != QStringList{QStringLiteral("ok")}) {
            for (const QString &row : std::as_const(rows))
                problems << QStringLiteral("integrity: %1").arg(row);
        } else {
            db.query("PRAGMA user_version", &rows);
            if (rows.value(0).toInt() < 1)
                problems << QStringLiteral("has no dictionary schema version");
            const QList<QPair<const char *, QStringList>> tables = {
                {"meta", {QStringLiteral("key"), QStringLiteral("value")}},
                {"words",
                 {QStringLiteral("id"), QStringLiteral("text"), QStringLiteral("frequency"), QStringLiteral("kinds"),
                  QStringLiteral("codes")}}};
            for (const auto &table : tables) {
                QStringList columns;
                db.query(QByteArray("SELECT name FROM pragma_table_info('") + table.first + "')", &columns);
                for (const QString &column : table.second) {
                    if (!columns.contains(column))
                        problems
                            << QStringLiteral("table %1 lacks the column %2").arg(QLatin1String(table.first), column);
                }
            }
            if (problems.isEmpty()) {
                for (const char *key : {"format", "display_name", "variety"}) {
                    if (db.metaValue(QLatin1String(key)).isEmpty())
                        problems << QStringLiteral("the setting %1 is missing").arg(QLatin1String(key));
                }
            }
        }
    }
    int words = -1;
    if (problems.isEmpty()) {
        QString error;
        DictionaryReference dictionary = Prediction::openDictionary(path, &error);
        if (dictionary == 0)
            problems << error;
        else
            words = dictionary->wordCount();
    }
    if (!problems.isEmpty()) {
        out() << path << ": damaged\n";
        for (const QString &problem : std::as_const(problems))
            out() << "  " << problem << "\n";
        out().flush();
        return Failure;
    }
    out() << path << ": ok, " << words << " words" << Qt::endl;
    return Success;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("lexora-dict"));
    QCoreApplication::setApplicationVersion(QStringLiteral(LEXORA_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Creates, describes, fills, exports and checks Lexora dictionaries.\n\n"
        "Commands:\n"
        "  create FILE --name NAME [--variety american|british|canadian] [--letter-groups N]\n"
        "                      Creates a new, empty dictionary; never replaces a file.\n"
        "  info FILE           Shows the name, variety, word count, UK grammar and letter-group threshold.\n"
        "  import FILE LIST    Adds the words of LIST: one word a line, optionally a tab and a frequency\n"
        "                      from 1 to 31. Reports what was added, skipped and refused, and saves once.\n"
        "  export FILE [OUT]   Writes every word, one a line in UTF-8, to OUT or to the standard output.\n"
        "  check FILE          Checks the file's integrity; exits with 1 when it is damaged."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("command"), QStringLiteral("create, info, import, export or check"));
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
    parser.process(app);

    QStringList args = parser.positionalArguments();
    if (args.isEmpty())
        return fail(QStringLiteral("no command given; see lexora-dict --help"), UsageError);
    const QString command = args.takeFirst();
    if (command == QLatin1String("create"))
        return createCommand(args, parser);
    if (command == QLatin1String("info"))
        return infoCommand(args);
    if (command == QLatin1String("import"))
        return importCommand(args, parser);
    if (command == QLatin1String("export"))
        return exportCommand(args);
    if (command == QLatin1String("check"))
        return checkCommand(args);
    return fail(QStringLiteral("unknown command \"%1\"; see lexora-dict --help").arg(command), UsageError);
}
