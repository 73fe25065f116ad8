// The editor window as a person and a host see it: start-up, the word box, the list, its filters and its drag
// and drop, keys, and the More/Less and font buttons.

#include <QComboBox>
#include <QDrag>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSpinBox>
#include <QtTest>

#include "editortesthelpers.h"
#include "modalanswerer.h"
#include "ourlistwidget.h"

using namespace EditorTest;

namespace {

const QStringList ThreeWords = {"Abbey\tname/-/5", "abbot\tnoun/reg/9", "about\tadv./-/20"};

QString count(const DictEditor *editor)
{
    return child<QLineEdit>(editor, "debugwindow")->text();
}

void sendKey(QWidget *to, int key, const QString &text = QString())
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(to, &press);
}

// The action a synthesized drag enter leaves accepted, or IgnoreAction when the list refuses the drag.
Qt::DropAction dragEnter(QListWidget *list, QMimeData *data)
{
    QDragEnterEvent event(QPoint(5, 5), Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
    event.ignore();
    QCoreApplication::sendEvent(list->viewport(), &event);
    return event.isAccepted() ? event.dropAction() : Qt::IgnoreAction;
}

} // namespace

class TestDictEditor : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { QTRY_VERIFY2(windowsLeft().isEmpty(), qPrintable(windowsLeft().join(' '))); }
    void startingWord_data();
    void startingWord();
    void windowTitleAndHost();
    void typingFindsWord();
    void prefixSearchAgreesWithTheList();
    void upAndDown();
    void returnAddsWord();
    void filters_data();
    void filters();
    void letterGroupFollowsWordBox();
    void dragAndDrop();
    void moreLessFontsAndHelp();
};

void TestDictEditor::startingWord_data()
{
    QTest::addColumn<bool>("writable");
    QTest::addColumn<QStringList>("texts"); // the word asked for, the list's current word, the panel's word
    QTest::newRow("no word: the first") << true << QStringList{"", "Abbey", "Abbey"};
    QTest::newRow("a listed word") << true << QStringList{"abbot", "abbot", "abbot"};
    QTest::newRow("unknown word, viewer") << false << QStringList{"zebra", "", ""};
}

void TestDictEditor::startingWord()
{
    QFETCH(bool, writable);
    QFETCH(QStringList, texts);
    TempDictionary dict(ThreeWords);
    auto editor = create(dict.reference(), writable, texts.at(0));
    QCOMPARE(wordBox(editor.get())->toPlainText(), texts.at(0).isEmpty() ? texts.at(1) : texts.at(0));
    QCOMPARE(listed(list(editor.get())), dict->wordList());
    QCOMPARE(currentText(list(editor.get())), texts.at(1));
    QCOMPARE(panelWord(editor.get()), texts.at(2));
    QCOMPARE(count(editor.get()), QStringLiteral("3"));
    // The window is as tall as the screen allows, 50 pixels from its top.
    QCOMPARE(editor->geometry().height(), QGuiApplication::primaryScreen()->availableGeometry().height() - 70);
    for (const char *name : {"AddWordButton", "DeleteWordButton", "changeButton", "SaveButton"})
        QCOMPARE(child(editor.get(), name)->isEnabled(), writable);
    QCOMPARE(child<QComboBox>(editor.get(), "FilterLIst")->itemText(0), dict->selectionRules().first());
    QVERIFY(showActive(editor.get()));
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(wordBox(editor.get())));
}

void TestDictEditor::windowTitleAndHost()
{
    const QList<std::tuple<bool, Prediction::Variety, bool, QString>> titles = {
        {false, Prediction::British, true, "Personal  Dictionary Editor"},
        {true, Prediction::Canadian, false, "Personal - Canadian  Dictionary Viewer (Read Only)"},
        {true, Prediction::American, true, "Personal - American  Dictionary Editor"}};
    for (const auto &[development, variety, writable, title] : titles) {
        TempDictionary dict({"about"}, variety, QStringLiteral("Personal"));
        Prediction::setDevelopmentMode(development);
        auto editor = create(dict.reference(), writable);
        Prediction::setDevelopmentMode(false);
        QCOMPARE(editor->windowTitle(), title);
    }

    // A window on no dictionary shows nothing and does nothing.
    auto unbound = create(DictionaryReference(), true, QStringLiteral("word"));
    QSignalSpy changed(unbound.get(), SIGNAL(DictionaryChanged()));
    for (const char *slot : {"on_AddWordButton_clicked", "on_DeleteWordButton_clicked", "on_changeButton_clicked",
                             "on_addGrammarButton_clicked", "on_ExportWordButton_clicked", "refreshList"})
        QVERIFY(QMetaObject::invokeMethod(unbound.get(), slot));
    child<QSpinBox>(unbound.get(), "MaxFreq")->setValue(5);
    QCOMPARE(changed.count(), 0);

    // Raised, the window tells the host which dictionary is now being edited.
    TempDictionary dict({"about"});
    auto editor = create(dict.reference());
    QSignalSpy activated(editor.get(), SIGNAL(EditWindow_Activate(DictionaryReference)));
    QVERIFY(showActive(editor.get()));
    editor->raise();
    QTRY_VERIFY(!activated.isEmpty());
    QVERIFY(qvariant_cast<DictionaryReference>(activated.constLast().at(0)) == dict.reference());
}

// Typing selects the first word beginning with the text, ignoring case and accents; the panel shows an exact
// match only.
void TestDictEditor::typingFindsWord()
{
    TempDictionary dict(ThreeWords + QStringList{"eland\tnoun/reg/2", "\u00e9lan\tnoun/reg/3"});
    auto editor = create(dict.reference());
    QVERIFY(showActive(editor.get()));
    const QList<QStringList> steps = {
        {"ab", "Abbey", ""},         {"abo", "about", ""},
        {"abbot", "abbot", "abbot"}, {"abbey", "Abbey", ""},
        {"abbotx", "abbot", ""}, // no match keeps the row
        {"el", "\u00e9lan", ""},     {"\u00e9l", "\u00e9lan", ""},
        {"\u00c9LAND", "eland", ""}, {"\u00e9lan", "\u00e9lan", "\u00e9lan"},
    };
    for (const QStringList &step : steps) {
        QTextEdit *box = wordBox(editor.get());
        box->setFocus();
        box->selectAll();
        for (const QChar c : step.at(0)) { // a letter with an accent comes as text, with no key of its own
            if (c.unicode() < 128)
                QTest::keyClick(box, char(c.unicode()));
            else
                QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
        QCOMPARE(box->toPlainText(), step.at(0));
        QCOMPARE(currentText(list(editor.get())), step.at(1));
        QCOMPARE(panelWord(editor.get()), step.at(2));
        QCOMPARE(child(editor.get(), "AddWordButton")->isEnabled(), step.at(2).isEmpty());
    }
    typeInto(wordBox(editor.get()), QStringLiteral("about"));
    wordBox(editor.get())->clear(); // emptying the box changes nothing
    QCOMPARE(currentText(list(editor.get())), QStringLiteral("about"));
    QCOMPARE(panelWord(editor.get()), QStringLiteral("about"));
}

// The window searches a copy of the list (binary search while sorted); it must find what a scan finds, also
// after the list was changed behind its back. The scan compares letters as a reader does: accents taken off
// by Unicode decomposition, case folded.
void TestDictEditor::prefixSearchAgreesWithTheList()
{
    auto letters = [](const QString &text) {
        QString plain = text.normalized(QString::NormalizationForm_D);
        plain.removeIf([](QChar c) { return c.category() == QChar::Mark_NonSpacing; });
        return plain.toCaseFolded();
    };
    TempDictionary dict(
        {"Abbey", "abbot", "about", "ABOVE", "zulu", "\u00e9lan", "Elan", "e", "E", "ea", "\u00c5ngstr\u00f6m"});
    auto editor = create(dict.reference());
    QVERIFY(showActive(editor.get()));
    QListWidget *listWidget = list(editor.get());
    QTextEdit *box = wordBox(editor.get());
    box->setFocus();
    for (int round = 0; round < 3; ++round) {
        if (round == 1) { // items inserted and renamed behind the window's back
            listWidget->insertItem(0, QStringLiteral("zebra"));
            listWidget->item(3)->setText(QStringLiteral("eagle"));
        } else if (round == 2) { // a list in descending order
            listWidget->clear();
            listWidget->addItems({"zulu", "beta", "alpha"});
        }
        for (const char *prefix :
             {"a", "AB", "abo", "abov", "\u00e5n", "z", "e", "EA", "eb", "x", "\u00c9", "el", "\u00c9La", "bet"}) {
            const QString text = QString::fromUtf8(prefix);
            listWidget->setCurrentRow(0);
            box->setPlainText(text);
            QListWidgetItem *found = listWidget->item(0);
            for (int row = listWidget->count() - 1; row >= 0; --row) {
                if (letters(listWidget->item(row)->text()).startsWith(letters(text)))
                    found = listWidget->item(row);
            }
            QVERIFY2(listWidget->currentItem() == found, prefix);
        }
    }
}

// Up and Down in the word box move in the list, copy the word into the box and hand the list the focus.
void TestDictEditor::upAndDown()
{
    TempDictionary dict({"alpha", "beta", "gamma"});
    auto editor = create(dict.reference());
    QVERIFY(showActive(editor.get()));
    QTextEdit *box = wordBox(editor.get());
    const QList<QList<int>> steps = {
        {0, Qt::Key_Down, 1}, {2, Qt::Key_Up, 1}, {0, Qt::Key_Up, 0}, {2, Qt::Key_Down, 2}};
    for (const QList<int> &step : steps) {
        box->setFocus();
        box->setPlainText(QStringLiteral("g"));
        list(editor.get())->setCurrentRow(step.at(0));
        // The press moves the focus to the list, so the release goes there, as it would for a real key.
        QTest::keyPress(box, Qt::Key(step.at(1)));
        QTest::keyRelease(QApplication::focusWidget(), Qt::Key(step.at(1)));
        QCOMPARE(list(editor.get())->currentRow(), step.at(2));
        const bool moved = step.at(0) != 2 || step.at(1) != Qt::Key_Down;
        const QString word = moved ? list(editor.get())->item(step.at(2))->text() : QStringLiteral("g");
        QCOMPARE(box->toPlainText(), word);
        QCOMPARE(QApplication::focusWidget(), moved ? static_cast<QWidget *>(list(editor.get())) : box);
    }
}

// Return adds the word box's word, whether pressed in the box, sent to the window while the list has the focus,
// or pasted as a control character; a viewer adds nothing.
void TestDictEditor::returnAddsWord()
{
    const QList<QPair<QString, bool>> routes = {
        {"box", true}, {"box", false}, {"window", true}, {"window", false}, {"control", true}};
    for (const auto &[route, writable] : routes) {
        TempDictionary dict(ThreeWords);
        auto editor = create(dict.reference(), writable);
        QVERIFY(showActive(editor.get()));
        QSignalSpy changed(editor.get(), SIGNAL(DictionaryChanged()));
        QTextEdit *box = wordBox(editor.get());
        if (route == QLatin1String("control")) {
            box->setFocus();
            box->setPlainText(QStringLiteral("new") + QChar(0x13) + QStringLiteral("t"));
        } else if (route == QLatin1String("box")) {
            typeInto(box, QStringLiteral("newt"));
            QTest::keyPress(box, Qt::Key_Return);
            QTest::keyRelease(QApplication::focusWidget(), Qt::Key_Return);
        } else {
            typeInto(box, QStringLiteral("newt"));
            list(editor.get())->setFocus();
            sendKey(editor.get(), Qt::Key_Enter, QStringLiteral("\r"));
        }
        QCOMPARE(box->toPlainText(), QStringLiteral("newt"));
        QCOMPARE(dict->findWord(QStringLiteral("newt")) != nullptr, writable);
        QCOMPARE(changed.count(), writable ? 1 : 0);
        QCOMPARE(listed(list(editor.get())), dict->wordList());
        QCOMPARE(currentText(list(editor.get())), writable ? QStringLiteral("newt") : QStringLiteral("Abbey"));
    }
}

void TestDictEditor::filters_data()
{
    QTest::addColumn<QList<int>>("range");
    QTest::addColumn<QString>("rule");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("from 10") << QList<int>{10, 31} << "" << QStringList{"banana", "cherry", "date", "elder"};
    QTest::newRow("up to 15") << QList<int>{0, 15} << "" << QStringList{"apple", "banana", "date"};
    QTest::newRow("exactly 25") << QList<int>{25, 25} << "" << QStringList{"cherry"};
    QTest::newRow("inverted ends") << QList<int>{20, 10} << "" << QStringList();
    QTest::newRow("nouns from 10") << QList<int>{10, 31} << "Nouns only" << QStringList{"banana", "cherry"};
    QTest::newRow("verbs") << QList<int>{0, 31} << "Verbs only" << QStringList{"date"};
}

void TestDictEditor::filters()
{
    QFETCH(QList<int>, range);
    QFETCH(QString, rule);
    QFETCH(QStringList, expected);
    TempDictionary dict(
        {"apple\tnoun/reg/5", "banana\tnoun/reg/15", "cherry\tnoun/reg/25", "date\tverb/reg/10", "elder\tadj./-/20"});
    auto editor = create(dict.reference(), true, QStringLiteral("date"));
    editor->collapse(false);
    QVERIFY(showActive(editor.get()));
    auto maxFreq = child<QSpinBox>(editor.get(), "MaxFreq");
    maxFreq->setValue(range.at(1));
    if (range.at(1) < 31)
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(maxFreq));
    child<QSpinBox>(editor.get(), "MinFreq")->setValue(range.at(0));
    if (!rule.isEmpty()) {
        auto combo = child<QComboBox>(editor.get(), "FilterLIst");
        combo->setCurrentIndex(combo->findText(rule));
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(list(editor.get())));
    }
    QCOMPARE(listed(list(editor.get())), expected);
    QCOMPARE(count(editor.get()), QString::number(expected.size()));
    // The word box's word is found again in the new list, or the panel is cleared.
    const bool kept = expected.contains(QStringLiteral("date"));
    if (kept)
        QCOMPARE(currentText(list(editor.get())), QStringLiteral("date"));
    QCOMPARE(panelWord(editor.get()), kept ? QStringLiteral("date") : QString());
    // Digits and editing keys stay with a frequency box; anything else goes to the word box.
    maxFreq->setFocus();
    sendKey(editor.get(), Qt::Key_7, QStringLiteral("7"));
    sendKey(editor.get(), Qt::Key_Backspace);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(maxFreq));
    sendKey(editor.get(), Qt::Key_X, QStringLiteral("x"));
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(wordBox(editor.get())));
    QCOMPARE(wordBox(editor.get())->toPlainText(),
             QStringLiteral("x")); // the box selects its text when it loses the focus
    // refreshList catches up with changes made behind the window's back.
    dict->findWord(QStringLiteral("cherry"))->removeWord();
    editor->refreshList();
    QCOMPARE(listed(list(editor.get())), dict->wordList());
    QCOMPARE(count(editor.get()), QString::number(dict->filteredWordCount()));
}

// A large dictionary lists one letter group at a time: at first the group of the first word that passes the
// filter, then the group of the word box's text.
void TestDictEditor::letterGroupFollowsWordBox()
{
    QTemporaryDir dir;
    DictionaryReference groups = Prediction::createDictionary(
        dir.filePath(QStringLiteral("groups.dict")), QStringLiteral("Groups"), Prediction::American, nullptr, 2);
    for (const char *line : {"apple\tnoun/reg/5", "avocado\tnoun/reg/5", "banana\tverb/reg/5", "blueberry\tverb/reg/5",
                             "cherry\tnoun/reg/5"})
        QVERIFY(TempDictionary::applyLine(groups.get(), QString::fromLatin1(line)));
    QCOMPARE(groups->save(), 0);
    groups->setSelectionRule(QStringLiteral("Verbs only"));
    auto editor = create(groups);
    QVERIFY(showActive(editor.get()));
    QCOMPARE(listed(list(editor.get())), (QStringList{"banana", "blueberry"}));
    typeInto(wordBox(editor.get()), QStringLiteral("C"));
    QCOMPARE(listed(list(editor.get())), QStringList{"cherry"});
    typeInto(wordBox(editor.get()), QStringLiteral("av"));
    QCOMPARE(listed(list(editor.get())), (QStringList{"apple", "avocado"}));
    QCOMPARE(currentText(list(editor.get())), QStringLiteral("avocado"));
}

// A word dragged from one window's list to another's is copied with its codes; the drop is refused on the
// list the drag came from, on a read-only list and for other data.
void TestDictEditor::dragAndDrop()
{
    TempDictionary source({"Abbey\tname/-/12", "call\tverb/reg/18/Tn:up:|Ipr::about"});
    TempDictionary target({"zebra\tnoun/reg/9"});
    auto from = create(source.reference());
    auto to = create(target.reference());
    QVERIFY(showActive(from.get()));
    OurListWidget *fromList = child<OurListWidget>(from.get(), "listWidget");
    const QPoint start = fromList->visualItemRect(fromList->item(1)).center();
    QTest::mousePress(fromList->viewport(), Qt::LeftButton, Qt::NoModifier, start);
    QTest::mousePress(fromList->viewport(), Qt::RightButton, Qt::NoModifier, start + QPoint(50, 0));
    const int distance = QApplication::startDragDistance();
    for (int dx : {distance - 1, distance}) {
        QMouseEvent move(QEvent::MouseMove, start + QPoint(dx, 0), fromList->viewport()->mapToGlobal(start),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(fromList->viewport(), &move);
        QCOMPARE(int(fromList->findChildren<QDrag *>().size()), dx < distance ? 0 : 1);
    }
    QDrag *drag = fromList->findChildren<QDrag *>().constFirst();
    QCOMPARE(drag->supportedActions(), Qt::CopyAction);
    QMimeData data;
    const QString format = QString::fromLatin1(OurListWidget::WordMimeType);
    data.setData(format, drag->mimeData()->data(format));
    QCOMPARE(dragEnter(fromList, &data), Qt::IgnoreAction);
    QCOMPARE(dragEnter(list(to.get()), &data), Qt::CopyAction);
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(list(to.get())->viewport(), &drop);
    QCOMPARE(listed(list(to.get())), (QStringList{"call", "zebra"}));
    QCOMPARE(currentText(list(to.get())), QStringLiteral("call"));
    QCOMPARE(TempDictionary::describe(target->findWord(QStringLiteral("call"))),
             TempDictionary::describe(source->findWord(QStringLiteral("call"))));
    QCOMPARE(source->wordCount(), 2);
    data.setData(format, "no word in here"); // taken, but adds nothing
    QCoreApplication::sendEvent(list(to.get())->viewport(), &drop);
    QCOMPARE(target->wordCount(), 2);
    QMimeData text;
    text.setText(QStringLiteral("call"));
    QCOMPARE(dragEnter(list(to.get()), &text), Qt::IgnoreAction);
    to->setWritable(false);
    QCOMPARE(dragEnter(list(to.get()), &data), Qt::IgnoreAction);
}

void TestDictEditor::moreLessFontsAndHelp()
{
    TempDictionary dict({"about\tadv./-/20"});
    auto editor = create(dict.reference());
    auto moreLess = child(editor.get(), "MoreLessButton");
    QCOMPARE(editor->width(), 350);
    QVERIFY(!child(editor.get(), "ExportWordButton")->isEnabled());
    QTest::mouseClick(moreLess, Qt::LeftButton);
    QCOMPARE(editor->width(), 742);
    QCOMPARE(moreLess->text(), QStringLiteral("<< Less"));
    QVERIFY(child(editor.get(), "ExportWordButton")->isEnabled());
    editor->collapse(false);
    QCOMPARE(editor->width(), 742);
    editor->collapse(true);
    QCOMPARE(editor->maximumWidth(), 350);
    QCOMPARE(moreLess->text(), QStringLiteral("More >>"));

    const qreal details = editor->grammarPopUp->textBrowser->font().pointSizeF();
    child(editor.get(), "BiggerButton")->click();
    QCOMPARE(list(editor.get())->font().pointSize(), 10);
    QCOMPARE(wordBox(editor.get())->font().pointSize(), 10);
    QVERIFY(editor->grammarPopUp->textBrowser->font().pointSizeF() > details);
    for (int i = 0; i < 12; ++i)
        child(editor.get(), "SmallerButton")->click();
    QCOMPARE(list(editor.get())->font().pointSize(), 1);
    QVERIFY(editor->grammarPopUp->textBrowser->font().pointSizeF() < details);

    QString help;
    ModalAnswerer answer;
    answer.handle([&](QWidget *dialog) {
        help = dialog->findChild<QPlainTextEdit *>()->toPlainText();
        dialog->findChild<QPushButton *>(QStringLiteral("OkButton"))->click();
    });
    QVERIFY(QMetaObject::invokeMethod(editor.get(), "on_HelpButton_clicked"));
    QVERIFY(answer.answered());
    QVERIFY2(
        help.startsWith("To add a word, type the word in the \"Word\" box, then below the Word box, click \"add\""),
        qPrintable(help));
}

QTEST_MAIN(TestDictEditor)
#include "tst_dicteditor.moc"
