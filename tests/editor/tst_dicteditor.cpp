// The editor window as a host sees it: the factory, the signals, the form and the presentation.

#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QHash>
#include <QLineEdit>
#include <QMetaMethod>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <QTranslator>
#include <QtTest>

#include "editortesthelpers.h"
#include "modalanswerer.h"
#include "ourlineedit.h"
#include "ourlistwidget.h"

using namespace EditorTest;

class TestDictEditor : public QObject
{
    Q_OBJECT

private slots:
    void userModelIsTrueBeforeAnyEditor();
    void translationFunctionsUseInterfaceContext();
    void unboundHandleGivesEmptyInertWindow();
    void factoryStartsOnFirstWordOrGivenWord_data();
    void factoryStartsOnFirstWordOrGivenWord();
    void startingWordNotInDictionary();
    void hostConnectedBySignatureHearsActivation();
    void declaredSignalsAndSlots_data();
    void declaredSignalsAndSlots();
    void slotsInvokedByNameEmit_data();
    void slotsInvokedByNameEmit();
    void placementFollowsAvailableGeometry();
    void formWidgets();
    void formSettingsThatDriveBehaviour();
    void tabOrder();
    void buttonsAfterConstruction_data();
    void buttonsAfterConstruction();
    void windowTitle_data();
    void windowTitle();
    void collapseAndExpand_data();
    void collapseAndExpand();
    void fontButtons_data();
    void fontButtons();
    void resizeKeepsListAndDetailsAboveBottomMargin();
    void helpRunsModally();
    void deletingShownWindowDeletesPanel();
    void cleanup();
};

void TestDictEditor::userModelIsTrueBeforeAnyEditor()
{
    QVERIFY(DictionaryEditor::userModel());
}

namespace {

/// Translates every text of one context by marking it, so a test sees which context a lookup used.
class MarkingTranslator : public QTranslator
{
public:
    explicit MarkingTranslator(const char *context) : m_context(context) {}
    bool isEmpty() const override { return false; }
    QString translate(const char *context, const char *sourceText, const char *, int n) const override
    {
        if (qstrcmp(context, m_context) != 0)
            return QString();
        return QStringLiteral("[%1 %2]").arg(QLatin1String(sourceText)).arg(n);
    }

private:
    const char *m_context;
};

} // namespace

void TestDictEditor::translationFunctionsUseInterfaceContext()
{
    MarkingTranslator translator("DictionaryEditor");
    QVERIFY(QCoreApplication::installTranslator(&translator));
    const QString plain = DictionaryEditor::tr("Word");
    const QString utf8 = DictionaryEditor::trUtf8("Word");
    const QString counted = DictionaryEditor::trUtf8("Words", nullptr, 3);
    QCoreApplication::removeTranslator(&translator);
    QCOMPARE(plain, QStringLiteral("[Word -1]"));
    QCOMPARE(utf8, QStringLiteral("[Word -1]"));
    QCOMPARE(counted, QStringLiteral("[Words 3]"));
}

void TestDictEditor::unboundHandleGivesEmptyInertWindow()
{
    auto editor = create(DictionaryReference(), true, QStringLiteral("word"));
    QVERIFY(editor);
    QCOMPARE(list(editor.get())->count(), 0);
    QSignalSpy changed(editor.get(), SIGNAL(DictionaryChanged()));
    for (const char *slot : {"on_AddWordButton_clicked", "on_DeleteWordButton_clicked", "on_changeButton_clicked",
                             "on_addGrammarButton_clicked", "refreshList"})
        QVERIFY(QMetaObject::invokeMethod(editor.get(), slot));
    QCOMPARE(changed.count(), 0);
    QCOMPARE(list(editor.get())->count(), 0);
}

void TestDictEditor::factoryStartsOnFirstWordOrGivenWord_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("expected");
    const QStringList three = {"about\tadv./-/20", "abbot\tnoun/reg/9", "Abbey\tname/-/5"};
    QTest::newRow("empty dictionary") << QStringList() << QString() << QString();
    QTest::newRow("empty word: first of the list") << three << QString() << "Abbey";
    QTest::newRow("word in the dictionary") << three << "about"
                                            << "about";
    QTest::newRow("word in the middle") << three << "abbot"
                                        << "abbot";
}

void TestDictEditor::factoryStartsOnFirstWordOrGivenWord()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, word);
    QFETCH(QString, expected);
    TempDictionary dict(lines);
    QVERIFY2(dict.error().isEmpty(), qPrintable(dict.error()));
    auto editor = create(dict.reference(), true, word);
    QVERIFY(editor);
    QVERIFY(!editor->isVisible());
    QVERIFY(editor->dictionary == dict.reference());
    QCOMPARE(wordBox(editor.get())->toPlainText(), expected);
    QCOMPARE(currentText(list(editor.get())), expected);
    QCOMPARE(listed(list(editor.get())), dict->wordList());
    QCOMPARE(child<QLineEdit>(editor.get(), "debugwindow")->text(), QString::number(dict->filteredWordCount()));
    auto combo = child<QComboBox>(editor.get(), "FilterLIst");
    QStringList rules;
    for (int i = 0; i < combo->count(); ++i)
        rules << combo->itemText(i);
    QCOMPARE(rules, dict->selectionRules());
    QCOMPARE(combo->currentIndex(), 0);
    QCOMPARE(panelWord(editor.get()), expected);
    if (!expected.isEmpty()) {
        QVERIFY(editor->currentWord);
        QCOMPARE(editor->currentWord->text, expected);
    }
    QCOMPARE(editor->grammarMode, QStringLiteral("basic_grammar"));
    QVERIFY(!editor->transferMode);
    // Shown, the window has the word box focused, ready for typing.
    QVERIFY(showActive(editor.get()));
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(wordBox(editor.get())));
}

void TestDictEditor::startingWordNotInDictionary()
{
    TempDictionary dict({"about\tadv./-/20", "abbot\tnoun/reg/9", "Abbey\tname/-/5"});
    auto editor = create(dict.reference(), true, QStringLiteral("zebra"));
    QCOMPARE(wordBox(editor.get())->toPlainText(), QStringLiteral("zebra"));
    const auto exact = list(editor.get())->findItems(QStringLiteral("zebra"), Qt::MatchExactly);
    QVERIFY(exact.isEmpty());
    QVERIFY(panelEmpty(editor.get()));
    auto add = child<QPushButton>(editor.get(), "AddWordButton");
    QVERIFY(add->isEnabled());
    QCOMPARE(add->text(), QStringLiteral("Add"));

    auto viewer = create(dict.reference(), false, QStringLiteral("zebra"));
    QVERIFY(!child<QPushButton>(viewer.get(), "AddWordButton")->isEnabled());
}

void TestDictEditor::hostConnectedBySignatureHearsActivation()
{
    TempDictionary dict({"about", "abbot"});
    DictionaryEditor *editor =
        DictionaryEditor::createEditor(true, QString(), dict.reference(), nullptr, Qt::WindowFlags(), false);
    std::unique_ptr<DictionaryEditor> owner(editor);
    QSignalSpy activated(editor, SIGNAL(EditWindow_Activate(DictionaryReference)));
    QVERIFY(activated.isValid());
    QVERIFY(showActive(editor));
    activated.clear();
    editor->raise();
    QTRY_VERIFY(activated.count() >= 1);
    QVERIFY(argument(activated, 0) == dict.reference());
}

void TestDictEditor::declaredSignalsAndSlots_data()
{
    // Hosts reach these by name and signature, so each class's own methods are fixed in kind ("S" for a signal),
    // access ("+" public, "-" private) and order; the parameter names listed are part of what a host sees as well.
    QTest::addColumn<QByteArray>("className");
    QTest::addColumn<QString>("methods");
    QTest::addColumn<QStringList>("parameterNames");
    QTest::newRow("DictionaryEditor")
        << QByteArray("DictionaryEditor")
        << "S+EditWindow_Activate(DictionaryReference) S+Save_Dictionary(DictionaryReference) "
           "S+Test_Dictionary(DictionaryReference) +setWritable(bool) +setTransferTo(DictionaryReference) "
           "+refreshList() +updateWindowTitle() +findWord(QString) +collapse(bool)"
        << QStringList{"EditWindow_Activate(DictionaryReference) d", "Save_Dictionary(DictionaryReference) d",
                       "Test_Dictionary(DictionaryReference) d"};
    QTest::newRow("DictEditor")
        << QByteArray("DictEditor")
        << "S+textChanging(QString) S+EditWindow_Activate(DictionaryReference) S+EditWindow_Close(DictionaryReference) "
           "S+Save_Dictionary(DictionaryReference) S+Test_Dictionary(DictionaryReference) "
           "S+UserWantsToolkit(DictionaryReference) S+DictionaryChanged() +adaptToContext(bool,bool,bool,bool) "
           "+grammarFocusLost() +scrollTheList(int) +DeleteThisGCode(int) +on_addGrammarButton_clicked() "
           "-on_ToolkitButton_clicked() -gottaTab() -gottaChange(QString) -on_TestButton_clicked(bool) "
           "-on_SaveButton_clicked(bool) -on_FilterLIst_currentIndexChanged(QString) -on_changeButton_clicked() "
           "-on_MaxFreq_valueChanged(int) -on_MinFreq_valueChanged(int) -on_SmallerButton_clicked() "
           "-on_BiggerButton_clicked() -on_lineEdit_textChanged() -on_listWidget_itemSelectionChanged() "
           "-on_deleteUsageButton_clicked() -on_addUsageButton_clicked() -on_DeleteGrammarButton_clicked() "
           "-on_DeleteWordButton_clicked() -on_AddWordButton_clicked() -on_listWidget_clicked(QModelIndex) "
           "-on_BasicGrammarButton_clicked() -on_AdvancedGrammarButton_clicked() -on_DoneButton_clicked() "
           "-on_HelpButton_clicked() -on_ExportWordButton_clicked() -on_MoreLessButton_clicked()"
        << QStringList{"textChanging(QString) d",
                       "EditWindow_Activate(DictionaryReference) d",
                       "EditWindow_Close(DictionaryReference) d",
                       "Save_Dictionary(DictionaryReference) d",
                       "Test_Dictionary(DictionaryReference) d",
                       "UserWantsToolkit(DictionaryReference) d",
                       "DeleteThisGCode(int) ix"};
    QTest::newRow("OurLineEdit") << QByteArray("OurLineEdit")
                                 << "S+userIsCursoring(int) S+userIsTabbing() +rememberCopyStatus(bool)"
                                 << QStringList{"rememberCopyStatus(bool) copyAvailable"};
}

void TestDictEditor::declaredSignalsAndSlots()
{
    QFETCH(QByteArray, className);
    QFETCH(QString, methods);
    QFETCH(QStringList, parameterNames);
    const QMetaObject *meta = className == "DictionaryEditor" ? &DictionaryEditor::staticMetaObject
                              : className == "DictEditor"     ? &DictEditor::staticMetaObject
                                                              : &OurLineEdit::staticMetaObject;
    QCOMPARE(QByteArray(meta->className()), className);
    QStringList declared;
    QHash<QString, QString> names;
    for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
        const QMetaMethod method = meta->method(i);
        const QString signature = QString::fromLatin1(method.methodSignature());
        const char *access = method.access() == QMetaMethod::Public      ? "+"
                             : method.access() == QMetaMethod::Protected ? "#"
                                                                         : "-";
        declared << QLatin1String(method.methodType() == QMetaMethod::Signal ? "S" : "") + QLatin1String(access) +
                        signature;
        QStringList parameters;
        for (const QByteArray &name : method.parameterNames())
            parameters << QString::fromLatin1(name);
        names.insert(signature, parameters.join(QLatin1Char(',')));
    }
    QCOMPARE(declared, methods.split(QLatin1Char(' ')));
    for (const QString &entry : parameterNames)
        QCOMPARE(names.value(entry.section(QLatin1Char(' '), 0, 0)), entry.section(QLatin1Char(' '), 1));
}

void TestDictEditor::slotsInvokedByNameEmit_data()
{
    QTest::addColumn<QByteArray>("slot");
    QTest::addColumn<bool>("takesBool");
    QTest::addColumn<QByteArray>("signal");
    QTest::newRow("toolkit") << QByteArray("on_ToolkitButton_clicked") << false
                             << QByteArray(SIGNAL(UserWantsToolkit(DictionaryReference)));
    QTest::newRow("test") << QByteArray("on_TestButton_clicked") << true
                          << QByteArray(SIGNAL(Test_Dictionary(DictionaryReference)));
}

void TestDictEditor::slotsInvokedByNameEmit()
{
    QFETCH(QByteArray, slot);
    QFETCH(bool, takesBool);
    QFETCH(QByteArray, signal);
    TempDictionary dict({"about"});
    auto editor = create(dict.reference());
    QSignalSpy spy(editor.get(), signal.constData());
    QVERIFY(spy.isValid());
    const bool invoked = takesBool ? QMetaObject::invokeMethod(editor.get(), slot.constData(), Q_ARG(bool, false))
                                   : QMetaObject::invokeMethod(editor.get(), slot.constData());
    QVERIFY(invoked);
    QCOMPARE(spy.count(), 1);
    QVERIFY(argument(spy, 0) == dict.reference());
}

void TestDictEditor::placementFollowsAvailableGeometry()
{
    TempDictionary dict({"about"});
    auto editor = create(dict.reference());
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    QCOMPARE(editor->geometry().height(), available.height() - 70);
    QCOMPARE(editor->geometry().top(), 50);
    QCOMPARE(editor->minimumWidth(), editor->maximumWidth());
    QCOMPARE(editor->expandedRect.width(), 742);
    QCOMPARE(editor->collapsedRect.right(), 350);
}

void TestDictEditor::formWidgets()
{
    TempDictionary dict({"about"});
    auto editor = create(dict.reference());
    // Hosts and tests find the controls by these names; each sits in its group, as "name:Class:parent".
    const QStringList expected =
        QStringLiteral(
            "groupBox:QGroupBox:centralWidget lineEdit:OurLineEdit:groupBox DeleteWordButton:QPushButton:groupBox "
            "changeButton:QPushButton:groupBox AddWordButton:QPushButton:groupBox groupBox_3:QGroupBox:centralWidget "
            "FilterLIst:QComboBox:groupBox_3 groupBox_4:QGroupBox:centralWidget MinFreq:QSpinBox:groupBox_4 "
            "MaxFreq:QSpinBox:groupBox_4 groupBox_2:QGroupBox:centralWidget addGrammarButton:QPushButton:groupBox_2 "
            "DeleteGrammarButton:QPushButton:groupBox_2 groupBox_5:QGroupBox:centralWidget "
            "BasicGrammarButton:QRadioButton:groupBox_5 AdvancedGrammarButton:QRadioButton:groupBox_5 "
            "groupBox_15:QGroupBox:centralWidget debugwindow:QLineEdit:groupBox_15 groupBox_10:QGroupBox:centralWidget "
            "BiggerButton:QPushButton:groupBox_10 SmallerButton:QPushButton:groupBox_10 "
            "MoreLessButton:QPushButton:centralWidget SaveButton:QPushButton:centralWidget "
            "DoneButton:QPushButton:centralWidget ExportWordButton:QPushButton:centralWidget "
            "listWidget:QListWidget:centralWidget GrammarFrame:QFrame:centralWidget")
            .split(QLatin1Char(' '));
    QStringList found;
    for (const QString &entry : expected) {
        const QString name = entry.section(QLatin1Char(':'), 0, 0);
        QWidget *widget = editor->findChild<QWidget *>(name);
        found << (widget ? QStringLiteral("%1:%2:%3")
                               .arg(name, QLatin1String(widget->metaObject()->className()),
                                    widget->parentWidget()->objectName())
                         : name + QStringLiteral(" missing"));
    }
    QCOMPARE(found, expected);
    QVERIFY(dynamic_cast<OurListWidget *>(list(editor.get())));
    QCOMPARE(child<QPushButton>(editor.get(), "DeleteWordButton")->text(), QStringLiteral("&Delete"));
    QCOMPARE(child<QPushButton>(editor.get(), "SaveButton")->text(), QStringLiteral("&Save"));

    // The tooltips keep their line breaks, trailing blanks and slips of the pen.
    const QList<QPair<const char *, QString>> tips = {
        {"AddWordButton", "Add the word in the word box to the dictionary. \nFor Collected Words, this button can also "
                          "transfer \na word from Collected to the PersonalDictionary."},
        {"MinFreq", "Select the lowest word-frequency\nscore for the words you want to see."},
        {"MaxFreq", "Select the highest word-frequency \nscorefor the words you want to see."},
        {"addGrammarButton", "Add a new grammar entry for the selected word. \nYou can then change the 'new' entry to "
                             "the\ngrammar code of your choice."},
        {"DeleteGrammarButton", "In the Word Details panel, click any non-\nunderlined area of the grammar entry \nyou "
                                "want to delete, then click this button."},
        {"BasicGrammarButton",
         "Have Lexora assign basic grammar codes \nto words that you add, such as 'study = verb.'"},
        {"AdvancedGrammarButton", "Have Lexora assign more advanced\ngrammar codes to words that you add, \nsuch as "
                                  "'study = verb and noun.'"},
        {"debugwindow", "Word Count - Shows the number of \nwordsin the list you are now viewing."},
        {"ExportWordButton", "Send the words you are now viewing to a\ntext file. You can then open that file in "
                             "any\ntext application to use as a list or to print."}};
    for (const auto &tip : tips)
        QCOMPARE(child(editor.get(), tip.first)->toolTip(), tip.second);
}

void TestDictEditor::formSettingsThatDriveBehaviour()
{
    TempDictionary dict({"about"});
    auto editor = create(dict.reference());
    // Only the word box, the list and the command buttons take focus; filters, counts and font buttons do not.
    QStringList noFocus;
    const auto widgets = editor->findChildren<QWidget *>();
    for (QWidget *widget : widgets) {
        if (widget->focusPolicy() == Qt::NoFocus && !widget->objectName().isEmpty() && widget->parentWidget() &&
            widget->parentWidget()->objectName().startsWith(QLatin1String("groupBox")))
            noFocus << widget->objectName();
    }
    noFocus.sort();
    QCOMPARE(noFocus,
             QStringList({"BiggerButton", "FilterLIst", "MaxFreq", "MinFreq", "SmallerButton", "debugwindow"}));
    QCOMPARE(child(editor.get(), "GrammarFrame")->focusPolicy(), Qt::NoFocus);
    QCOMPARE(wordBox(editor.get())->focusPolicy(), Qt::WheelFocus);
    QVERIFY(wordBox(editor.get())->tabChangesFocus());
    QVERIFY(!wordBox(editor.get())->acceptRichText());
    QVERIFY(child<QPushButton>(editor.get(), "AddWordButton")->isDefault());
    auto minFreq = child<QSpinBox>(editor.get(), "MinFreq");
    auto maxFreq = child<QSpinBox>(editor.get(), "MaxFreq");
    QCOMPARE(QList<int>({minFreq->minimum(), minFreq->maximum(), minFreq->value()}), QList<int>({0, 31, 0}));
    QCOMPARE(QList<int>({maxFreq->minimum(), maxFreq->maximum(), maxFreq->value()}), QList<int>({1, 31, 31}));
    QVERIFY(child<QPushButton>(editor.get(), "BiggerButton")->autoRepeat());
    QVERIFY(child<QPushButton>(editor.get(), "SmallerButton")->autoRepeat());
    QVERIFY(list(editor.get())->uniformItemSizes());
    QCOMPARE(list(editor.get())->dragDropMode(), QAbstractItemView::DragDrop);
    // The selection stays visible, in its own colour, when the list or the details lose focus.
    const QList<QPair<QWidget *, QColor>> highlights = {{list(editor.get()), QColor(10, 36, 106)},
                                                        {child(editor.get(), "GrammarFrame"), QColor(0, 170, 0)}};
    for (const auto &highlight : highlights) {
        for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
            QCOMPARE(highlight.first->palette().color(group, QPalette::Highlight), highlight.second);
            QCOMPARE(highlight.first->palette().color(group, QPalette::HighlightedText), QColor(Qt::white));
        }
    }
    QCOMPARE(child(editor.get(), "GrammarFrame")->font().pointSize(), 12);
}

void TestDictEditor::tabOrder()
{
    TempDictionary dict({"about"});
    auto editor = create(dict.reference());
    const QStringList order = {"listWidget",          "lineEdit",           "AddWordButton",
                               "DeleteWordButton",    "changeButton",       "SaveButton",
                               "DoneButton",          "MoreLessButton",     "addGrammarButton",
                               "DeleteGrammarButton", "BasicGrammarButton", "AdvancedGrammarButton",
                               "ExportWordButton"};
    for (int i = 0; i + 1 < order.size(); ++i) {
        QWidget *from = editor->findChild<QWidget *>(order.at(i));
        QVERIFY(from);
        // Walk the focus chain to the next widget of the ordered set.
        QWidget *next = from->nextInFocusChain();
        while (next != from && !order.contains(next->objectName()))
            next = next->nextInFocusChain();
        QCOMPARE(next->objectName(), order.at(i + 1));
    }
}

void TestDictEditor::buttonsAfterConstruction_data()
{
    QTest::addColumn<bool>("writable");
    QTest::newRow("editor") << true;
    QTest::newRow("viewer") << false;
}

void TestDictEditor::buttonsAfterConstruction()
{
    QFETCH(bool, writable);
    TempDictionary dict({"about\tadv./-/20", "abbot\tnoun/reg/9"}, Prediction::American, QStringLiteral("Personal"));
    auto editor = create(dict.reference(), writable);
    for (const char *name : {"AddWordButton", "DeleteWordButton", "changeButton", "SaveButton"})
        QVERIFY2(child<QPushButton>(editor.get(), name)->isEnabled() == writable, name);
    // The grammar group is disabled while the window is collapsed; the buttons keep their own state.
    auto deleteGrammar = child<QPushButton>(editor.get(), "DeleteGrammarButton");
    QVERIFY(!deleteGrammar->isEnabledTo(deleteGrammar->parentWidget()));
    // The word box holds a listed word, so the panel's notice makes Add available in an editor only.
    auto addGrammar = child<QPushButton>(editor.get(), "addGrammarButton");
    QCOMPARE(addGrammar->isEnabledTo(addGrammar->parentWidget()), writable);
    QCOMPARE(editor->writable, writable);
    QVERIFY(child<QRadioButton>(editor.get(), "BasicGrammarButton")->isChecked());

    // setWritable switches the buttons at once but leaves the title to updateWindowTitle.
    const QString title = editor->windowTitle();
    editor->setWritable(!writable);
    QCOMPARE(child<QPushButton>(editor.get(), "SaveButton")->isEnabled(), !writable);
    QCOMPARE(child<QPushButton>(editor.get(), "changeButton")->isEnabled(), !writable);
    if (writable)
        QVERIFY(!child<QPushButton>(editor.get(), "AddWordButton")->isEnabled());
    QCOMPARE(editor->windowTitle(), title);
    editor->updateWindowTitle();
    QCOMPARE(editor->windowTitle(), writable ? QStringLiteral("Personal  Dictionary Viewer (Read Only)")
                                             : QStringLiteral("Personal  Dictionary Editor"));
}

void TestDictEditor::windowTitle_data()
{
    QTest::addColumn<bool>("developmentMode");
    QTest::addColumn<int>("variety");
    QTest::addColumn<bool>("writable");
    QTest::addColumn<QString>("title");
    QTest::newRow("editor") << false << int(Prediction::British) << true << "Personal  Dictionary Editor";
    QTest::newRow("viewer") << false << int(Prediction::American) << false << "Personal  Dictionary Viewer (Read Only)";
    QTest::newRow("dev british") << true << int(Prediction::British) << true << "Personal - British  Dictionary Editor";
    QTest::newRow("dev canadian") << true << int(Prediction::Canadian) << false
                                  << "Personal - Canadian  Dictionary Viewer (Read Only)";
    QTest::newRow("dev american") << true << int(Prediction::American) << true
                                  << "Personal - American  Dictionary Editor";
}

void TestDictEditor::windowTitle()
{
    QFETCH(bool, developmentMode);
    QFETCH(int, variety);
    QFETCH(bool, writable);
    QFETCH(QString, title);
    TempDictionary dict({"about"}, Prediction::Variety(variety), QStringLiteral("Personal"));
    const bool wasDevelopment = Prediction::developmentMode();
    Prediction::setDevelopmentMode(developmentMode);
    auto editor = create(dict.reference(), writable);
    Prediction::setDevelopmentMode(wasDevelopment);
    QCOMPARE(editor->windowTitle(), title);
}

void TestDictEditor::collapseAndExpand_data()
{
    // Each step is a click on More/Less or a call of collapse(true) or collapse(false).
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<bool>("collapsed");
    QTest::newRow("as built") << QStringList() << true;
    QTest::newRow("click") << QStringList{"click"} << false;
    QTest::newRow("click twice") << QStringList{"click", "click"} << true;
    QTest::newRow("collapse collapsed") << QStringList{"true", "true"} << true;
    QTest::newRow("expand") << QStringList{"false"} << false;
    QTest::newRow("expand expanded") << QStringList{"false", "false", "false"} << false;
    QTest::newRow("expand then collapse") << QStringList{"false", "true"} << true;
    QTest::newRow("expand then click") << QStringList{"false", "click"} << true;
}

void TestDictEditor::collapseAndExpand()
{
    QFETCH(QStringList, steps);
    QFETCH(bool, collapsed);
    TempDictionary dict({"about"});
    auto editor = create(dict.reference());
    auto button = child<QPushButton>(editor.get(), "MoreLessButton");
    const int height = editor->height();
    for (const QString &step : steps) {
        if (step == QLatin1String("click"))
            QTest::mouseClick(button, Qt::LeftButton);
        else
            editor->collapse(step == QLatin1String("true"));
    }
    const int width = collapsed ? 350 : 742;
    QCOMPARE(editor->width(), width);
    QCOMPARE(editor->minimumWidth(), width);
    QCOMPARE(editor->maximumWidth(), width);
    QCOMPARE(editor->height(), height);
    QCOMPARE(button->text(), collapsed ? QStringLiteral("More >>") : QStringLiteral("<< Less"));
    for (const char *name :
         {"groupBox_2", "groupBox_3", "groupBox_4", "groupBox_5", "groupBox_15", "ExportWordButton", "GrammarFrame"})
        QVERIFY2(child(editor.get(), name)->isEnabled() == !collapsed, name);
}

void TestDictEditor::fontButtons_data()
{
    QTest::addColumn<int>("startSize");
    QTest::addColumn<int>("bigger");
    QTest::addColumn<int>("smaller");
    QTest::addColumn<int>("expectedSize");
    QTest::newRow("bigger twice") << 9 << 2 << 0 << 11;
    QTest::newRow("bigger twice, smaller thrice") << 9 << 2 << 3 << 8;
    QTest::newRow("smaller stops at one point") << 1 << 0 << 1 << 1;
}

void TestDictEditor::fontButtons()
{
    QFETCH(int, startSize);
    QFETCH(int, bigger);
    QFETCH(int, smaller);
    QFETCH(int, expectedSize);
    TempDictionary dict({"about\tadv./-/20"});
    auto editor = create(dict.reference());
    auto listWidget = list(editor.get());
    QCOMPARE(listWidget->font().pointSize(), 9);
    QCOMPARE(wordBox(editor.get())->font().pointSize(), 9);
    QFont start = listWidget->font();
    start.setPointSize(startSize);
    listWidget->setFont(start);
    const qreal browserSize = editor->grammarPopUp->textBrowser->font().pointSizeF();
    const qreal nameSize = editor->grammarPopUp->WordNameBox->font().pointSizeF();
    for (int i = 0; i < bigger; ++i)
        child<QPushButton>(editor.get(), "BiggerButton")->click();
    for (int i = 0; i < smaller; ++i)
        child<QPushButton>(editor.get(), "SmallerButton")->click();
    QCOMPARE(listWidget->font().pointSize(), expectedSize);
    QCOMPARE(wordBox(editor.get())->font().pointSize(), expectedSize);
    // The details panel follows each step, even where the list stops at one point.
    const int steps = bigger - smaller;
    QCOMPARE(editor->grammarPopUp->textBrowser->font().pointSizeF() > browserSize, steps > 0);
    QCOMPARE(editor->grammarPopUp->textBrowser->font().pointSizeF() < browserSize, steps < 0);
    QCOMPARE(editor->grammarPopUp->WordNameBox->font().pointSizeF() > nameSize, steps > 0);
}

void TestDictEditor::resizeKeepsListAndDetailsAboveBottomMargin()
{
    TempDictionary dict({"about"});
    auto editor = create(dict.reference());
    editor->collapse(false);
    QVERIFY(showActive(editor.get()));
    editor->resize(editor->width(), 600);
    QTRY_COMPARE(editor->height(), 600);
    auto frame = child<QFrame>(editor.get(), "GrammarFrame");
    QCOMPARE(list(editor.get())->geometry().bottom(), 590);
    QCOMPARE(frame->geometry().bottom(), 590);
    QCOMPARE(frame->geometry().top(), 170);
    QCOMPARE(list(editor.get())->geometry().width(), 331);
    QCOMPARE(editor->grammarPopUp->geometry(), frame->geometry());
}

void TestDictEditor::helpRunsModally()
{
    TempDictionary dict({"about"});
    auto editor = create(dict.reference());
    ModalAnswerer answer;
    answer.clickButton(QStringLiteral("OK"));
    QVERIFY(QMetaObject::invokeMethod(editor.get(), "on_HelpButton_clicked"));
    QVERIFY(answer.answered());
    QVERIFY2(answer.failure().isEmpty(), qPrintable(answer.failure()));
    QCOMPARE(answer.className(), QStringLiteral("HelpDlg"));
    QVERIFY(!editor->isVisible());
}

void TestDictEditor::deletingShownWindowDeletesPanel()
{
    TempDictionary dict({"about\tadv./-/20", "abbot\tnoun/reg/9"});
    auto editor = create(dict.reference());
    editor->collapse(false);
    QVERIFY(showActive(editor.get()));
    list(editor.get())->setFocus();
    list(editor.get())->setCurrentRow(1);
    QPointer<QWidget> panel = editor->grammarPopUp;
    QPointer<QWidget> box = wordBox(editor.get());
    QVERIFY(panel);
    editor.reset();
    QVERIFY(!panel);
    QVERIFY(!box);
    QVERIFY(!DictEditor::suppressTextChanged);
    QVERIFY(!DictEditor::inTextChanged);
}

void TestDictEditor::cleanup()
{
    QVERIFY(!QApplication::activeModalWidget());
}

QTEST_MAIN(TestDictEditor)
#include "tst_dicteditor.moc"
