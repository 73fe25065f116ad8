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
    void factoryOnEmptyDictionary();
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
    void formWidgets_data();
    void formWidgets();
    void formProperties_data();
    void formProperties();
    void formFontsAndColours_data();
    void formFontsAndColours();
    void tabOrder();
    void comboShowsEngineRules();
    void buttonsAfterConstruction_data();
    void buttonsAfterConstruction();
    void windowTitle_data();
    void windowTitle();
    void setWritableLeavesTitleAlone();
    void moreAndLess();
    void collapseIsIdempotent_data();
    void collapseIsIdempotent();
    void fontButtons();
    void smallerStopsAtOnePoint();
    void resizeKeepsListAndDetailsAboveBottomMargin();
    void setTransferToRelabelsAdd();
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

void TestDictEditor::factoryOnEmptyDictionary()
{
    TempDictionary dict({});
    QVERIFY2(dict.error().isEmpty(), qPrintable(dict.error()));
    auto editor = create(dict.reference(), true, QString());
    QVERIFY(editor);
    QVERIFY(!editor->isVisible());
    QCOMPARE(wordBox(editor.get())->toPlainText(), QString());
    QCOMPARE(list(editor.get())->count(), 0);
    QCOMPARE(child<QLineEdit>(editor.get(), "debugwindow")->text(), QStringLiteral("0"));
    QVERIFY(editor->dictionary == dict.reference());
    QVERIFY(!editor->transferMode);
    QCOMPARE(editor->grammarMode, QStringLiteral("basic_grammar"));
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
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("expectedBox");
    QTest::addColumn<QString>("expectedCurrent");
    QTest::newRow("empty word: first of the list") << QString() << "Abbey"
                                                   << "Abbey";
    QTest::newRow("word in the dictionary") << "about"
                                            << "about"
                                            << "about";
    QTest::newRow("word in the middle") << "abbot"
                                        << "abbot"
                                        << "abbot";
}

void TestDictEditor::factoryStartsOnFirstWordOrGivenWord()
{
    QFETCH(QString, word);
    QFETCH(QString, expectedBox);
    QFETCH(QString, expectedCurrent);
    TempDictionary dict({"about\tadv./-/20", "abbot\tnoun/reg/9", "Abbey\tname/-/5"});
    auto editor = create(dict.reference(), true, word);
    QCOMPARE(wordBox(editor.get())->toPlainText(), expectedBox);
    QCOMPARE(currentText(list(editor.get())), expectedCurrent);
    QCOMPARE(listed(list(editor.get())), dict->wordList());
    QCOMPARE(child<QLineEdit>(editor.get(), "debugwindow")->text(), QString::number(dict->filteredWordCount()));
    QCOMPARE(panelWord(editor.get()), expectedCurrent);
    QVERIFY(editor->currentWord);
    QCOMPARE(editor->currentWord->text, expectedCurrent);
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
    // Hosts reach these by name and signature, so each class's own methods are fixed in kind, access and order;
    // the parameter names listed are part of what a host sees as well.
    QTest::addColumn<QByteArray>("className");
    QTest::addColumn<QStringList>("methods");
    QTest::addColumn<QStringList>("parameterNames");
    QTest::newRow("DictionaryEditor") << QByteArray("DictionaryEditor")
                                      << QStringList{"signal public EditWindow_Activate(DictionaryReference)",
                                                     "signal public Save_Dictionary(DictionaryReference)",
                                                     "signal public Test_Dictionary(DictionaryReference)",
                                                     "slot public setWritable(bool)",
                                                     "slot public setTransferTo(DictionaryReference)",
                                                     "slot public refreshList()",
                                                     "slot public updateWindowTitle()",
                                                     "slot public findWord(QString)",
                                                     "slot public collapse(bool)"}
                                      << QStringList{"EditWindow_Activate(DictionaryReference) d",
                                                     "Save_Dictionary(DictionaryReference) d",
                                                     "Test_Dictionary(DictionaryReference) d"};
    QTest::newRow("DictEditor") << QByteArray("DictEditor")
                                << QStringList{"signal public textChanging(QString)",
                                               "signal public EditWindow_Activate(DictionaryReference)",
                                               "signal public EditWindow_Close(DictionaryReference)",
                                               "signal public Save_Dictionary(DictionaryReference)",
                                               "signal public Test_Dictionary(DictionaryReference)",
                                               "signal public UserWantsToolkit(DictionaryReference)",
                                               "signal public DictionaryChanged()",
                                               "slot public adaptToContext(bool,bool,bool,bool)",
                                               "slot public grammarFocusLost()",
                                               "slot public scrollTheList(int)",
                                               "slot public DeleteThisGCode(int)",
                                               "slot public on_addGrammarButton_clicked()",
                                               "slot private on_ToolkitButton_clicked()",
                                               "slot private gottaTab()",
                                               "slot private gottaChange(QString)",
                                               "slot private on_TestButton_clicked(bool)",
                                               "slot private on_SaveButton_clicked(bool)",
                                               "slot private on_FilterLIst_currentIndexChanged(QString)",
                                               "slot private on_changeButton_clicked()",
                                               "slot private on_MaxFreq_valueChanged(int)",
                                               "slot private on_MinFreq_valueChanged(int)",
                                               "slot private on_SmallerButton_clicked()",
                                               "slot private on_BiggerButton_clicked()",
                                               "slot private on_lineEdit_textChanged()",
                                               "slot private on_listWidget_itemSelectionChanged()",
                                               "slot private on_deleteUsageButton_clicked()",
                                               "slot private on_addUsageButton_clicked()",
                                               "slot private on_DeleteGrammarButton_clicked()",
                                               "slot private on_DeleteWordButton_clicked()",
                                               "slot private on_AddWordButton_clicked()",
                                               "slot private on_listWidget_clicked(QModelIndex)",
                                               "slot private on_BasicGrammarButton_clicked()",
                                               "slot private on_AdvancedGrammarButton_clicked()",
                                               "slot private on_DoneButton_clicked()",
                                               "slot private on_HelpButton_clicked()",
                                               "slot private on_ExportWordButton_clicked()",
                                               "slot private on_MoreLessButton_clicked()"}
                                << QStringList{"textChanging(QString) d",
                                               "EditWindow_Activate(DictionaryReference) d",
                                               "EditWindow_Close(DictionaryReference) d",
                                               "Save_Dictionary(DictionaryReference) d",
                                               "Test_Dictionary(DictionaryReference) d",
                                               "UserWantsToolkit(DictionaryReference) d",
                                               "DeleteThisGCode(int) ix"};
    QTest::newRow("OurLineEdit") << QByteArray("OurLineEdit")
                                 << QStringList{"signal public userIsCursoring(int)", "signal public userIsTabbing()",
                                                "slot public rememberCopyStatus(bool)"}
                                 << QStringList{"rememberCopyStatus(bool) copyAvailable"};
}

void TestDictEditor::declaredSignalsAndSlots()
{
    QFETCH(QByteArray, className);
    QFETCH(QStringList, methods);
    QFETCH(QStringList, parameterNames);
    const QMetaObject *meta = className == "DictionaryEditor" ? &DictionaryEditor::staticMetaObject
                              : className == "DictEditor"     ? &DictEditor::staticMetaObject
                                                              : &OurLineEdit::staticMetaObject;
    QCOMPARE(QByteArray(meta->className()), className);
    QStringList declared;
    QHash<QString, QString> names;
    for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
        const QMetaMethod method = meta->method(i);
        const char *kind = method.methodType() == QMetaMethod::Signal ? "signal" : "slot";
        const char *access = method.access() == QMetaMethod::Public      ? "public"
                             : method.access() == QMetaMethod::Protected ? "protected"
                                                                         : "private";
        const QString signature = QString::fromLatin1(method.methodSignature());
        declared << QStringLiteral("%1 %2 %3").arg(QLatin1String(kind), QLatin1String(access), signature);
        QStringList parameters;
        for (const QByteArray &name : method.parameterNames())
            parameters << QString::fromLatin1(name);
        names.insert(signature, parameters.join(QLatin1Char(',')));
    }
    QCOMPARE(declared, methods);
    for (const QString &entry : parameterNames) {
        const QString signature = entry.section(QLatin1Char(' '), 0, 0);
        QCOMPARE(names.value(signature), entry.section(QLatin1Char(' '), 1));
    }
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

void TestDictEditor::formWidgets_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("parentName");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("toolTip");

    auto row = [](const char *name, const char *cls, const char *parent, QRect geometry, const char *text,
                  const char *tip) {
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(cls) << QString::fromLatin1(parent)
                            << geometry << QString::fromUtf8(text) << QString::fromUtf8(tip);
    };
    row("centralWidget", "QWidget", "DictEditor", QRect(0, 0, 741, 2831), "", "");
    row("groupBox", "QGroupBox", "centralWidget", QRect(10, 0, 211, 161), "Word", "");
    row("lineEdit", "OurLineEdit", "groupBox", QRect(10, 30, 191, 81), "",
        "Enter the word you want to find or to add.");
    row("DeleteWordButton", "QPushButton", "groupBox", QRect(80, 120, 61, 25), "&Delete",
        "Remove the highlighted word from the dictionary.");
    row("changeButton", "QPushButton", "groupBox", QRect(150, 120, 51, 25), "Change",
        "Change the spelling of the highlighted word.");
    row("AddWordButton", "QPushButton", "groupBox", QRect(11, 121, 61, 25), "Add",
        "Add the word in the word box to the dictionary. \nFor Collected Words, this button can also transfer \na "
        "word from Collected to the PersonalDictionary.");
    row("groupBox_3", "QGroupBox", "centralWidget", QRect(350, 0, 131, 59), "Filters", "");
    row("FilterLIst", "QComboBox", "groupBox_3", QRect(10, 25, 111, 25), "",
        "Select the kind of words you want to see.");
    row("groupBox_4", "QGroupBox", "centralWidget", QRect(490, 0, 141, 59), "Frequency", "");
    row("MinFreq", "QSpinBox", "groupBox_4", QRect(10, 25, 50, 25), "",
        "Select the lowest word-frequency\nscore for the words you want to see.");
    row("MaxFreq", "QSpinBox", "groupBox_4", QRect(80, 25, 51, 25), "",
        "Select the highest word-frequency \nscorefor the words you want to see.");
    row("groupBox_2", "QGroupBox", "centralWidget", QRect(350, 70, 121, 91), "Grammar Codes", "");
    row("addGrammarButton", "QPushButton", "groupBox_2", QRect(30, 20, 55, 25), "Add",
        "Add a new grammar entry for the selected word. \nYou can then change the 'new' entry to the\ngrammar code "
        "of your choice.");
    row("DeleteGrammarButton", "QPushButton", "groupBox_2", QRect(30, 50, 55, 25), "Delete",
        "In the Word Details panel, click any non-\nunderlined area of the grammar entry \nyou want to delete, then "
        "click this button.");
    row("groupBox_5", "QGroupBox", "centralWidget", QRect(485, 70, 145, 91), "Grammar for New Words", "");
    row("BasicGrammarButton", "QRadioButton", "groupBox_5", QRect(20, 30, 101, 19), "Basic",
        "Have Lexora assign basic grammar codes \nto words that you add, such as 'study = verb.'");
    row("AdvancedGrammarButton", "QRadioButton", "groupBox_5", QRect(20, 55, 101, 19), "Advanced",
        "Have Lexora assign more advanced\ngrammar codes to words that you add, \nsuch as 'study = verb and noun.'");
    row("groupBox_15", "QGroupBox", "centralWidget", QRect(640, 0, 91, 59), "Word Count", "");
    row("debugwindow", "QLineEdit", "groupBox_15", QRect(10, 25, 71, 25), "",
        "Word Count - Shows the number of \nwordsin the list you are now viewing.");
    row("groupBox_10", "QGroupBox", "centralWidget", QRect(230, 0, 111, 61), "Font Size", "");
    row("BiggerButton", "QPushButton", "groupBox_10", QRect(20, 25, 25, 25), "+",
        "Increase the font size in the Editor.");
    row("SmallerButton", "QPushButton", "groupBox_10", QRect(60, 25, 25, 25), "-",
        "Decrease the font size in the Editor.");
    row("MoreLessButton", "QPushButton", "centralWidget", QRect(250, 90, 77, 25), "More >>",
        "See more or fewer options and details.");
    row("SaveButton", "QPushButton", "centralWidget", QRect(230, 120, 51, 25), "&Save", "Save your changes.");
    row("DoneButton", "QPushButton", "centralWidget", QRect(285, 120, 55, 25), "Done", "Exit the Editor.");
    row("ExportWordButton", "QPushButton", "centralWidget", QRect(640, 110, 90, 28), "Export Words",
        "Send the words you are now viewing to a\ntext file. You can then open that file in any\ntext application to "
        "use as a list or to print.");
    row("listWidget", "QListWidget", "centralWidget", QRect(10, 170, 331, 551), "", "");
    row("GrammarFrame", "QFrame", "centralWidget", QRect(350, 170, 381, 551), "", "");
}

void TestDictEditor::formWidgets()
{
    QFETCH(QString, name);
    QFETCH(QString, className);
    QFETCH(QString, parentName);
    QFETCH(QRect, geometry);
    QFETCH(QString, text);
    QFETCH(QString, toolTip);

    TempDictionary dict({"about"});
    auto editor = create(dict.reference());
    QWidget *widget = editor->findChild<QWidget *>(name);
    QVERIFY2(widget, qPrintable(name));
    QCOMPARE(QString::fromLatin1(widget->metaObject()->className()), className);
    QCOMPARE(widget->parentWidget()->objectName(), parentName);
    if (name == QLatin1String("listWidget"))
        QVERIFY(dynamic_cast<OurListWidget *>(widget));
    // The list and the details frame follow the window's height once it is shown; the form fixes the rest.
    if (name == QLatin1String("listWidget") || name == QLatin1String("GrammarFrame"))
        QCOMPARE(widget->geometry().topLeft(), geometry.topLeft());
    else
        QCOMPARE(widget->geometry(), geometry);
    QCOMPARE(widget->toolTip(), toolTip);
    if (auto box = qobject_cast<QGroupBox *>(widget))
        QCOMPARE(box->title(), text);
    else if (auto button = qobject_cast<QAbstractButton *>(widget))
        QCOMPARE(button->text(), text);
}

void TestDictEditor::formProperties_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("property");
    QTest::addColumn<QVariant>("expected");
    auto row = [](const char *name, const char *property, const QVariant &expected) {
        QTest::newRow(qPrintable(QStringLiteral("%1.%2").arg(QLatin1String(name), QLatin1String(property))))
            << QString::fromLatin1(name) << QByteArray(property) << expected;
    };
    const int wheel = int(Qt::WheelFocus);
    const int none = int(Qt::NoFocus);
    // The width is fixed at construction; the heights are the form's.
    row("DictEditor", "minimumHeight", 350);
    row("DictEditor", "maximumHeight", 10000);
    row("DictEditor", "modal", false);
    row("lineEdit", "focusPolicy", wheel);
    row("lineEdit", "tabChangesFocus", true);
    row("lineEdit", "acceptRichText", false);
    for (const char *name :
         {"DeleteWordButton", "changeButton", "AddWordButton", "addGrammarButton", "DeleteGrammarButton",
          "BasicGrammarButton", "AdvancedGrammarButton", "SaveButton", "ExportWordButton"})
        row(name, "focusPolicy", wheel);
    for (const char *name :
         {"groupBox_3", "FilterLIst", "groupBox_4", "MinFreq", "MaxFreq", "groupBox_2", "groupBox_15", "debugwindow",
          "groupBox_10", "BiggerButton", "SmallerButton", "GrammarFrame"})
        row(name, "focusPolicy", none);
    row("AddWordButton", "autoDefault", true);
    row("AddWordButton", "default", true);
    row("MinFreq", "minimum", 0);
    row("MinFreq", "maximum", 31);
    row("MinFreq", "value", 0);
    row("MaxFreq", "minimum", 1);
    row("MaxFreq", "maximum", 31);
    row("MaxFreq", "value", 31);
    row("BiggerButton", "autoRepeat", true);
    row("SmallerButton", "autoRepeat", true);
    row("BasicGrammarButton", "checked", true);
    row("AdvancedGrammarButton", "checked", false);
    row("listWidget", "maximumSize", QSize(1000, 1000));
    row("listWidget", "dragDropMode", int(QAbstractItemView::DragDrop));
    row("listWidget", "selectionBehavior", int(QAbstractItemView::SelectRows));
    row("listWidget", "verticalScrollMode", int(QAbstractItemView::ScrollPerPixel));
    row("listWidget", "horizontalScrollMode", int(QAbstractItemView::ScrollPerPixel));
    row("listWidget", "sizePolicy", QSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed));
    row("listWidget", "uniformItemSizes", true);
    row("GrammarFrame", "maximumSize", QSize(1000, 1000));
    row("GrammarFrame", "frameShape", int(QFrame::Box));
    row("GrammarFrame", "frameShadow", int(QFrame::Sunken));
    row("GrammarFrame", "midLineWidth", 1);
}

void TestDictEditor::formProperties()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, property);
    QFETCH(QVariant, expected);
    TempDictionary dict({"about"});
    auto editor = create(dict.reference());
    QWidget *widget = name == QLatin1String("DictEditor") ? editor.get() : editor->findChild<QWidget *>(name);
    QVERIFY2(widget, qPrintable(name));
    const QVariant actual = widget->property(property.constData());
    QVERIFY(actual.isValid());
    if (expected.typeId() == QMetaType::Int)
        QCOMPARE(actual.toInt(), expected.toInt());
    else
        QCOMPARE(actual, expected);
}

void TestDictEditor::formFontsAndColours_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("pointSize");
    QTest::addColumn<QColor>("highlight");
    QTest::addColumn<QString>("family");
    const QString dialogFont = QStringLiteral("MS Shell Dlg 2");
    QTest::newRow("lineEdit") << "lineEdit" << 9 << QColor(10, 36, 106) << dialogFont;
    QTest::newRow("listWidget") << "listWidget" << 9 << QColor(10, 36, 106) << dialogFont;
    QTest::newRow("GrammarFrame") << "GrammarFrame" << 12 << QColor(0, 170, 0) << dialogFont;
    QTest::newRow("BiggerButton") << "BiggerButton" << 13 << QColor() << QString();
    QTest::newRow("SmallerButton") << "SmallerButton" << 19 << QColor() << QString();
}

void TestDictEditor::formFontsAndColours()
{
    QFETCH(QString, name);
    QFETCH(int, pointSize);
    QFETCH(QColor, highlight);
    QFETCH(QString, family);
    TempDictionary dict({"about"});
    auto editor = create(dict.reference());
    QWidget *widget = editor->findChild<QWidget *>(name);
    QVERIFY(widget);
    QCOMPARE(widget->font().pointSize(), pointSize);
    if (!family.isEmpty())
        QCOMPARE(widget->font().family(), family);
    QCOMPARE(widget->font().weight(), QFont::Normal);
    QVERIFY(!widget->font().bold());
    QVERIFY(!widget->font().italic());
    if (!highlight.isValid())
        return;
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        QCOMPARE(widget->palette().color(group, QPalette::Highlight), highlight);
        QCOMPARE(widget->palette().color(group, QPalette::HighlightedText), QColor(Qt::white));
    }
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

void TestDictEditor::comboShowsEngineRules()
{
    TempDictionary dict({"about\tadv./-/20", "abbot\tnoun/reg/9"});
    auto editor = create(dict.reference());
    auto combo = child<QComboBox>(editor.get(), "FilterLIst");
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    QCOMPARE(items, dict->selectionRules());
    QCOMPARE(combo->currentIndex(), 0);
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
    TempDictionary dict({"about\tadv./-/20", "abbot\tnoun/reg/9"});
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

void TestDictEditor::setWritableLeavesTitleAlone()
{
    TempDictionary dict({"about"}, Prediction::American, QStringLiteral("Personal"));
    auto editor = create(dict.reference(), true);
    const QString before = editor->windowTitle();
    editor->setWritable(false);
    QVERIFY(!child<QPushButton>(editor.get(), "SaveButton")->isEnabled());
    QVERIFY(!child<QPushButton>(editor.get(), "AddWordButton")->isEnabled());
    QCOMPARE(editor->windowTitle(), before);
    editor->updateWindowTitle();
    QCOMPARE(editor->windowTitle(), QStringLiteral("Personal  Dictionary Viewer (Read Only)"));
    editor->setWritable(true);
    QVERIFY(child<QPushButton>(editor.get(), "SaveButton")->isEnabled());
    QVERIFY(child<QPushButton>(editor.get(), "changeButton")->isEnabled());
}

void TestDictEditor::moreAndLess()
{
    TempDictionary dict({"about"});
    auto editor = create(dict.reference());
    auto button = child<QPushButton>(editor.get(), "MoreLessButton");
    const QStringList rightSide = {"groupBox_2",  "groupBox_3",       "groupBox_4",  "groupBox_5",
                                   "groupBox_15", "ExportWordButton", "GrammarFrame"};
    auto rightSideEnabled = [&](bool enabled) {
        for (const QString &name : rightSide) {
            if (editor->findChild<QWidget *>(name)->isEnabled() != enabled)
                return false;
        }
        return true;
    };
    QCOMPARE(button->text(), QStringLiteral("More >>"));
    QCOMPARE(editor->width(), 350);
    QVERIFY(rightSideEnabled(false));

    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(button->text(), QStringLiteral("<< Less"));
    QCOMPARE(editor->width(), 742);
    QCOMPARE(editor->minimumWidth(), 742);
    QCOMPARE(editor->maximumWidth(), 742);
    QVERIFY(rightSideEnabled(true));

    const int height = editor->height();
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(button->text(), QStringLiteral("More >>"));
    QCOMPARE(editor->width(), 350);
    QCOMPARE(editor->maximumWidth(), 350);
    QCOMPARE(editor->height(), height);
    QVERIFY(rightSideEnabled(false));
}

void TestDictEditor::collapseIsIdempotent_data()
{
    QTest::addColumn<QList<bool>>("calls");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("text");
    QTest::newRow("collapse collapsed") << QList<bool>{true, true} << 350 << "More >>";
    QTest::newRow("expand") << QList<bool>{false} << 742 << "<< Less";
    QTest::newRow("expand expanded") << QList<bool>{false, false, false} << 742 << "<< Less";
    QTest::newRow("expand then collapse") << QList<bool>{false, true} << 350 << "More >>";
}

void TestDictEditor::collapseIsIdempotent()
{
    QFETCH(QList<bool>, calls);
    QFETCH(int, width);
    QFETCH(QString, text);
    TempDictionary dict({"about"});
    auto editor = create(dict.reference());
    for (bool collapsed : calls)
        editor->collapse(collapsed);
    QCOMPARE(editor->width(), width);
    QCOMPARE(child<QPushButton>(editor.get(), "MoreLessButton")->text(), text);
}

void TestDictEditor::fontButtons()
{
    TempDictionary dict({"about\tadv./-/20"});
    auto editor = create(dict.reference());
    auto listWidget = list(editor.get());
    QCOMPARE(listWidget->font().pointSize(), 9);
    QCOMPARE(wordBox(editor.get())->font().pointSize(), 9);
    const qreal browserSize = editor->grammarPopUp->textBrowser->font().pointSizeF();
    const qreal nameSize = editor->grammarPopUp->WordNameBox->font().pointSizeF();

    child<QPushButton>(editor.get(), "BiggerButton")->click();
    child<QPushButton>(editor.get(), "BiggerButton")->click();
    QCOMPARE(listWidget->font().pointSize(), 11);
    QCOMPARE(wordBox(editor.get())->font().pointSize(), 11);
    QVERIFY(editor->grammarPopUp->textBrowser->font().pointSizeF() > browserSize);
    QVERIFY(editor->grammarPopUp->WordNameBox->font().pointSizeF() > nameSize);

    for (int i = 0; i < 3; ++i)
        child<QPushButton>(editor.get(), "SmallerButton")->click();
    QCOMPARE(listWidget->font().pointSize(), 8);
    QCOMPARE(wordBox(editor.get())->font().pointSize(), 8);
    QVERIFY(editor->grammarPopUp->textBrowser->font().pointSizeF() < browserSize);
}

void TestDictEditor::smallerStopsAtOnePoint()
{
    TempDictionary dict({"about"});
    auto editor = create(dict.reference());
    auto listWidget = list(editor.get());
    QFont tiny = listWidget->font();
    tiny.setPointSize(1);
    listWidget->setFont(tiny);
    const qreal browserSize = editor->grammarPopUp->textBrowser->font().pointSizeF();
    child<QPushButton>(editor.get(), "SmallerButton")->click();
    QCOMPARE(listWidget->font().pointSize(), 1);
    QCOMPARE(wordBox(editor.get())->font().pointSize(), 1);
    QVERIFY(editor->grammarPopUp->textBrowser->font().pointSizeF() < browserSize);
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

void TestDictEditor::setTransferToRelabelsAdd()
{
    TempDictionary dict({"about"});
    TempDictionary target({"other"});
    auto editor = create(dict.reference());
    editor->setTransferTo(target.reference());
    QVERIFY(editor->transferMode);
    QVERIFY(editor->transferTarget == target.reference());
    auto add = child<QPushButton>(editor.get(), "AddWordButton");
    QCOMPARE(add->text(), QStringLiteral("Transfer"));
    QVERIFY(!add->isEnabled());
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
