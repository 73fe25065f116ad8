// Engine benchmark: builds dictionaries of 10,000, 100,000 and 1,000,000 words in a temporary folder
// and prints one figure per line as "name: value unit". Pass sizes as arguments to run others.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <malloc.h>
#include <vector>

#include "benchsupport.h"
#include "prediction.h"

namespace {

using Bench::makeWords;
using Bench::msSince;
using Bench::print;

// Heap bytes in use, small blocks and mapped ones together.
qint64 heapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return qint64(info.uordblks) + qint64(info.hblkhd);
}

qint64 residentBytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.value(1).toLongLong() * 4096;
}

// lexora-dict import of every word of a list into an empty dictionary, in a process of its own so that its
// peak memory can be read.
void importWordList(const QString &tag, const QString &folder, const QStringList &words)
{
    const QString tool = QCoreApplication::applicationDirPath() + QStringLiteral("/lexora-dict");
    const QString path = folder + QStringLiteral("/import.dict");
    const QString list = folder + QStringLiteral("/list.txt");
    QFile file(list);
    if (!QFileInfo(tool).isExecutable() || !file.open(QIODevice::WriteOnly))
        return;
    file.write(words.join(QLatin1Char('\n')).toUtf8() + '\n');
    file.close();
    if (QProcess::execute(tool, {QStringLiteral("create"), path, QStringLiteral("--name"), QStringLiteral("Import")}) !=
        0)
        return;
    QProcess import;
    import.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    import.start(tool, {QStringLiteral("import"), path, list});
    // The child's own high-water mark of resident memory, read until it ends (the last reading is within a
    // few milliseconds of its end, when only freeing is left).
    qint64 peakKb = 0;
    const QString status = QStringLiteral("/proc/%1/status").arg(import.processId());
    while (!import.waitForFinished(5)) {
        QFile file(status);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray &line : file.readAll().split('\n')) {
            if (line.startsWith("VmHWM:"))
                peakKb = qMax(peakKb, line.mid(6).trimmed().split(' ').value(0).toLongLong());
        }
    }
    const double ms = msSince(timer);
    print(tag + QStringLiteral("lexora-dict import%1").arg(import.exitCode() == 0 ? "" : " (failed)"), ms, "ms");
    print(tag + QStringLiteral("lexora-dict import, peak resident memory"), double(peakKb) / 1024, "MB");
    QFile::remove(path);
    QFile::remove(list);
}

void run(int size, const QString &folder)
{
    const QString tag = QStringLiteral("[%1 words] ").arg(size);
    const QString path = folder + QStringLiteral("/bench%1.dict").arg(size);
    const QStringList words = makeWords(size, 1234u + quint32(size));

    // Build: every word added through the engine with its grammar guesses, then one full save.
    {
        DictionaryReference::setEditPreferences(QStringLiteral("advanced_grammar"));
        DictionaryReference ref = Prediction::createDictionary(path, QStringLiteral("Bench"), Prediction::American);
        if (ref == 0)
            return;
        QElapsedTimer timer;
        timer.start();
        for (const QString &word : words)
            ref->addWord(word, QStringLiteral("edit"));
        print(tag + QStringLiteral("addWord (building)"), msSince(timer) * 1000.0 / size, "us");
        timer.restart();
        if (ref->save() != 0) {
            std::printf("save failed: %s\n", qPrintable(ref->lastError()));
            return;
        }
        print(tag + QStringLiteral("full save"), msSince(timer), "ms");
        print(tag + QStringLiteral("file size per word"), double(QFileInfo(path).size()) / size, "bytes");
    }
    malloc_trim(0);

    // Open and list.
    const qint64 heapBefore = heapInUse();
    const qint64 residentBefore = residentBytes();
    QElapsedTimer timer;
    timer.start();
    DictionaryReference ref = Prediction::openDictionary(path);
    print(tag + QStringLiteral("open"), msSince(timer), "ms");
    timer.restart();
    QStringList list = ref->wordList();
    print(tag + QStringLiteral("first wordList()"), msSince(timer), "ms");
    print(tag + QStringLiteral("listed words"), list.size(), "words");
    list.clear();
    print(tag + QStringLiteral("engine memory per word"), double(heapInUse() - heapBefore) / size, "bytes");
    print(tag + QStringLiteral("resident memory per word"), double(residentBytes() - residentBefore) / size, "bytes");

    // Rule switches: each rebuilds the list from the word summaries.
    for (const char *rule : {"Verbs only", "Unknown words", "all words"}) {
        timer.restart();
        ref->setSelectionRule(QString::fromLatin1(rule));
        const int count = int(ref->wordList().size());
        print(tag + QStringLiteral("rule switch to \"%1\" (%2 listed)").arg(QLatin1String(rule)).arg(count),
              msSince(timer), "ms");
    }
    if (ref->displayByLetterGroup()) {
        timer.restart();
        ref->setLetterGroup(QStringLiteral("s"));
        const int count = int(ref->wordList().size());
        print(tag + QStringLiteral("letter group switch (%1 listed)").arg(count), msSince(timer), "ms");
    }

    // findWord: the first lookup of a word makes its object; later lookups only find it.
    QRandomGenerator random(99);
    std::vector<QString> probes;
    for (int i = 0; i < 20000; ++i)
        probes.push_back(words.at(int(random.bounded(quint32(size)))));
    timer.restart();
    for (const QString &probe : probes)
        ref->findWord(probe);
    print(tag + QStringLiteral("findWord, first lookup"), msSince(timer) * 1000.0 / double(probes.size()), "us");
    int found = 0;
    timer.restart();
    for (int round = 0; round < 10; ++round) {
        for (const QString &probe : probes)
            found += ref->findWord(probe) ? 1 : 0;
    }
    print(tag + QStringLiteral("findWord"), msSince(timer) * 1000.0 / double(probes.size() * 10), "us");
    timer.restart();
    for (const QString &probe : probes)
        found += ref->findWord(probe + QLatin1Char('#')) ? 1 : 0;
    print(tag + QStringLiteral("findWord, missing word"), msSince(timer) * 1000.0 / double(probes.size()), "us");

    // addWord into the open dictionary.
    const QStringList extra = makeWords(1000, 777u);
    timer.restart();
    int added = 0;
    for (const QString &word : extra)
        added += ref->addWord(word + QStringLiteral("q"), QStringLiteral("edit")) ? 1 : 0;
    print(tag + QStringLiteral("addWord"), msSince(timer) * 1000.0 / double(added), "us");
    timer.restart();
    if (ref->save() != 0)
        std::printf("save failed: %s\n", qPrintable(ref->lastError()));
    print(tag + QStringLiteral("save of 1000 added words"), msSince(timer), "ms");

    // Saving one change, several times; the median is printed.
    std::vector<double> times;
    for (int i = 0; i < 7; ++i) {
        Word *word = ref->findWord(words.at(int(random.bounded(quint32(size)))));
        if (!word || word->codes.isEmpty())
            continue;
        word->codes.first()->setFrequency(QString::number(1 + i));
        timer.restart();
        ref->save();
        times.push_back(msSince(timer));
    }
    std::sort(times.begin(), times.end());
    if (!times.empty())
        print(tag + QStringLiteral("save of one change"), times.at(times.size() / 2), "ms");

    // Opening again after incremental saves (new words out of order at the end of the file).
    ref = DictionaryReference();
    timer.restart();
    ref = Prediction::openDictionary(path);
    print(tag + QStringLiteral("open after incremental saves"), msSince(timer), "ms");

    // The whole dictionary: a copy, a dump, the thorough check.
    const QString copy = folder + QStringLiteral("/copy%1.dict").arg(size);
    QString error;
    timer.restart();
    if (!ref->saveCopy(copy, &error))
        std::printf("saveCopy failed: %s\n", qPrintable(error));
    print(tag + QStringLiteral("saveCopy"), msSince(timer), "ms");
    QFile dump(folder + QStringLiteral("/dump%1.txt").arg(size));
    timer.restart();
    if (!dump.open(QIODevice::WriteOnly) || !ref->dump(&dump))
        std::printf("dump failed\n");
    dump.close();
    print(tag + QStringLiteral("dump"), msSince(timer), "ms");
    print(tag + QStringLiteral("dump size per word"), double(dump.size()) / size, "bytes");
    ref = DictionaryReference();
    timer.restart();
    const DictionaryCheck check = Prediction::checkDictionary(copy);
    print(tag + QStringLiteral("lexora-dict check (%1)").arg(check.ok ? "ok" : "damaged"), msSince(timer), "ms");

    // As many new words as the dictionary holds, imported without Word objects; then the dirty check, which
    // must not grow with the number of edits.
    ref = Prediction::openDictionary(copy);
    timer.restart();
    int imported = 0;
    for (const QString &text : words)
        imported += ref->importWord(text + QStringLiteral("x")) ? 1 : 0;
    print(tag + QStringLiteral("importWord"), msSince(timer) * 1000.0 / size, "us");
    timer.restart();
    bool dirty = false;
    for (int i = 0; i < 1000; ++i)
        dirty = ref->isDirty() || dirty;
    print(tag + QStringLiteral("isDirty() after %1 edits%2").arg(imported).arg(dirty ? "" : " (not dirty!)"),
          msSince(timer), "us");
    ref = DictionaryReference();
    QFile::remove(copy);
    QFile::remove(path);
    importWordList(tag, folder, words);
    if (found < 0)
        std::printf("\n");
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    for (int size : Bench::sizes(argc, argv))
        run(size, dir.path());
    return 0;
}
