// Saves pictures of an editor window, collapsed, expanded and in advanced mode, and of its prediction test
// window, for the README, with the host's set-up (font, keys). It works on a copy of
// the sample dictionary, shows the word with the most grammar codes and usages among the first twenty
// thousand words of the list (giving it usages when it has none), and grabs the window (no screen needed under the
// offscreen platform).
//
//     lexora_screenshot <output folder> [dictionary]

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

#include <QLineEdit>

#include "dictionaryeditor.h"
#include "hostsetup.h"
#include "hostwindowmanager.h"
#include "predictiontestwindow.h"

namespace {

int richness(Word *word)
{
    int score = 0;
    for (const GCode *code : word->codes)
        score += 2 + 3 * int(code->usages.size());
    return score;
}

// The word of the first twenty thousand that has the most to show in the details panel, usages above all.
QString richestWord(Dictionary *dictionary)
{
    const QStringList words = dictionary->wordList();
    QString best;
    int bestScore = -1;
    for (int i = 0; i < words.size() && i < 20000; ++i) {
        Word *word = dictionary->findWord(words[i]);
        if (!word)
            continue;
        const int score = richness(word);
        if (score > bestScore) {
            best = words[i];
            bestScore = score;
        }
    }
    return best;
}

// The samples are built from word lists, so their words carry no usages yet; the picture's word gets a
// few, the kind a person adds in the details panel, so that usages show too.
void addUsages(Word *word)
{
    for (int i = 0; i < word->codes.size(); ++i) {
        GCode *code = word->codes.at(i);
        if (!code->usages.isEmpty())
            return;
        if (code->partOfSpeech == QLatin1String("verb")) {
            word->addUse(short(i));
            code->usages.last()->complements()->setCodes({QStringLiteral("Tn")});
            code->usages.last()->particles()->setCodes({QStringLiteral("up")});
            word->addUse(short(i));
            code->usages.last()->complements()->setCodes({QStringLiteral("Ipr")});
            code->usages.last()->particles()->setCodes({QStringLiteral("away")});
            code->usages.last()->prepositions()->setCodes({QStringLiteral("from")});
        } else if (code->partOfSpeech == QLatin1String("noun")) {
            word->addUse(short(i));
            code->usages.last()->complements()->setCodes({QStringLiteral("of")});
        }
    }
}

bool save(QWidget *window, const QString &path)
{
    QApplication::processEvents();
    if (!window->grab().save(path, "PNG")) {
        std::fprintf(stderr, "lexora_screenshot: cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    HostSetup::apply();
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() < 2) {
        std::fprintf(stderr, "usage: lexora_screenshot <output folder> [dictionary]\n");
        return 2;
    }
    const QDir output(arguments.at(1));
    const QString sample =
        arguments.size() > 2 ? arguments.at(2) : QStringLiteral(LEXORA_SAMPLE_BUILD_DIR "/personal.dict");
    if (!QFileInfo(sample).isFile() || !output.exists()) {
        std::fprintf(stderr, "lexora_screenshot: no dictionary %s or no folder %s\n", qPrintable(sample),
                     qPrintable(output.path()));
        return 1;
    }

    // The picture must not change the sample, so the editor works on a copy.
    QTemporaryDir work;
    const QString path = work.filePath(QStringLiteral("personal.dict"));
    if (!work.isValid() || !QFile::copy(sample, path)) {
        std::fprintf(stderr, "lexora_screenshot: cannot copy %s\n", qPrintable(sample));
        return 1;
    }
    QString error;
    DictionaryReference dictionary = Prediction::openDictionary(path, &error);
    if (dictionary == 0) {
        std::fprintf(stderr, "lexora_screenshot: %s\n", qPrintable(error));
        return 1;
    }

    const QString word = richestWord(dictionary.get());
    if (Word *shown = dictionary->findWord(word))
        addUsages(shown);
    // The window as lexora-editor shows it, in the host's frame with its toolbar.
    HostWindowManager manager;
    DictionaryEditor *window = manager.addWindow(dictionary, true);
    window->findWord(word);
    manager.showAll();
    bool ok = save(window->window(), output.filePath(QStringLiteral("editor-collapsed.png")));
    window->collapse(false);
    ok = save(window->window(), output.filePath(QStringLiteral("editor-expanded.png"))) && ok;
    // Advanced mode: a window on the same word whose panel has links for the usages too.
    window->hide();
    DictionaryEditor::setAdvancedDetails(true);
    DictionaryEditor *advanced = manager.addWindow(dictionary, true);
    advanced->findWord(word);
    advanced->collapse(false);
    manager.showWindow(advanced);
    ok = save(advanced->window(), output.filePath(QStringLiteral("editor-advanced.png"))) && ok;

    PredictionTestWindow test(dictionary);
    test.show();
    test.findChild<QLineEdit *>()->setText(QStringLiteral("I would like a cup of te"));
    ok = save(&test, output.filePath(QStringLiteral("test-window.png"))) && ok;
    return ok ? 0 : 1;
}
