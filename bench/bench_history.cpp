// Undo benchmark: a dictionary of 1,000,000 words (or the sizes given) takes 1,000,000 recorded edits; the
// heap they add is printed, then every step is undone and redone one at a time, each timed. One figure per
// line as "name: value unit".
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <functional>
#include <malloc.h>
#include <vector>

#include "benchsupport.h"
#include "dictionarydata.h"
#include "prediction.h"

namespace {

using Bench::msSince;
using Bench::print;

const int editCount = 1000000;

// Heap bytes in use, small blocks and mapped ones together.
qint64 heapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return qint64(info.uordblks) + qint64(info.hblkhd);
}

double megabytes(qint64 bytes)
{
    return double(bytes) / (1024.0 * 1024.0);
}

// One edit of a round of ten that every edited word goes through, the kinds a person makes, ending with its
// removal; false when the edit could not be made (a spelling taken).
bool edit(Dictionary *dictionary, Word *word, int round)
{
    switch (round) {
    case 0:
        word->codes.at(0)->setFrequency(QStringLiteral("30"));
        return true;
    case 1:
        word->codes.at(0)->setFrequency(QStringLiteral("2"));
        return true;
    case 2:
        word->setCodeName(0, QStringLiteral("verb"));
        return true;
    case 3:
        word->setSubcode(0, QStringLiteral("reg"));
        return true;
    case 4:
        word->addGCode();
        return true;
    case 5:
        word->addUse(0);
        return true;
    case 6:
        word->removeGCode(1);
        return true;
    case 7:
        word->codes.at(0)->setFrequency(QStringLiteral("17"));
        return true;
    case 8:
        if (dictionary->contains(word->text + QLatin1Char('q')))
            return false;
        word->changeSpelling(word->text + QLatin1Char('q'));
        return true;
    default:
        word->removeWord();
        return true;
    }
}

qint64 historyBytes(const DictionaryReference &dictionary)
{
    return dictionary->data()->history().bytes();
}

// Runs step (undo or redo) until it does nothing; prints the number of steps, the median, the 99.9th
// percentile, the slowest and how many took over 10 ms. On a busy machine the slowest few are the
// scheduler's: the same frequency change, undone a million times, has them too.
void timeSteps(const QString &tag, const char *what, const std::function<Word *()> &step)
{
    std::vector<double> times;
    times.reserve(editCount);
    for (;;) {
        QElapsedTimer timer;
        timer.start();
        const Word *word = step();
        const double ms = msSince(timer);
        if (!word)
            break;
        times.push_back(ms);
    }
    const double slowest = times.empty() ? 0 : *std::max_element(times.begin(), times.end());
    print(tag + QStringLiteral("%1, steps").arg(what), double(times.size()), "");
    print(tag + QStringLiteral("%1, median").arg(what), Bench::median(times), "ms");
    std::vector<double> sorted = times;
    std::sort(sorted.begin(), sorted.end());
    print(tag + QStringLiteral("%1, 99.9th percentile").arg(what),
          sorted.empty() ? 0 : sorted[sorted.size() * 999 / 1000], "ms");
    print(tag + QStringLiteral("%1, slowest").arg(what), slowest, "ms");
    print(tag + QStringLiteral("%1, over 10 ms").arg(what),
          double(std::count_if(times.begin(), times.end(), [](double ms) { return ms > 10.0; })), "");
}

DictionaryReference build(const QString &path, const QStringList &words)
{
    DictionaryReference dictionary =
        Prediction::createDictionary(path, QStringLiteral("History"), Prediction::American);
    for (int i = 0; i < int(words.size()); ++i)
        dictionary->importWord(words.at(i), 1 + i % 31, false);
    // Saved, as a dictionary opened in the editor is: no word waits to be written.
    dictionary->save();
    return dictionary;
}

void run(int size, const QString &folder)
{
    const QString tag = QStringLiteral("%1 words: ").arg(size);
    const QStringList words = Bench::makeWords(size, 16);
    DictionaryReference dictionary = build(folder + QStringLiteral("/one%1.dict").arg(size), words);

    // The history of one word's frequency changed over and over: the heap it adds is the history's alone.
    {
        Word *word = dictionary->findWord(words.at(0));
        const qint64 before = heapInUse();
        for (int i = 0; i < editCount; ++i)
            word->codes.at(0)->setFrequency(QString::number(1 + i % 31));
        print(tag + QStringLiteral("history of 1,000,000 frequency changes, heap"), megabytes(heapInUse() - before),
              "MB");
        print(tag + QStringLiteral("history of 1,000,000 frequency changes, counted"),
              megabytes(historyBytes(dictionary)), "MB");
        timeSteps(tag, "undo of a frequency change", [&] { return dictionary->undo(); });
        timeSteps(tag, "redo of a frequency change", [&] { return dictionary->redo(); });
    }

    // A mix of edits over many words, each word's objects made first so that the heap below is the edits'.
    dictionary = build(folder + QStringLiteral("/mix%1.dict").arg(size), words);
    const int edited = qMin(size, editCount / 10);
    std::vector<Word *> objects;
    objects.reserve(size_t(edited));
    for (int i = 0; i < edited; ++i)
        objects.push_back(dictionary->findWord(words.at(int(qint64(i) * size / edited))));
    const qint64 before = heapInUse();
    QElapsedTimer timer;
    timer.start();
    int made = 0;
    for (int i = 0; i < editCount; ++i)
        made += edit(dictionary.get(), objects[size_t(i % edited)], i / edited % 10) ? 1 : 0;
    const double ms = msSince(timer);
    print(tag + QStringLiteral("1,000,000 mixed edits made"), made, "");
    print(tag + QStringLiteral("history of 1,000,000 mixed edits, counted"), megabytes(historyBytes(dictionary)), "MB");
    print(tag + QStringLiteral("mixed edits, heap with the words' own growth (codes added, examples)"),
          megabytes(heapInUse() - before), "MB");
    print(tag + QStringLiteral("mixed edits, time per edit"), ms * 1000.0 / editCount, "us");
    timeSteps(tag, "undo of a mixed edit", [&] { return dictionary->undo(); });
    timeSteps(tag, "redo of a mixed edit", [&] { return dictionary->redo(); });

    // What a window waits for: an undo, then the word list refilled.
    std::vector<double> refills;
    for (int i = 0; i < 20; ++i) {
        QElapsedTimer refill;
        refill.start();
        dictionary->undo();
        dictionary->wordList();
        refills.push_back(msSince(refill));
    }
    print(tag + QStringLiteral("undo and word list"), Bench::median(refills), "ms");
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir folder;
    QList<int> sizes = Bench::sizes(argc, argv);
    if (argc < 2)
        sizes = {1000000};
    for (int size : sizes)
        run(size, folder.path());
    return 0;
}
