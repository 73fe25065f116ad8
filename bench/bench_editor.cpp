// Editor window benchmark: builds dictionaries of 10,000, 100,000 and 1,000,000 words in a temporary
// folder, opens an editor window on each and prints one figure per line as "name: value unit".
// Pass sizes as arguments to run others.
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QListWidget>
#include <QRandomGenerator>
#include <QSet>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTextEdit>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include "benchsupport.h"
#include "dicteditor.h"
#include "dictionaryeditor.h"

namespace {

using Bench::makeWords;
using Bench::median;
using Bench::msSince;
using Bench::print;

template<class T> T *child(QWidget *window, const char *name)
{
    return window->findChild<T *>(QLatin1String(name));
}

void typeKey(QWidget *box, QChar letter)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_A + (letter.toLower().unicode() - 'a'), Qt::NoModifier, QString(letter));
    QApplication::sendEvent(box, &press);
    QKeyEvent release(QEvent::KeyRelease, press.key(), Qt::NoModifier, QString(letter));
    QApplication::sendEvent(box, &release);
}

void run(int size, const QString &folder)
{
    const QString tag = QStringLiteral("[%1 words] ").arg(size);
    const QString path = folder + QStringLiteral("/editor%1.dict").arg(size);
    const QStringList words = makeWords(size, 4321u + quint32(size));
    {
        DictionaryReference::setEditPreferences(QStringLiteral("basic_grammar"));
        DictionaryReference ref = Prediction::createDictionary(path, QStringLiteral("Bench"), Prediction::American);
        if (ref == 0)
            return;
        for (const QString &word : words)
            ref->addWord(word, QStringLiteral("edit"));
        if (ref->save() != 0) {
            std::printf("save failed: %s\n", qPrintable(ref->lastError()));
            return;
        }
    }

    QString error;
    DictionaryReference dictionary = Prediction::openDictionary(path, &error);
    if (dictionary == 0) {
        std::printf("open failed: %s\n", qPrintable(error));
        return;
    }
    print(tag + QStringLiteral("shown by letter group"), dictionary->displayByLetterGroup() ? 1 : 0, "bool");

    QElapsedTimer timer;
    timer.start();
    std::unique_ptr<DictionaryEditor> editor(
        DictionaryEditor::createEditor(true, QString(), dictionary, nullptr, Qt::WindowFlags(), false));
    print(tag + QStringLiteral("construction"), msSince(timer), "ms");
    timer.restart();
    editor->collapse(false);
    editor->show();
    editor->activateWindow();
    QApplication::processEvents();
    print(tag + QStringLiteral("first show"), msSince(timer), "ms");

    auto listWidget = child<QListWidget>(editor.get(), "listWidget");
    auto box = child<QTextEdit>(editor.get(), "lineEdit");
    print(tag + QStringLiteral("listed words"), listWidget->count(), "words");

    // One keystroke of find-as-you-type: the word box holds the first letters of a word, the next
    // letter is typed. Prefixes are visited letter group by letter group, as a user types within one.
    QRandomGenerator random(99);
    QStringList prefixes;
    for (int i = 0; i < 300; ++i) {
        const QString &word = words.at(int(random.bounded(qint64(words.size()))));
        prefixes << word.left(2 + int(random.bounded(qMin(qint64(word.size()) - 2, qint64(4)))));
    }
    std::sort(prefixes.begin(), prefixes.end(),
              [](const QString &a, const QString &b) { return QString::compare(a, b, Qt::CaseInsensitive) < 0; });
    std::vector<double> keystrokes;
    std::vector<double> groupSwitches;
    QString group;
    for (const QString &prefix : prefixes) {
        box->setFocus();
        const QString start = prefix.left(prefix.size() - 1);
        const bool newGroup = start.left(1).compare(group, Qt::CaseInsensitive) != 0;
        timer.restart();
        box->setPlainText(start);
        if (newGroup) {
            groupSwitches.push_back(msSince(timer));
            group = start.left(1);
        }
        QTextCursor cursor = box->textCursor();
        cursor.movePosition(QTextCursor::End);
        box->setTextCursor(cursor);
        timer.restart();
        typeKey(box, prefix.back());
        keystrokes.push_back(msSince(timer));
    }
    print(tag + QStringLiteral("keystroke (median)"), median(keystrokes), "ms");
    print(tag + QStringLiteral("keystroke (slowest)"), *std::max_element(keystrokes.begin(), keystrokes.end()), "ms");
    print(tag + QStringLiteral("first letter of a word (median)"), median(groupSwitches), "ms");

    auto combo = child<QComboBox>(editor.get(), "FilterLIst");
    timer.restart();
    combo->setCurrentIndex(combo->findText(QStringLiteral("Nouns only")));
    print(tag + QStringLiteral("filter switch to nouns"), msSince(timer), "ms");
    timer.restart();
    combo->setCurrentIndex(0);
    print(tag + QStringLiteral("filter switch to all words"), msSince(timer), "ms");

    auto minimum = child<QSpinBox>(editor.get(), "MinFreq");
    timer.restart();
    minimum->setValue(5);
    print(tag + QStringLiteral("frequency change"), msSince(timer), "ms");
    timer.restart();
    minimum->setValue(0);
    print(tag + QStringLiteral("frequency change back"), msSince(timer), "ms");

    timer.restart();
    editor.reset();
    print(tag + QStringLiteral("window deletion"), msSince(timer), "ms");
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
