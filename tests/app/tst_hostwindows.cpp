// The host's editor windows: the prediction test window, a failed save answered for real, ending only
// when the last window is left without losing a change, and keyboard and screen-reader access: every text
// fits its widget, every control has a spoken name, a word can be edited and saved with the keyboard alone.

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QStyleOption>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <functional>

#include "adjectiveselectiondlg.h"
#include "changeconfirmationdlg.h"
#include "changedlg.h"
#include "dictionaryeditor.h"
#include "helpdlg.h"
#include "hostsetup.h"
#include "hostwindowmanager.h"
#include "modalanswerer.h"
#include "nounselectiondlg.h"
#include "ourtextbrowser.h"
#include "partofspeechselectiondlg.h"
#include "predictiontestwindow.h"
#include "tempdictionary.h"
#include "verbselectiondlg.h"
#include "windowsleft.h"

using FormFactory = std::function<QWidget *(DictionaryReference)>;
Q_DECLARE_METATYPE(FormFactory)

namespace {

const QFile::Permissions readOnlyFolder =
    QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;
const QFile::Permissions writableFolder = readOnlyFolder | QFile::WriteOwner;

const QStringList sampleLines = {"Abbey\tname/-/12", "abbot\tnoun/reg/14", "about\tadv./-/20",
                                 "call\tverb/reg/18/Tn:up:", "cat\tnoun/reg/16"};

// Runs the application's event loop until the manager ends it, or gives up; true when the manager ended it.
bool applicationQuits(int patienceMs)
{
    QTimer giveUp;
    QObject::connect(&giveUp, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    giveUp.start(patienceMs);
    return QCoreApplication::exec() == 0;
}

// Where widget's text needs more room than the style gives it, a line saying so.
QString overflow(QWidget *widget)
{
    const QFontMetrics metrics = widget->fontMetrics();
    QString text;
    int needed = 0, room = 0;
    if (auto label = qobject_cast<QLabel *>(widget); label && !Qt::mightBeRichText(label->text())) {
        text = label->text();
        needed = label->wordWrap() ? label->heightForWidth(label->width()) : metrics.boundingRect(text).width();
        room = label->wordWrap() ? label->height() : label->contentsRect().width();
    } else if (auto button = qobject_cast<QAbstractButton *>(widget)) {
        text = button->text().remove(QLatin1Char('&'));
        QStyleOptionButton option;
        option.initFrom(button);
        const auto contents = qobject_cast<QRadioButton *>(button) ? QStyle::SE_RadioButtonContents
                              : qobject_cast<QCheckBox *>(button)  ? QStyle::SE_CheckBoxContents
                                                                   : QStyle::SE_PushButtonContents;
        needed = metrics.horizontalAdvance(text);
        room = button->style()->subElementRect(contents, &option, button).width();
    } else if (auto box = qobject_cast<QGroupBox *>(widget)) {
        // The title starts one frame margin in from the left edge and must end before the right one.
        text = box->title();
        needed = metrics.horizontalAdvance(text) + 2 * box->style()->pixelMetric(QStyle::PM_LayoutLeftMargin);
        room = box->width();
    }
    return needed <= room
               ? QString()
               : QStringLiteral("%1 \"%2\" needs %3 px of %4").arg(widget->objectName(), text).arg(needed).arg(room);
}

template<class Dialog> FormFactory choice(const char *current)
{
    return [current](DictionaryReference) { return new Dialog(QString::fromLatin1(current)); };
}

} // namespace

class TestHostWindows : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup() { QTRY_VERIFY2(windowsLeft().isEmpty(), qPrintable(windowsLeft().join(' '))); }

    void hostCommands_data();
    void hostCommands();
    void testWindowFollowsTypingAndEdits();
    void failedSave_data();
    void failedSave();
    void quitsOnlyWhenNothingIsLost();
    void formsFitAndAreNamed_data();
    void formsFitAndAreNamed();
    void keyboardOnlyEdit();
};

void TestHostWindows::initTestCase()
{
    HostSetup::apply();
    QApplication::setQuitOnLastWindowClosed(false);
}

void TestHostWindows::hostCommands_data()
{
    QTest::addColumn<QKeySequence>("key");
    QTest::addColumn<bool>("writable");
    QTest::addColumn<QString>("effect");
    const auto row = [](const char *name, QKeySequence key, bool writable, const char *effect) {
        QTest::newRow(name) << key << writable << QString(effect);
    };
    row("F1", Qt::Key_F1, true, "font 9, width 350, unsaved, HelpDlg with the keys");
    row("Ctrl+T", Qt::CTRL | Qt::Key_T, false, "font 9, width 350, unsaved, test window");
    row("Ctrl+S", Qt::CTRL | Qt::Key_S, true, "font 9, width 350, saved");
    row("Ctrl+S in a viewer", Qt::CTRL | Qt::Key_S, false, "font 9, width 350, unsaved");
    row("Ctrl+Shift+S", Qt::CTRL | Qt::SHIFT | Qt::Key_S, false, "font 9, width 350, unsaved, QFileDialog");
    row("Ctrl++", Qt::CTRL | Qt::Key_Plus, true, "font 10, width 350, unsaved");
    row("Ctrl+=", Qt::CTRL | Qt::Key_Equal, true, "font 10, width 350, unsaved");
    row("Ctrl+-", Qt::CTRL | Qt::Key_Minus, true, "font 8, width 350, unsaved");
    row("Ctrl+M", Qt::CTRL | Qt::Key_M, true, "font 9, width 742, unsaved");
}

// Each of the host's keys runs its command in the window, which also lists the commands on its toolbar
// (with their keys) and in its context menu.
void TestHostWindows::hostCommands()
{
    QFETCH(QKeySequence, key);
    QFETCH(bool, writable);
    QFETCH(QString, effect);
    TempDictionary dictionary(sampleLines);
    HostWindowManager manager;
    DictionaryEditor *window = manager.addWindow(dictionary.reference(), writable);
    manager.showAll();
    QVERIFY(QTest::qWaitForWindowActive(window));
    QVERIFY(dictionary->addWord(QStringLiteral("zebra"), QStringLiteral("edit")));

    QStringList commands{"Help",        "Test Prediction", "Save",        "Export Words",
                         "Bigger Font", "Smaller Font",    "More or Less"};
    if (writable)
        commands << "Undo"
                 << "Redo";
    else
        commands.removeOne("Save");
    QStringList onBar, tips;
    for (const QAction *action : window->findChild<QToolBar *>()->actions()) {
        onBar << action->text();
        tips << action->toolTip();
    }
    QCOMPARE(onBar, commands);
    QVERIFY2(tips.contains("More or Less (Ctrl+M)"), qPrintable(tips.join(", ")));
    QCOMPARE(window->contextMenuPolicy(), Qt::ActionsContextMenu);
    QCOMPARE(window->actions(), window->findChild<QToolBar *>()->actions());
    // The form lies whole below the bar, the list and the details panel ending 10 pixels above the bottom.
    const QWidget *form = window->findChild<QWidget *>("centralWidget");
    QCOMPARE(form->y(), window->findChild<QToolBar *>()->height());
    const QWidget *list = window->findChild<QListWidget *>();
    QCOMPARE(list->mapTo(window, QPoint(0, list->height() - 1)).y(), window->height() - 10);
    QCOMPARE(window->findChild<OurTextBrowser *>()->parentWidget()->geometry(),
             window->findChild<QWidget *>("GrammarFrame")->geometry().translated(form->pos()));

    QString modal;
    ModalAnswerer answer;
    answer.handle([&](QWidget *dialog) {
        modal = dialog->metaObject()->className();
        if (auto help = dialog->findChild<QPlainTextEdit *>())
            modal += help->toPlainText().contains("Keys: Help F1, Test Prediction Ctrl+T") ? " with the keys" : "";
        static_cast<QDialog *>(dialog)->reject();
    });
    QTest::keySequence(window, key);
    PredictionTestWindow *test = manager.testWindow(dictionary.reference());
    QStringList seen{QStringLiteral("font %1").arg(window->findChild<QListWidget *>()->font().pointSize()),
                     QStringLiteral("width %1").arg(window->width()), dictionary->isDirty() ? "unsaved" : "saved"};
    if (test && test->isVisible())
        seen << "test window";
    if (!modal.isEmpty())
        seen << modal;
    QCOMPARE(seen.join(", "), effect);
    if (test)
        test->hide();
}

// What the test window offers follows the line as it is typed and the dictionary as it is edited.
void TestHostWindows::testWindowFollowsTypingAndEdits()
{
    TempDictionary dictionary({"cab\tnoun/reg/10", "cable\tnoun/reg/12;verb/reg/5", "Cabin\tnoun/reg/12",
                               "cat\tnoun/reg/16", "dog\tnoun/reg/20"});
    HostWindowManager manager;
    DictionaryEditor *window = manager.addWindow(dictionary.reference(), true);
    manager.showAll();
    QVERIFY(QTest::qWaitForWindowActive(window));
    QTest::keySequence(window, QKeySequence(Qt::CTRL | Qt::Key_T));
    PredictionTestWindow *test = manager.testWindow(dictionary.reference());
    QVERIFY(test && QTest::qWaitForWindowActive(test));
    // Beside the editor window, where it hides nothing of it.
    QVERIFY(!test->frameGeometry().intersects(window->frameGeometry()));
    QCOMPARE(test->offers().first(), QStringLiteral("dog\t20\tnoun"));

    // At the start of a sentence the frequency orders, and of two words as frequent the one that may also be
    // a verb, which often begins a sentence, goes first.
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Ca"));
    QCOMPARE(test->offers(),
             (QStringList{"cat\t16\tnoun", "cable\t12\tnoun, verb", "Cabin\t12\tnoun", "cab\t10\tnoun"}));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_B);
    QCOMPARE(test->wordBeingTyped(), QStringLiteral("Cab"));
    QCOMPARE(test->offers().size(), 3);

    // Edits made elsewhere show without typing: a frequency raised, a word removed.
    dictionary->findWord(QStringLiteral("cab"))->codes.first()->setFrequency(QStringLiteral("30"));
    dictionary->findWord(QStringLiteral("cable"))->removeWord();
    QTRY_COMPARE(test->offers(), (QStringList{"cab\t30\tnoun", "Cabin\t12\tnoun"}));

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QVERIFY(!test->isVisible());
    window->hide();
}

void TestHostWindows::failedSave_data()
{
    QTest::addColumn<QString>("answer");
    QTest::newRow("Try Again once the folder is writable") << "Try Again";
    QTest::newRow("Save a Copy") << "Save a Copy...";
    QTest::newRow("Cancel") << "Cancel";
}

// A save that fails says why and offers a way out; the window's list and filter are as they were after it.
void TestHostWindows::failedSave()
{
    QFETCH(QString, answer);
    const bool copyMade = answer.startsWith(QLatin1String("Save a Copy"));

    TempDictionary dictionary(sampleLines);
    QTemporaryDir elsewhere;
    const QString copyPath = elsewhere.filePath(QStringLiteral("rescued.dict"));
    HostWindowManager manager;
    DictionaryEditor *window = manager.addWindow(dictionary.reference(), true);
    window->show();
    auto filter = window->findChild<QComboBox *>();
    filter->setCurrentText(QStringLiteral("Nouns only"));
    QVERIFY(dictionary->addWord(QStringLiteral("zebra"), QStringLiteral("edit")));
    window->refreshList();
    auto list = window->findChild<QListWidget *>();
    QCOMPARE(list->count(), 3);
    QVERIFY(QFile::setPermissions(dictionary.folder(), readOnlyFolder));

    ModalAnswerer failure, fileDialog, done;
    failure.handle([&](QWidget *box) {
        if (answer == QLatin1String("Try Again"))
            QFile::setPermissions(dictionary.folder(), writableFolder);
        fileDialog.handle([&](QWidget *dialog) {
            done.clickButton(QStringLiteral("OK"));
            // Typed as a person would: selectFile() leaves the name box alone once it has the focus.
            dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(copyPath);
            static_cast<QDialog *>(dialog)->accept();
        });
        for (QAbstractButton *button : box->findChildren<QAbstractButton *>())
            if (button->text() == answer)
                return button->click();
    });
    QVERIFY(QMetaObject::invokeMethod(window, "on_SaveButton_clicked", Q_ARG(bool, false)));
    QFile::setPermissions(dictionary.folder(), writableFolder);

    QVERIFY(failure.answered());
    QVERIFY2(failure.text().contains(QStringLiteral("\"Test\" could not be saved.")), qPrintable(failure.text()));
    QCOMPARE(dictionary->isDirty(), answer != QLatin1String("Try Again"));
    QCOMPARE(fileDialog.answered() && done.answered() && done.text().contains(copyPath), copyMade);
    DictionaryReference copy = Prediction::openDictionary(copyPath);
    QCOMPARE(copy != 0 && copy->wordCount() == dictionary->wordCount() &&
                 copy->findWord(QStringLiteral("zebra"))->codes.size() == 1,
             copyMade);
    QCOMPARE(filter->currentText(), QStringLiteral("Nouns only"));
    QCOMPARE(list->count(), 3);
    window->hide();
}

// A window left (Done) while another shows keeps the application going; a save that fails and is left
// brings its window back with the changes; leaving without them at last ends the application.
void TestHostWindows::quitsOnlyWhenNothingIsLost()
{
    TempDictionary dictionary(sampleLines), other(sampleLines);
    HostWindowManager manager;
    DictionaryEditor *window = manager.addWindow(dictionary.reference(), true);
    DictionaryEditor *viewer = manager.addWindow(other.reference(), false);
    manager.showAll();
    QVERIFY(QTest::qWaitForWindowExposed(viewer));
    QVERIFY(viewer->requestDone());
    QVERIFY(!viewer->isVisible());
    QVERIFY(!applicationQuits(300));

    QVERIFY(dictionary->addWord(QStringLiteral("zebra"), QStringLiteral("edit")));
    ModalAnswerer stay;
    stay.clickButton(QStringLiteral("Cancel"));
    QVERIFY(!window->requestDone());
    QVERIFY(stay.answered() && window->isVisible());
    QVERIFY(QFile::setPermissions(dictionary.folder(), readOnlyFolder));
    ModalAnswerer question, failure;
    question.handle([&](QWidget *modal) {
        failure.clickButton(QStringLiteral("Cancel"));
        modal->findChild<QAbstractButton *>(QStringLiteral("YesButton"))->click();
    });
    QVERIFY(QMetaObject::invokeMethod(window, "on_DoneButton_clicked"));
    QFile::setPermissions(dictionary.folder(), writableFolder);
    QVERIFY(question.answered() && failure.answered());
    QTRY_VERIFY(window->isVisible());
    QVERIFY(dictionary->isDirty());
    QVERIFY(!applicationQuits(300));

    ModalAnswerer discard;
    discard.clickButton(QStringLiteral("No"));
    QVERIFY(QMetaObject::invokeMethod(window, "on_DoneButton_clicked"));
    QVERIFY(discard.answered());
    QVERIFY(!dictionary->isDirty());
    QVERIFY(applicationQuits(5000));
}

void TestHostWindows::formsFitAndAreNamed_data()
{
    QTest::addColumn<FormFactory>("make");
    QTest::newRow("editor window") << FormFactory([](DictionaryReference d) {
        DictionaryEditor *window = DictionaryEditor::createEditor(true, "call", d, nullptr, {}, true);
        window->collapse(false);
        return window;
    });
    QTest::newRow("help") << FormFactory([](DictionaryReference) { return new HelpDlg; });
    QTest::newRow("change spelling") << FormFactory([](DictionaryReference) { return new ChangeDlg(nullptr, "cat"); });
    QTest::newRow("save question") << FormFactory([](DictionaryReference) { return new ChangeConfirmationDlg; });
    QTest::newRow("part of speech") << choice<PartOfSpeechSelectionDlg>("noun");
    QTest::newRow("noun") << choice<NounSelectionDlg>("reg");
    QTest::newRow("verb") << choice<VerbSelectionDlg>("reg");
    QTest::newRow("adjective") << choice<AdjectiveSelectionDlg>("reg");
}

void TestHostWindows::formsFitAndAreNamed()
{
    QFETCH(FormFactory, make);
    TempDictionary dictionary({"call\tverb/reg/18/Tn:up:", "cat\tnoun/reg/16"});
    std::unique_ptr<QWidget> form(make(dictionary.reference()));
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    QStringList problems;
    for (QWidget *widget : form->findChildren<QWidget *>()) {
        if (!widget->isVisibleTo(form.get()))
            continue;
        problems << overflow(widget);
        // A control that takes the focus (not a part of a spin or combo box) needs a spoken name of words:
        // "+" or "<<" says nothing to a person who cannot see it.
        QWidget *parent = widget->parentWidget();
        const bool control = (widget->focusPolicy() & Qt::TabFocus) && !parent->inherits("QAbstractSpinBox") &&
                             !parent->inherits("QComboBox");
        const QString name = QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
        if (control && !name.contains(QRegularExpression(QStringLiteral("\\w\\w"))))
            problems << widget->objectName() + QLatin1Char(' ') + widget->metaObject()->className() + " has no name";
    }
    problems.removeAll(QString());
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QStringLiteral("; "))));
}

// A word typed and added with Return, its part of speech changed through the details panel's link (reached
// with Tab, followed with Return, the choice made with arrow keys) and saved with the host's key.
void TestHostWindows::keyboardOnlyEdit()
{
    TempDictionary dictionary({"call\tverb/reg/18", "cat\tnoun/reg/16"});
    HostWindowManager manager;
    DictionaryEditor *window = manager.addWindow(dictionary.reference(), true);
    manager.showAll();
    QVERIFY(QTest::qWaitForWindowActive(window));
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("tabby"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    Word *added = dictionary->findWord(QStringLiteral("tabby"));
    QVERIFY(added && added->codes.first()->partOfSpeech != QLatin1String("verb"));

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_M, Qt::ControlModifier); // More shows the details panel
    auto details = window->findChild<OurTextBrowser *>();
    for (int i = 0;
         i < 40 && !(QApplication::focusWidget() == details &&
                     details->textCursor().charFormat().anchorHref().contains(QStringLiteral("part_of_speech")));
         ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), details);
    ModalAnswerer choose;
    choose.handle([](QWidget *dialog) {
        for (int i = 0; i < 20 && !qobject_cast<QRadioButton *>(QApplication::focusWidget()); ++i)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        for (int i = 0;
             i < 10 && !static_cast<QAbstractButton *>(QApplication::focusWidget())->text().startsWith("Verb"); ++i)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QTest::keyClick(dialog, Qt::Key_Return);
    });
    QTest::keyClick(details, Qt::Key_Return);
    QVERIFY(choose.answered());
    QCOMPARE(added->codes.first()->partOfSpeech, QStringLiteral("verb"));

    window->activateWindow(); // what a desktop's window manager does when the dialog closes
    QVERIFY(QTest::qWaitForWindowActive(window));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::ControlModifier);
    QVERIFY(!dictionary->isDirty());
    QVERIFY(dictionary->reload());
    QCOMPARE(dictionary->findWord(QStringLiteral("tabby"))->codes.first()->partOfSpeech, QStringLiteral("verb"));
    window->hide();
}

QTEST_MAIN(TestHostWindows)
#include "tst_hostwindows.moc"
