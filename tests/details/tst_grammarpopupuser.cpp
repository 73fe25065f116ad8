#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QCursor>
#include <QDialogButtonBox>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTextBlock>
#include <QtTest>

#include "grammarpopupuser.h"
#include "modalanswerer.h"
#include "ourtextbrowser.h"
#include "radioselectiondlg.h"
#include "tempdictionary.h"

namespace {

QString nbsp(int times)
{
    return QStringLiteral("&nbsp;").repeated(times);
}

// The links of a document in order, each with the position of its first character.
QList<QPair<QString, int>> links(QTextDocument *document)
{
    QList<QPair<QString, int>> found;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QString href = it.fragment().charFormat().anchorHref();
            if (!href.isEmpty() && (found.isEmpty() || found.last().first != href))
                found.append({href, it.fragment().position()});
        }
    }
    return found;
}

const QString *codeField(GCode *code, const QString &field)
{
    if (field == QLatin1String("partOfSpeech"))
        return &code->partOfSpeech;
    if (field == QLatin1String("subcode"))
        return &code->subcode;
    return &code->frequency;
}

// Records where the first pop-up menu shown in the application appears.
class MenuPlacement : public QObject
{
public:
    MenuPlacement() { qApp->installEventFilter(this); }
    ~MenuPlacement() override { qApp->removeEventFilter(this); }
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && !seen) {
            if (auto *menu = qobject_cast<QMenu *>(watched)) {
                seen = true;
                position = menu->pos();
            }
        }
        return false;
    }
    bool seen = false;
    QPoint position;
};

} // namespace

class TestGrammarPopUpUser : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void noContextMenu();
    void userLines_data();
    void userLines();
    void renderedUsagesCarryNoLinks();
    void dialogLinks_data();
    void dialogLinks();
    void subcodeDialogByPartOfSpeech_data();
    void subcodeDialogByPartOfSpeech();
    void adverbRun_data();
    void adverbRun();
    void frequencyMenu();
    void clicksThatEditNothing_data();
    void clicksThatEditNothing();
    void mouseClickOnLink();
};

void TestGrammarPopUpUser::init()
{
    GrammarPopUp::lastWordText.clear();
}

void TestGrammarPopUpUser::cleanup()
{
    // Every dialog and menu opened by a test was answered and is gone.
    QTRY_VERIFY(!QApplication::activeModalWidget());
    QVERIFY(!QApplication::activePopupWidget());
}

void TestGrammarPopUpUser::noContextMenu()
{
    TempDictionary dict({"call\tverb/reg/18"});
    GrammarPopUpUser panel(dict.reference(), true, nullptr);
    QCOMPARE(panel.textBrowser->contextMenuPolicy(), Qt::NoContextMenu);
    panel.resize(300, 300);
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));
    panel.displayWord(QStringLiteral("call"), dict->findWord(QStringLiteral("call")), 1);
    QSignalSpy custom(panel.textBrowser, &QWidget::customContextMenuRequested);
    const QPoint point(20, 10);
    QContextMenuEvent event(QContextMenuEvent::Mouse, point, panel.textBrowser->viewport()->mapToGlobal(point));
    QApplication::sendEvent(panel.textBrowser->viewport(), &event);
    QCoreApplication::processEvents();
    QVERIFY(!QApplication::activePopupWidget());
    QCOMPARE(custom.count(), 0);
}

void TestGrammarPopUpUser::userLines_data()
{
    QTest::addColumn<QStringList>("patterns");
    QTest::addColumn<QString>("particles");
    QTest::addColumn<QString>("prepositions");
    QTest::addColumn<QStringList>("expected");
    auto row = [](const char *name, const QStringList &patterns, const QString &particles, const QString &prepositions,
                  const QStringList &expected) {
        QTest::newRow(name) << patterns << particles << prepositions << expected;
    };

    const QString open = nbsp(9) + QStringLiteral("<font face=\"Times New Roman\" size=4 color=>");
    row("both", {"call sb 1 2"}, "up", "about", {open + "call sb  [up]   [about] </font>"});
    row("12 and 2nd stay", {"12 2nd 2"}, "up", "to", {open + " [up] 2 2nd  [to] </font>"});
    row("split", {"a/1"}, "up", "", {open + "a", " [up] </font>"});
    // The "2" replacement reaches a lone "2" the particles brought in.
    row("particle holding a lone 2", {"1"}, "2", "P", {open + " [ [P] ] </font>"});
}

void TestGrammarPopUpUser::userLines()
{
    QFETCH(QStringList, patterns);
    QFETCH(QString, particles);
    QFETCH(QString, prepositions);
    QFETCH(QStringList, expected);
    TempDictionary dict({"a"});
    GrammarPopUpUser panel(dict.reference(), true, nullptr);
    QCOMPARE(panel.formatPatternLines(patterns, particles, prepositions, 3, 1), expected);
    // Example lines are those of the advanced panel.
    GrammarPopUp advanced(dict.reference(), true, nullptr);
    const QStringList labels{"Tn", "x/y"};
    const QStringList templates{"~ it/~ them", "/~"};
    QCOMPARE(panel.formatExampleLines(labels, templates), advanced.formatExampleLines(labels, templates));
}

void TestGrammarPopUpUser::renderedUsagesCarryNoLinks()
{
    TempDictionary dict({"call\tverb/reg/18/Tn:up:|Ipr::about,for"});
    Word *word = dict->findWord(QStringLiteral("call"));
    QVERIFY(word);
    GrammarPopUpUser panel(dict.reference(), true, nullptr);

    panel.textBrowser->setHtml(QStringLiteral("<head>"));
    panel.appendUsageHeading(1, 0, QStringLiteral("Ipr: <i>talk</i>"));
    QTextBrowser reference;
    reference.setHtml(QStringLiteral("<head>"));
    reference.append(nbsp(7) + QStringLiteral("<font size=4 color=>(2)&nbsp;&nbsp;Ipr: <i>talk</i></font>"));
    QCOMPARE(panel.textBrowser->toHtml(), reference.toHtml());

    panel.displayWord(QStringLiteral("call"), word, 1);
    QStringList anchors;
    for (const auto &link : links(panel.textBrowser->document()))
        anchors << link.first;
    QCOMPARE(anchors, (QStringList{"0_part_of_speech", "0_subcode", "0_frequency"}));
    QCOMPARE(panel.textBrowser->regionCount, 3);
    QCOMPARE(panel.textBrowser->regions[2].flags, 12);
    QCOMPARE(panel.textBrowser->regions[2].usageIndex, 1);
}

void TestGrammarPopUpUser::dialogLinks_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("british");
    QTest::addColumn<QString>("anchor");
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<QString>("current"); // the button preselected from the current value, or ""
    QTest::addColumn<QString>("button");  // the button the user picks, or "" for none
    QTest::addColumn<bool>("accept");
    QTest::addColumn<QString>("field");

    const struct
    {
        const char *name, *line;
        bool british;
        const char *anchor, *dialog, *current, *button;
        bool accept;
        const char *field;
    } rows[] = {
        {"part of speech", "call\tverb/reg/18", false, "0_part_of_speech", "PartOfSpeechSelectionDlg", "radioButton_3",
         "radioButton_2", true, "partOfSpeech"},
        {"part of speech, second code", "light\tnoun/reg/12;adj./reg/9", false, "1_part_of_speech",
         "PartOfSpeechSelectionDlg", "radioButton_4", "radioButton_5", true, "partOfSpeech"},
        {"noun", "dog\tnoun/reg/12", false, "0_subcode", "NounSelectionDlg", "radioButton", "radioButton_5", true,
         "subcode"},
        {"noun, UK grammar", "dog\tnoun/reg/12", true, "0_subcode", "NounSelectionDlgUK", "radioButton",
         "radioButton_3", true, "subcode"},
        {"verb", "call\tverb/reg/18", false, "0_subcode", "VerbSelectionDlg", "radioButton", "radioButton_2", true,
         "subcode"},
        {"verb, UK grammar", "call\tverb/reg/18", true, "0_subcode", "VerbSelectionDlg", "radioButton", "radioButton_2",
         true, "subcode"},
        {"name", "Jill\tname/Singular name/9", false, "0_subcode", "NameSelectionDlg", "radioButton", "radioButton_2",
         true, "subcode"},
        {"name, UK grammar", "Jill\tname/Singular name/9", true, "0_subcode", "NameSelectionDlgUK", "radioButton",
         "radioButton_2", true, "subcode"},
        {"adjective", "big\tadj./reg, dbl/9", false, "0_subcode", "AdjectiveSelectionDlg", "radioButton_2",
         "radioButton_3", true, "subcode"},
        // Cancelled, or OK with nothing preselected and nothing picked: nothing is written.
        {"part of speech cancelled", "call\tverb/reg/18", false, "0_part_of_speech", "PartOfSpeechSelectionDlg",
         "radioButton_3", "radioButton_2", false, "partOfSpeech"},
        {"noun cancelled", "dog\tnoun/reg/12", false, "0_subcode", "NounSelectionDlg", "radioButton", "", false,
         "subcode"},
        {"time word, OK with nothing checked", "soon\ttime/soon/12", false, "0_part_of_speech",
         "PartOfSpeechSelectionDlg", "", "", true, "partOfSpeech"},
        {"verb with unknown subcode, OK", "go\tverb/odd/3", false, "0_subcode", "VerbSelectionDlg", "", "", true,
         "subcode"},
    };
    for (const auto &row : rows) {
        QTest::newRow(row.name) << row.line << row.british << row.anchor << row.dialog << row.current << row.button
                                << row.accept << row.field;
    }
}

void TestGrammarPopUpUser::dialogLinks()
{
    QFETCH(QString, line);
    QFETCH(bool, british);
    QFETCH(QString, anchor);
    QFETCH(QString, dialog);
    QFETCH(QString, current);
    QFETCH(QString, button);
    QFETCH(bool, accept);
    QFETCH(QString, field);

    TempDictionary dict({line}, british ? Prediction::British : Prediction::American);
    QVERIFY2(dict.error().isEmpty(), qPrintable(dict.error()));
    QCOMPARE(dict.reference().isUKGrammar(), british);
    const QString text = line.section(QLatin1Char('\t'), 0, 0);
    Word *word = dict->findWord(text);
    QVERIFY(word);
    GrammarPopUpUser panel(dict.reference(), true, nullptr);
    panel.displayWord(text, word, 1);
    panel.textBrowser->currentRegion = &panel.textBrowser->regions[0];
    GCode *code = word->codes.at(anchor.section(QLatin1Char('_'), 0, 0).toInt());
    const QString before = *codeField(code, field);

    ModalAnswerer answer;
    QString preselected;
    QString reported;
    answer.handle([&](QWidget *modal) {
        const auto radios = modal->findChildren<QRadioButton *>();
        for (QRadioButton *radio : radios) {
            if (radio->isChecked())
                preselected = radio->objectName();
        }
        QVERIFY(!modal->parentWidget());
        if (auto *radio = modal->findChild<QRadioButton *>(button))
            radio->setChecked(true);
        reported = qobject_cast<RadioSelectionDlg *>(modal)->selectedCode();
        modal->findChild<QDialogButtonBox *>()
            ->button(accept ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel)
            ->click();
    });
    emit panel.textBrowser->anchorClicked(QUrl(anchor));
    QVERIFY(answer.answered());
    QCOMPARE(answer.className(), dialog);
    QCOMPARE(preselected, current);
    QVERIFY(!panel.textBrowser->currentRegion); // rendered again
    if (!accept || reported.isEmpty()) {
        QCOMPARE(*codeField(code, field), before);
        QVERIFY(!dict->isDirty());
        return;
    }
    QCOMPARE(*codeField(code, field), reported);
    QVERIFY(panel.textBrowser->toPlainText().contains(reported));
}

void TestGrammarPopUpUser::subcodeDialogByPartOfSpeech_data()
{
    QTest::addColumn<QString>("partOfSpeech");
    QTest::addColumn<QString>("dialog"); // class of the dialog that opens, or "" for none

    // The tests run noun, verb, name, adj., adv. in turn, each matching anywhere, case-sensitively:
    // "adverb" holds "verb", so it opens the verb dialog.
    const char *rows[][2] = {
        {"pronoun", "NounSelectionDlg"},
        {"verb noun", "NounSelectionDlg"},
        {"adverb", "VerbSelectionDlg"},
        {"surname", "NameSelectionDlg"},
        {"adj. name", "NameSelectionDlg"},
        {"adv. adj.", "AdjectiveSelectionDlg"},
        {"xadv.y", "AdverbSelectionDlg"},
        {"Noun", ""},
        {"adj", ""},
        {"adv", ""},
        {"time", ""},
    };
    for (const auto &row : rows)
        QTest::newRow(row[0]) << row[0] << row[1];
}

void TestGrammarPopUpUser::subcodeDialogByPartOfSpeech()
{
    QFETCH(QString, partOfSpeech);
    QFETCH(QString, dialog);
    TempDictionary dict({"thing\tnoun/reg/4"});
    Word *word = dict->findWord(QStringLiteral("thing"));
    QVERIFY(word);
    GCode *code = word->codes.first();
    code->partOfSpeech = partOfSpeech;
    GrammarPopUpUser panel(dict.reference(), true, nullptr);
    panel.displayWord(QStringLiteral("thing"), word, 1);
    panel.textBrowser->currentRegion = &panel.textBrowser->regions[0];

    ModalAnswerer answer;
    answer.handle(
        [](QWidget *modal) { modal->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Cancel)->click(); });
    emit panel.textBrowser->anchorClicked(QUrl(QStringLiteral("0_subcode")));
    // Any dialog runs modally inside the click, so it has been answered by the time the click returns.
    QCOMPARE(answer.answered(), !dialog.isEmpty());
    if (!dialog.isEmpty())
        QCOMPARE(answer.className(), dialog);
    QCOMPARE(code->subcode, QStringLiteral("reg"));
    QCOMPARE(code->partOfSpeech, partOfSpeech);
    QVERIFY(!panel.textBrowser->currentRegion); // rendered again
    QVERIFY(!dict->isDirty());
}

void TestGrammarPopUpUser::adverbRun_data()
{
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QList<int>>("checked"); // boxes checked when the dialog opens, 1 to 8
    QTest::addColumn<QList<int>>("toggle");  // boxes the user toggles
    QTest::addColumn<bool>("accept");
    QTest::addColumn<QStringList>("expected");
    auto row = [](const char *name, const QStringList &stored, const QList<int> &checked, const QList<int> &toggle,
                  bool accept, const QStringList &expected) {
        QTest::newRow(name) << stored << checked << toggle << accept << expected;
    };

    row("kept", {"+S", "er"}, {2, 8}, {}, true, {"+S", "er"});
    row("table order", {"er", "+S"}, {2, 8}, {}, true, {"+S", "er"});
    row("unknown and wrong case dropped", {"ER", "xx", "very+"}, {6}, {}, true, {"very+"});
    row("toggled", {"vp+"}, {1}, {1, 3, 7}, true, {"+vp", "almost+"});
    row("all unchecked", {"+np", "+adj"}, {4, 5}, {4, 5}, true, {});
    row("every box", {}, {}, {8, 7, 6, 5, 4, 3, 2, 1}, true,
        {"vp+", "+S", "+vp", "+np", "+adj", "very+", "almost+", "er"});
    row("cancelled", {"er", "xx"}, {8}, {1, 8}, false, {"er", "xx"});
}

void TestGrammarPopUpUser::adverbRun()
{
    QFETCH(QStringList, stored);
    QFETCH(QList<int>, checked);
    QFETCH(QList<int>, toggle);
    QFETCH(bool, accept);
    QFETCH(QStringList, expected);

    TempDictionary dict({"quickly\tadv./-/14"});
    Word *word = dict->findWord(QStringLiteral("quickly"));
    QVERIFY(word);
    GCode *code = word->codes.first();
    QVERIFY(code->adverbPositions);
    code->adverbPositions->setCodes(stored);
    GrammarPopUpUser panel(dict.reference(), true, nullptr);
    panel.displayWord(QStringLiteral("quickly"), word, 1);

    QList<int> opened;
    ModalAnswerer answer;
    answer.handle([&](QWidget *modal) {
        for (int i = 1; i <= 8; ++i) {
            auto *box = modal->findChild<QCheckBox *>(QStringLiteral("checkBox_%1").arg(i));
            if (box && box->isChecked())
                opened << i;
        }
        for (int i : toggle)
            modal->findChild<QCheckBox *>(QStringLiteral("checkBox_%1").arg(i))->toggle();
        modal->findChild<QDialogButtonBox *>()
            ->button(accept ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel)
            ->click();
    });
    emit panel.textBrowser->anchorClicked(QUrl(QStringLiteral("0_subcode")));
    QVERIFY(answer.answered());
    QCOMPARE(answer.className(), QStringLiteral("AdverbSelectionDlg"));
    QCOMPARE(opened, checked);
    QCOMPARE(code->adverbPositions->codes(), expected);
}

// The frequency menu offers 1 to 20 at the mouse cursor; a choice is written to the clicked code only.
void TestGrammarPopUpUser::frequencyMenu()
{
    TempDictionary dict({"call\tverb/reg/18;noun/reg/4"});
    Word *word = dict->findWord(QStringLiteral("call"));
    GrammarPopUpUser panel(dict.reference(), true, nullptr);
    panel.displayWord(QStringLiteral("call"), word, 1);
    const QPoint cursor(137, 41);
    QCursor::setPos(cursor);
    QCOMPARE(QCursor::pos(), cursor);

    QStringList numbers;
    for (int i = 1; i <= 20; ++i)
        numbers << QString::number(i);
    MenuPlacement placement;
    ModalAnswerer answer;
    answer.chooseMenuEntry(QStringLiteral("7"));
    emit panel.textBrowser->anchorClicked(QUrl(QStringLiteral("1_frequency")));
    QVERIFY(answer.answered());
    QVERIFY2(answer.failure().isEmpty(), qPrintable(answer.failure()));
    QCOMPARE(answer.menuEntries(), numbers);
    QVERIFY(placement.seen);
    QCOMPARE(placement.position, cursor);
    QCOMPARE(word->codes.at(1)->frequency, QStringLiteral("7"));
    QCOMPARE(word->codes.at(0)->frequency, QStringLiteral("18"));

    // Closed without a choice: nothing written.
    ModalAnswerer close;
    close.chooseMenuEntry(QString());
    emit panel.textBrowser->anchorClicked(QUrl(QStringLiteral("0_frequency")));
    QVERIFY(close.answered());
    QCOMPARE(word->codes.at(0)->frequency, QStringLiteral("18"));
}

void TestGrammarPopUpUser::clicksThatEditNothing_data()
{
    QTest::addColumn<bool>("writable");
    QTest::addColumn<QString>("anchor");
    QTest::addColumn<bool>("rendersAgain");
    // A read-only panel opens nothing and only renders again, keeping its scroll position.
    QTest::newRow("read-only part of speech") << false << "0_part_of_speech" << true;
    QTest::newRow("read-only subcode") << false << "0_subcode" << true;
    QTest::newRow("read-only frequency") << false << "0_frequency" << true;
    QTest::newRow("read-only adverb subcode") << false << "1_subcode" << true;
    QTest::newRow("anchor naming no field") << true << "0_0_complement" << true;
    QTest::newRow("empty anchor") << true << "" << false;
}

void TestGrammarPopUpUser::clicksThatEditNothing()
{
    QFETCH(bool, writable);
    QFETCH(QString, anchor);
    QFETCH(bool, rendersAgain);
    QStringList codes;
    for (int i = 0; i < 6; ++i)
        codes << QStringLiteral("noun/reg/%1").arg(i + 1);
    codes.insert(1, QStringLiteral("adv./-/3"));
    TempDictionary dict({QStringLiteral("fast\t") + codes.join(QLatin1Char(';'))});
    Word *word = dict->findWord(QStringLiteral("fast"));
    QVERIFY(word);
    GrammarPopUpUser panel(dict.reference(), writable, nullptr);
    panel.resize(300, 150);
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));
    ModalAnswerer answer;
    answer.clickButton(QStringLiteral("OK"));
    ModalAnswerer menu;
    menu.chooseMenuEntry(QStringLiteral("5"));

    // With no word shown, a click does nothing at all.
    emit panel.textBrowser->anchorClicked(QUrl(anchor));
    QVERIFY(!panel.currentWord);

    panel.displayWord(QStringLiteral("fast"), word, 1);
    QScrollBar *bar = panel.textBrowser->verticalScrollBar();
    QVERIFY(bar->maximum() > 30);
    bar->setValue(30);
    panel.textBrowser->currentRegion = &panel.textBrowser->regions[0];
    const QString html = panel.textBrowser->toHtml();
    emit panel.textBrowser->anchorClicked(QUrl(anchor));
    QVERIFY(!answer.answered());
    QVERIFY(!menu.answered());
    QCOMPARE(panel.textBrowser->currentRegion == nullptr, rendersAgain);
    QCOMPARE(bar->value(), 30);
    QCOMPARE(panel.textBrowser->toHtml(), html);
    QVERIFY(!dict->isDirty());
}

void TestGrammarPopUpUser::mouseClickOnLink()
{
    TempDictionary dict({"call\tverb/reg/18;noun/reg/4"});
    Word *word = dict->findWord(QStringLiteral("call"));
    GrammarPopUpUser panel(dict.reference(), true, nullptr);
    panel.resize(400, 400);
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));
    panel.displayWord(QStringLiteral("call"), word, 1);
    OurTextBrowser *browser = panel.textBrowser;
    int position = -1;
    for (const auto &link : links(browser->document())) {
        if (link.first == QLatin1String("1_frequency"))
            position = link.second;
    }
    QVERIFY(position > 0);
    QTextCursor cursor(browser->document());
    cursor.setPosition(position + 1);
    const QPoint point = browser->cursorRect(cursor).center();

    QSignalSpy announced(browser, &OurTextBrowser::announceContextChange);
    ModalAnswerer answer;
    answer.chooseMenuEntry(QStringLiteral("12"));
    QTest::mouseClick(browser->viewport(), Qt::LeftButton, Qt::NoModifier, point);
    QVERIFY(answer.answered());
    QCOMPARE(word->codes.at(1)->frequency, QStringLiteral("12"));
    // After the re-render the click announces the region of the second code.
    QVERIFY(browser->currentRegion);
    QCOMPARE(browser->currentRegion->codeIndex, 1);
    QCOMPARE(announced.count(), 1);
    QCOMPARE(announced.first().at(1).toBool(), true);
    QCOMPARE(announced.first().at(3).toBool(), false);
}

QTEST_MAIN(TestGrammarPopUpUser)
#include "tst_grammarpopupuser.moc"
