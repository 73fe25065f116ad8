// Prediction test window benchmark: builds dictionaries of 10,000, 100,000 and 1,000,000 words in a
// temporary folder, opens the host's test window on each and prints one figure per line as
// "name: value unit". Pass sizes as arguments to run others.
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <vector>

#include "benchsupport.h"
#include "predictiontestwindow.h"

namespace {

using Bench::makeWords;
using Bench::median;
using Bench::msSince;
using Bench::print;

void run(int size, const QString &folder)
{
    const QString tag = QStringLiteral("[%1 words] ").arg(size);
    const QString path = folder + QStringLiteral("/test%1.dict").arg(size);
    const QStringList words = makeWords(size, 8765u + quint32(size));
    QRandomGenerator random(7);
    {
        DictionaryReference made = Prediction::createDictionary(path, QStringLiteral("Bench"), Prediction::American);
        if (made == 0)
            return;
        for (const QString &word : words) {
            if (Word *added = made->addWord(word, QStringLiteral("edit")))
                added->codes.first()->setFrequency(QString::number(1 + random.bounded(31)));
        }
        if (made->save() != 0)
            return;
    }
    // Opened again from the file, as the editor and its test window find it.
    DictionaryReference dictionary = Prediction::openDictionary(path);
    if (dictionary == 0)
        return;

    QElapsedTimer timer;
    timer.start();
    PredictionTestWindow window(dictionary);
    window.show();
    QApplication::processEvents();
    print(tag + QStringLiteral("open (offers for an empty line)"), msSince(timer), "ms");
    auto line = window.findChild<QLineEdit *>();

    // A sentence typed letter by letter at the cursor: each keystroke offers again for the word being typed.
    std::vector<double> keystrokes, wordStarts;
    for (int w = 0; w < 200; ++w) {
        const QString word = words.at(int(random.bounded(qsizetype(words.size())))).toLower();
        for (int i = 0; i < word.size(); ++i) {
            timer.restart();
            line->insert(QString(word.at(i)));
            (i == 0 ? wordStarts : keystrokes).push_back(msSince(timer));
        }
        timer.restart();
        line->insert(QStringLiteral(" "));
        wordStarts.push_back(msSince(timer));
    }
    print(tag + QStringLiteral("keystroke within a word (median)"), median(keystrokes), "ms");
    print(tag + QStringLiteral("keystroke within a word (slowest)"),
          *std::max_element(keystrokes.begin(), keystrokes.end()), "ms");
    print(tag + QStringLiteral("first letter or space (median)"), median(wordStarts), "ms");
    print(tag + QStringLiteral("first letter or space (slowest)"),
          *std::max_element(wordStarts.begin(), wordStarts.end()), "ms");
    print(tag + QStringLiteral("offers shown"), window.offers().size(), "words");

    // After an edit the short prefixes are worked out again once.
    dictionary->findWord(words.first())->codes.first()->setFrequency(QStringLiteral("31"));
    timer.restart();
    line->insert(QStringLiteral(" "));
    print(tag + QStringLiteral("space after an edit"), msSince(timer), "ms");
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir folder;
    for (int size : Bench::sizes(argc, argv))
        run(size, folder.path());
    return 0;
}
