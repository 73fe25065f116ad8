// A helper process for the engine tests, playing "another program" on a dictionary file:
//   crashchild save <path> <count>   saves forever, alternating between two known word sets
//   crashchild lock <path>           holds an exclusive lock until its standard input closes
//   crashchild add <path> <word>     adds a word and saves, as another editor would
//   crashchild static <path>         keeps the dictionary open in a static handle until the process ends
#include <QCoreApplication>
#include <QFile>
#include <QStringList>
#include <cstdio>
#include <sqlite3.h>

#include "prediction.h"

namespace {

QStringList wordSet(const QString &prefix, int count)
{
    QStringList words;
    for (int i = 0; i < count; ++i)
        words << QStringLiteral("%1%2").arg(prefix).arg(i, 4, 10, QLatin1Char('0'));
    return words;
}

int saveForever(const QString &path, int count)
{
    QString error;
    DictionaryReference dictionary = Prediction::openDictionary(path, &error);
    if (dictionary == 0) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 2;
    }
    const QStringList sets[2] = {wordSet(QStringLiteral("alpha"), count), wordSet(QStringLiteral("beta"), count)};
    const QString padding(200, QLatin1Char('x'));
    for (int round = 0;; ++round) {
        const QStringList &remove = sets[round % 2];
        const QStringList &add = sets[(round + 1) % 2];
        for (const QString &text : remove) {
            if (Word *word = dictionary->findWord(text))
                word->removeWord();
        }
        for (const QString &text : add) {
            Word *word = dictionary->addWord(text, QStringLiteral("edit"));
            if (word && !word->codes.isEmpty()) {
                word->codes.first()->expansion = padding + QString::number(round);
                word->codes.first()->touch();
            }
        }
        if (dictionary->save() != 0) {
            std::fprintf(stderr, "%s\n", qPrintable(dictionary->lastError()));
            return 3;
        }
        std::printf("saved %d\n", round);
        std::fflush(stdout);
    }
}

int holdLock(const QString &path)
{
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
        return 2;
    if (sqlite3_exec(db, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr) != SQLITE_OK)
        return 3;
    std::printf("locked\n");
    std::fflush(stdout);
    char line[64];
    while (std::fgets(line, sizeof line, stdin)) {
    }
    sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return 0;
}

int addWord(const QString &path, const QString &text)
{
    QString error;
    DictionaryReference dictionary = Prediction::openDictionary(path, &error);
    if (dictionary == 0 || !dictionary->addWord(text, QStringLiteral("edit")))
        return 2;
    return dictionary->save() == 0 ? 0 : 3;
}

DictionaryReference keptUntilExit;

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() >= 4 && args.at(1) == QLatin1String("save"))
        return saveForever(args.at(2), args.at(3).toInt());
    if (args.size() >= 3 && args.at(1) == QLatin1String("lock"))
        return holdLock(args.at(2));
    if (args.size() >= 4 && args.at(1) == QLatin1String("add"))
        return addWord(args.at(2), args.at(3));
    if (args.size() >= 3 && args.at(1) == QLatin1String("static")) {
        keptUntilExit = Prediction::openDictionary(args.at(2));
        return keptUntilExit == 0 ? 2 : 0;
    }
    std::fprintf(stderr, "usage: crashchild save <path> <count> | lock <path> | add <path> <word> | static <path>\n");
    return 1;
}
