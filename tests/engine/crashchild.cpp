// A helper process for the engine tests, playing "another program" on a dictionary file:
//   crashchild save <path> <count>   saves forever, alternating between two known word sets
//   crashchild lock <path>           holds an exclusive lock until its standard input closes
//   crashchild add <path> <word>     adds a word and saves, as another editor would
//   crashchild static <path>         locks the dictionary through a handle kept in a static variable and exits
#include <QCoreApplication>
#include <QFile>
#include <cstdio>
#include <sqlite3.h>

#include "prediction.h"

namespace {

// Outlives main(): the engine must still close the dictionary cleanly when this goes, at exit.
DictionaryReference keptUntilExit;

int saveForever(DictionaryReference dictionary, int count)
{
    QStringList sets[2];
    for (int i = 0; i < count; ++i) {
        sets[0] << QStringLiteral("alpha%1").arg(i, 4, 10, QChar('0'));
        sets[1] << QStringLiteral("beta%1").arg(i, 4, 10, QChar('0'));
    }
    for (int round = 0;; ++round) {
        for (const QString &text : sets[round % 2]) {
            if (Word *word = dictionary->findWord(text))
                word->removeWord();
        }
        // Every word of a save carries the round in its expansion, so that a mix of two saves shows.
        for (const QString &text : sets[(round + 1) % 2]) {
            Word *word = dictionary->addWord(text, "edit");
            if (word && !word->codes.isEmpty()) {
                word->codes.first()->expansion = QString(200, 'x') + QString::number(round);
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
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK ||
        sqlite3_exec(db, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr) != SQLITE_OK)
        return 2;
    std::printf("locked\n");
    std::fflush(stdout);
    char line[64];
    while (std::fgets(line, sizeof line, stdin)) {
    }
    sqlite3_close_v2(db);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString command = args.value(1);
    if (args.size() >= 3 && command == "lock")
        return holdLock(args.at(2));
    // The usage is at the top of this file.
    QString error;
    DictionaryReference dictionary = Prediction::openDictionary(args.value(2), &error);
    if (dictionary == 0) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 2;
    }
    if (args.size() >= 4 && command == "save")
        return saveForever(dictionary, args.at(3).toInt());
    if (command == "static") {
        keptUntilExit = dictionary;
        return keptUntilExit->lockForEditing(&error) ? 0 : 3;
    }
    if (args.size() >= 4 && command == "add")
        return dictionary->addWord(args.at(3), "edit") && dictionary->save() == 0 ? 0 : 3;
    return 1;
}
