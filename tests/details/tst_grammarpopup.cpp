#include <QMenu>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTextBlock>
#include <QTextBrowser>
#include <QtTest>

#include "grammarpopup.h"
#include "menusonly.h"
#include "ourtextbrowser.h"
#include "tempdictionary.h"

namespace {

QString nbsp(int times)
{
    return QStringLiteral("&nbsp;").repeated(times);
}

// What the panel's browser holds after the given lines were appended to an emptied browser.
class Reference
{
public:
    Reference() { browser.setHtml(QStringLiteral("<head>")); }
    void append(const QString &line) { browser.append(line); }
    void append(const QStringList &lines)
    {
        for (const QString &line : lines)
            browser.append(line);
    }
    int length() const { return int(browser.toPlainText().size()); }
    QString html() const { return browser.toHtml(); }

    QTextBrowser browser;
};

QString codeLine(int code, const QString &partOfSpeech, const QString &subcode)
{
    return nbsp(2) + QStringLiteral("<font face=\"Times New Roman\" size=5 color=><a href=\"") + QString::number(code) +
           QStringLiteral("_part_of_speech\"><i>") + partOfSpeech + QStringLiteral("</i></a>&nbsp;&nbsp; <a href=\"") +
           QString::number(code) + QStringLiteral("_subcode\">") + subcode + QStringLiteral("</a></font>");
}

QString frequencyLine(int code, const QString &frequency)
{
    return nbsp(5) +
           QStringLiteral("<font face=\"Times New Roman\" size=5 color=><i>freq:</i>&nbsp;&nbsp; <a href=\"") +
           QString::number(code) + QStringLiteral("_frequency\">") + frequency + QStringLiteral("</a></font>");
}

QString exampleLine(const QString &piece)
{
    return nbsp(5) + QStringLiteral("<font face = \"Times New Roman\" size=4 color=>") + piece +
           QStringLiteral("</font>");
}

} // namespace

class TestGrammarPopUp : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void construction();
    void resizing();
    void fillPlaceholder_data();
    void fillPlaceholder();
    void formatLine_data();
    void formatLine();
    void formatExampleLines_data();
    void formatExampleLines();
    void formatPatternLines_data();
    void formatPatternLines();
    void renderWord_data();
    void renderWord();
    void moreThanFiftyRegions();
    void nullWordClearsButKeepsRegions();
    void scrollModes();
    void differentWordResetsScroll();
    void anchorClickRendersAgain();
    void clicksOnRenderedWord_data();
    void clicksOnRenderedWord();

private:
    static void compareRegions(OurTextBrowser *browser, const QList<TextRegion> &expected);
};

void TestGrammarPopUp::init()
{
    GrammarPopUp::lastWordText.clear();
}

void TestGrammarPopUp::construction()
{
    QWidget editor;
    TempDictionary dict({"call\tverb/reg/18"});
    QVERIFY2(dict.error().isEmpty(), qPrintable(dict.error()));
    auto *panel = new GrammarPopUp(dict.reference(), true, &editor);
    QCOMPARE(panel->parentWidget(), &editor);
    QCOMPARE(panel->editor, &editor);
    QVERIFY(panel->dictionary == dict.reference());
    QVERIFY(panel->writable);
    QCOMPARE(panel->objectName(), QStringLiteral("GrammarPopUpClass"));
    QVERIFY(!panel->currentWord);
    QCOMPARE(panel->textBrowser, panel->findChild<OurTextBrowser *>(QStringLiteral("textBrowser")));
    QCOMPARE(panel->WordNameBox, panel->findChild<QTextBrowser *>(QStringLiteral("WordNameBox")));
    QCOMPARE(panel->WordNameBox->geometry(), QRect(0, 0, 422, panel->nameBoxHeight));
    QCOMPARE(panel->textBrowser->y(), panel->nameBoxHeight);
    // The panel handles the context menu itself; the word strip takes neither focus nor clicks.
    QCOMPARE(panel->textBrowser->contextMenuPolicy(), Qt::CustomContextMenu);
    QCOMPARE(panel->textBrowser->lineWrapMode(), QTextEdit::NoWrap);
    QCOMPARE(panel->WordNameBox->focusPolicy(), Qt::NoFocus);
    QCOMPARE(panel->WordNameBox->textInteractionFlags(), Qt::NoTextInteraction);

    // The menus are built with the panel's writable flag and belong to the panel.
    QCOMPARE(panel->menus->parentWidget(), panel);
    QVERIFY(panel->menus->fillSubcodeMenus);
    QPointer<QMenu> noun = panel->menus->nounMenu;
    QVERIFY(!noun->actions().isEmpty());
    delete panel;
    QVERIFY(noun.isNull());

    // A later change of the flag leaves the menus as they were built.
    GrammarPopUp readOnly(dict.reference(), false, nullptr);
    QVERIFY(!readOnly.writable);
    readOnly.setWritable(true);
    QVERIFY(readOnly.writable);
    QVERIFY(!readOnly.menus->fillSubcodeMenus);
    QVERIFY(readOnly.menus->nounMenu->actions().isEmpty());
    readOnly.setWritable(false);
    QVERIFY(!readOnly.writable);
}

void TestGrammarPopUp::resizing()
{
    TempDictionary dict({"call\tverb/reg/18"});
    GrammarPopUp panel(dict.reference(), true, nullptr);
    panel.resize(300, 500);
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));
    QCOMPARE(panel.textBrowser->geometry(), QRect(0, 50, 300, 450));
    panel.resize(640, 200);
    QTRY_COMPARE(panel.textBrowser->geometry(), QRect(0, 50, 640, 150));
    // The word strip keeps the width the panel had when it was built.
    QCOMPARE(panel.WordNameBox->geometry(), QRect(0, 0, 422, 50));
}

void TestGrammarPopUp::fillPlaceholder_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("expected");

    const struct
    {
        const char *name, *text;
        int number;
        const char *value, *expected;
    } rows[] = {
        {"every occurrence", "%1 and %1", 1, "x", "x and x"},
        {"not the front of %10", "%1 %10 %12", 1, "x", "x %10 %12"},
        {"two digits", "%10 %1", 10, "y", "y %1"},
        {"other numbers stay", "%2 %3", 1, "x", "%2 %3"},
        {"value not rescanned", "%1!", 1, "%1%1", "%1%1!"},
        {"markup inserted as is", "<b>%1</b>", 1, "<i>&amp;</i>", "<b><i>&amp;</i></b>"},
        {"at the end", "a%1", 1, "", "a"},
        {"percent alone", "100% %1", 1, "z", "100% z"},
    };
    for (const auto &row : rows)
        QTest::newRow(row.name) << row.text << row.number << row.value << row.expected;
}

void TestGrammarPopUp::fillPlaceholder()
{
    QFETCH(QString, text);
    QFETCH(int, number);
    QFETCH(QString, value);
    QFETCH(QString, expected);
    QCOMPARE(GrammarPopUp::fillPlaceholder(text, number, value), expected);
}

void TestGrammarPopUp::formatLine_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<uint>("indent");
    QTest::addColumn<int>("size");
    QTest::addColumn<QString>("colour");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    QTest::newRow("word name") << "Times New Roman" << 0u << 5 << "" << true << "call"
                               << "<font face = \"Times New Roman\" size=5 color=><b>call</b></font>";
    QTest::newRow("example") << "Times New Roman" << 5u << 4 << "" << false << "<b> Tn</b> it"
                             << "&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;<font face = \"Times New Roman\" size=4 color=>"
                                "<b> Tn</b> it</font>";
    QTest::newRow("colour given") << "Arial" << 1u << 3 << "red" << false << "x"
                                  << "&nbsp;<font face = \"Arial\" size=3 color=red>x</font>";
    // Filled one number at a time: a colour holding "%3" receives the family too.
    QTest::newRow("placeholders filled in turn") << "navy" << 0u << 2 << "%3" << false << "%1"
                                                 << "<font face = \"navy\" size=2 color=navy>%1</font>";
    QTest::newRow("markup in the text") << "F" << 0u << 1 << "" << true << "<i>a&b</i>"
                                        << "<font face = \"F\" size=1 color=><b><i>a&b</i></b></font>";
}

void TestGrammarPopUp::formatLine()
{
    QFETCH(QString, family);
    QFETCH(uint, indent);
    QFETCH(int, size);
    QFETCH(QString, colour);
    QFETCH(bool, bold);
    QFETCH(QString, text);
    QFETCH(QString, expected);
    TempDictionary dict({"a"});
    GrammarPopUp panel(dict.reference(), true, nullptr);
    QCOMPARE(panel.formatLine(family, indent, size, colour, bold, text), expected);

    // appendFormattedLine appends exactly that line.
    panel.textBrowser->setHtml(QStringLiteral("<head>"));
    panel.appendFormattedLine(family, indent, size, colour, bold, text);
    Reference reference;
    reference.append(expected);
    QCOMPARE(panel.textBrowser->toHtml(), reference.html());
}

void TestGrammarPopUp::formatExampleLines_data()
{
    QTest::addColumn<QStringList>("labels");
    QTest::addColumn<QStringList>("templates");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("two lines") << QStringList{"Tn"} << QStringList{"~ it./~ them."}
                               << QStringList{"<b> Tn</b> it.", "<b> Tn</b> them."};
    QTest::newRow("slash inside the label")
        << QStringList{"and/or"} << QStringList{"a ~ b"} << QStringList{"a <b> and/or</b> b"};
    QTest::newRow("every tilde") << QStringList{"x"} << QStringList{"~~"} << QStringList{"<b> x</b><b> x</b>"};
    QTest::newRow("pairs in order") << QStringList{"A", "B"} << QStringList{"~1", "2~/3"}
                                    << QStringList{"<b> A</b>1", "2<b> B</b>", "3"};
    QTest::newRow("empty template") << QStringList{"A"} << QStringList{""} << QStringList{""};
    QTest::newRow("empty pieces kept") << QStringList{"A"} << QStringList{"/~/"} << QStringList{"", "<b> A</b>", ""};
    QTest::newRow("more labels") << QStringList{"A", "B"} << QStringList{"~"} << QStringList{"<b> A</b>"};
    QTest::newRow("more templates") << QStringList{"A"} << QStringList{"~", "~ again"} << QStringList{"<b> A</b>"};
    QTest::newRow("no labels") << QStringList{} << QStringList{"~"} << QStringList{};
    QTest::newRow("markup and percent kept")
        << QStringList{"%1<i>"} << QStringList{"~ &amp;"} << QStringList{"<b> %1<i></b> &amp;"};
}

void TestGrammarPopUp::formatExampleLines()
{
    QFETCH(QStringList, labels);
    QFETCH(QStringList, templates);
    QFETCH(QStringList, expected);
    TempDictionary dict({"a"});
    GrammarPopUp panel(dict.reference(), true, nullptr);
    QCOMPARE(panel.formatExampleLines(labels, templates), expected);
}

void TestGrammarPopUp::formatPatternLines_data()
{
    QTest::addColumn<QStringList>("patterns");
    QTest::addColumn<QString>("particles");
    QTest::addColumn<QString>("prepositions");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("usage");
    QTest::addColumn<QStringList>("expected");
    auto row = [](const char *name, const QStringList &patterns, const QString &particles, const QString &prepositions,
                  int code, int usage, const QStringList &expected) {
        QTest::newRow(name) << patterns << particles << prepositions << code << usage << expected;
    };

    const QString open = nbsp(9) + QStringLiteral("<font face=\"Times New Roman\" size=4 color=>");
    const QString up = QStringLiteral("[<a href=\"3_1_particles\">up</a>]");
    const QString about = QStringLiteral("[<a href=\"3_1_prepositions\">about</a>]");

    row("both", {"call sb 1 2 sth"}, "up", "about", 3, 1, {open + "call sb " + up + " " + about + " sth</font>"});
    row("2 touching digits and letters stays", {"12 2nd 22 x2 2_ 2"}, "up", "about", 3, 1,
        {open + up + "2 2nd 22 x2 2_ " + about + "</font>"});
    row("21 stays", {"21"}, "up", "about", 3, 1, {open + "2" + up + "</font>"});
    row("2 beside punctuation is alone", {"(2) 2."}, "up", "about", 3, 1,
        {open + "(" + about + ") " + about + ".</font>"});
    // The particles anchor holds "3_1": its digits touch underscores and are never taken for a lone 2.
    row("split lines", {"a 1/b 2/"}, "up", "about", 3, 1, {open + "a " + up, "b " + about, "</font>"});
    row("two patterns", {"x", "y"}, "", "", 0, 0, {open + "x</font>", open + "y</font>"});
    row("empty pattern", {""}, "up", "about", 0, 0, {open + "</font>"});
    row("no patterns", {}, "up", "about", 0, 0, {});
    // The "2" replacement runs over what the "1" replacement put in, a particle "2" included.
    row("later replacement sees earlier insertions", {"1"}, "on 2 it", "P", 0, 2,
        {open + "[<a href=\"0_2_particles\">on [<a href=\"0_2_prepositions\">P</a>] it</a>]</font>"});
    row("non-ASCII letter does not join a word", {QString::fromUtf8("é2é")}, "", "P", 0, 0,
        {open + QString::fromUtf8("é[<a href=\"0_0_prepositions\">P</a>]é</font>")});
}

void TestGrammarPopUp::formatPatternLines()
{
    QFETCH(QStringList, patterns);
    QFETCH(QString, particles);
    QFETCH(QString, prepositions);
    QFETCH(int, code);
    QFETCH(int, usage);
    QFETCH(QStringList, expected);
    TempDictionary dict({"a"});
    GrammarPopUp panel(dict.reference(), true, nullptr);
    QCOMPARE(panel.formatPatternLines(patterns, particles, prepositions, code, usage), expected);
}

void TestGrammarPopUp::compareRegions(OurTextBrowser *browser, const QList<TextRegion> &expected)
{
    QCOMPARE(browser->regionCount, int(expected.size()));
    for (int i = 0; i < expected.size(); ++i) {
        const TextRegion &actual = browser->regions[i];
        const TextRegion &wanted = expected.at(i);
        const QByteArray where = "region " + QByteArray::number(i);
        QVERIFY2(actual.start == wanted.start, where + " start " + QByteArray::number(actual.start));
        QVERIFY2(actual.end == wanted.end, where + " end " + QByteArray::number(actual.end));
        QVERIFY2(actual.codeIndex == wanted.codeIndex, where);
        QVERIFY2(actual.flags == wanted.flags, where + " flags " + QByteArray::number(actual.flags));
        if (wanted.flags & 8)
            QVERIFY2(actual.usageIndex == wanted.usageIndex, where);
    }
}

void TestGrammarPopUp::renderWord_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("shownAs");  // the text handed to displayWord; empty: the word's own spelling
    QTest::addColumn<QString>("subcode");  // replaces the first code's subcode when not null
    QTest::addColumn<QString>("expected"); // how that subcode is shown

    // A null subcode keeps the stored one. Subcodes stored as "0", "????" or "-" show as nothing; the strip
    // shows the text the caller asked for, in bold, as markup.
    const char *rows[][5] = {
        {"no codes", "Abbey", "", nullptr, ""},
        {"one code, subcode -", "about\tadv./-/20", "", nullptr, ""},
        {"usages", "call\tverb/reg/18/Tn:up:|Ipr::about,for", "", nullptr, "reg"},
        {"several codes", "light\tnoun/reg/12;adj./reg/9;verb/reg/7/Tn::|I::", "", nullptr, "reg"},
        {"markup in the word", "<i>odd</i>\tnoun/reg/3", "", nullptr, "reg"},
        {"shown in another case", "call\tverb/reg/18", "Call", nullptr, "reg"},
        {"shown with markup", "call\tverb/reg/18", "<u>call</u>", nullptr, "reg"},
        {"subcode 0", "thing\tnoun/reg/4", "", "0", ""},
        {"subcode ????", "thing\tnoun/reg/4", "", "????", ""},
        {"subcode 00 is shown", "thing\tnoun/reg/4", "", "00", "00"},
    };
    for (const auto &row : rows)
        QTest::newRow(row[0]) << row[1] << row[2] << (row[3] ? QString::fromUtf8(row[3]) : QString()) << row[4];
}

void TestGrammarPopUp::renderWord()
{
    QFETCH(QString, line);
    QFETCH(QString, shownAs);
    QFETCH(QString, subcode);
    QFETCH(QString, expected);
    TempDictionary dict({line});
    QVERIFY2(dict.error().isEmpty(), qPrintable(dict.error()));
    Word *word = dict->findWord(line.section(QLatin1Char('\t'), 0, 0));
    QVERIFY(word);
    const QString text = shownAs.isEmpty() ? line.section(QLatin1Char('\t'), 0, 0) : shownAs;
    if (!subcode.isNull())
        word->codes.first()->subcode = subcode;
    // Examples under the test's control: two lines per code.
    for (GCode *code : std::as_const(word->codes)) {
        code->exampleLabels = QStringList{QStringLiteral("L/x")};
        code->exampleTemplates = QStringList{QStringLiteral("~ one/two ~")};
    }

    GrammarPopUp panel(dict.reference(), true, nullptr);
    panel.textBrowser->currentRegion = &panel.textBrowser->regions[0];
    panel.displayWord(text, word, 1);
    QCOMPARE(panel.currentWord, word);
    QVERIFY(!panel.textBrowser->currentRegion);

    Reference name;
    name.append(QStringLiteral("<font face = \"Times New Roman\" size=5 color=><b>") + text +
                QStringLiteral("</b></font>"));
    QCOMPARE(panel.WordNameBox->toHtml(), name.html());

    Reference html;
    QList<TextRegion> regions;
    for (int c = 0; c < word->codes.size(); ++c) {
        const GCode *code = word->codes.at(c);
        const int start = html.length() + 1;
        // The separator lines belong to the region before.
        if (!regions.isEmpty())
            regions.last().end = start - 1;
        html.append(codeLine(c, code->partOfSpeech, c == 0 ? expected : code->subcode));
        html.append(frequencyLine(c, code->frequency));
        html.append(exampleLine(QStringLiteral("<b> L/x</b> one")));
        html.append(exampleLine(QStringLiteral("two <b> L/x</b>")));
        regions << TextRegion{start, html.length(), c, 0, code->canHaveUses() ? 7 : 3};
        for (int u = 0; u < code->usages.size(); ++u) {
            const Usage *usage = code->usages.at(u);
            html.append(nbsp(7) +
                        QStringLiteral("<font size=4 color=>(%1)&nbsp;&nbsp;<a href=\"%2_%3_complement\">")
                            .arg(u + 1)
                            .arg(c)
                            .arg(u) +
                        usage->complements()->text() + QStringLiteral("</a></font>"));
            html.append(panel.formatPatternLines(usage->complements()->patterns(), usage->particles()->text(),
                                                 usage->prepositions()->text(), c, u));
            regions << TextRegion{regions.last().end + 1, html.length(), c, u, 12};
        }
        html.append(QStringLiteral("_____________________"));
        html.append(QString());
    }
    QCOMPARE(panel.textBrowser->toHtml(), html.html());
    compareRegions(panel.textBrowser, regions);
    if (word->codes.isEmpty())
        QVERIFY(panel.textBrowser->toPlainText().isEmpty());
}

void TestGrammarPopUp::moreThanFiftyRegions()
{
    // 20 codes with two usages each: 60 regions, of which 50 are kept.
    QStringList codes;
    for (int i = 0; i < 20; ++i)
        codes << QStringLiteral("verb/reg/%1/Tn::|I::").arg(i + 1);
    TempDictionary dict({QStringLiteral("go\t") + codes.join(QLatin1Char(';'))});
    QVERIFY2(dict.error().isEmpty(), qPrintable(dict.error()));
    Word *word = dict->findWord(QStringLiteral("go"));
    QVERIFY(word);
    QCOMPARE(word->codes.size(), 20);
    GrammarPopUp panel(dict.reference(), true, nullptr);
    panel.displayWord(QStringLiteral("go"), word, 1);
    OurTextBrowser *browser = panel.textBrowser;
    QCOMPARE(browser->regionCount, 50);
    // Three regions per code: region 50 is the first usage of code 16; it runs on to the start of code 17.
    const TextRegion &last = browser->regions[49];
    QCOMPARE(last.codeIndex, 16);
    QCOMPARE(last.usageIndex, 0);
    QCOMPARE(last.flags, 12);
    QCOMPARE(browser->regions[48].flags, 7);
    const int length = int(browser->toPlainText().size());
    QCOMPARE(browser->regionAt(length), &browser->regions[49]);
    QVERIFY(last.end < length);
}

void TestGrammarPopUp::nullWordClearsButKeepsRegions()
{
    TempDictionary dict({"call\tverb/reg/18/Tn::"});
    Word *word = dict->findWord(QStringLiteral("call"));
    GrammarPopUp panel(dict.reference(), true, nullptr);
    panel.displayWord(QStringLiteral("call"), word, 1);
    QCOMPARE(panel.textBrowser->regionCount, 2);
    panel.textBrowser->currentRegion = &panel.textBrowser->regions[1];
    QSignalSpy spy(panel.textBrowser, &OurTextBrowser::announceContextChange);
    panel.displayWord(QStringLiteral("nothing"), nullptr, 1);
    QVERIFY(!panel.currentWord);
    QVERIFY(panel.textBrowser->toPlainText().isEmpty());
    QVERIFY(panel.WordNameBox->toPlainText().isEmpty());
    QCOMPARE(panel.textBrowser->regionCount, 2);
    QCOMPARE(panel.textBrowser->currentRegion, &panel.textBrowser->regions[1]);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(GrammarPopUp::lastWordText, QStringLiteral("nothing"));
}

namespace {

// A word long enough to scroll in a small panel.
QString longWord()
{
    QStringList codes;
    for (int i = 0; i < 6; ++i)
        codes << QStringLiteral("verb/reg/%1/Tn::|I::").arg(i + 1);
    return QStringLiteral("run\t") + codes.join(QLatin1Char(';'));
}

} // namespace

void TestGrammarPopUp::scrollModes()
{
    TempDictionary dict({longWord()});
    Word *word = dict->findWord(QStringLiteral("run"));
    QVERIFY(word);
    GrammarPopUp panel(dict.reference(), true, nullptr);
    panel.resize(300, 200);
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));
    QScrollBar *bar = panel.textBrowser->verticalScrollBar();

    panel.displayWord(QStringLiteral("run"), word, 0); // a new word starts at the top whatever the mode
    QCOMPARE(bar->value(), 0);
    const int max = bar->maximum();
    QVERIFY2(max > 200, qPrintable(QString::number(max)));

    QSignalSpy spy(panel.textBrowser, &OurTextBrowser::announceContextChange);
    bar->setValue(37);
    panel.displayWord(QStringLiteral("run"), word, 1);
    QCOMPARE(bar->value(), 37);
    QCOMPARE(bar->maximum(), max);
    QCOMPARE(spy.count(), 0); // the same word again announces nothing

    panel.displayWord(QStringLiteral("run"), word, -1);
    QCOMPARE(bar->value(), 37 + max / 6);

    bar->setValue(max - 3);
    panel.displayWord(QStringLiteral("run"), word, -1);
    QCOMPARE(bar->value(), max);

    bar->setValue(10);
    panel.displayWord(QStringLiteral("run"), word, 0);
    QCOMPARE(bar->value(), max);

    // Shorter content lowers the kept position to the new maximum.
    while (word->codes.size() > 1)
        word->removeGCode(short(word->codes.size() - 1));
    panel.displayWord(QStringLiteral("run"), word, 1);
    QCOMPARE(bar->value(), bar->maximum());
    QVERIFY(bar->maximum() < max);
}

void TestGrammarPopUp::differentWordResetsScroll()
{
    TempDictionary dict(
        {longWord(), QStringLiteral("walk\t") + longWord().section(QLatin1Char('\t'), 1), "cat\tnoun/reg/5"});
    Word *run = dict->findWord(QStringLiteral("run"));
    Word *walk = dict->findWord(QStringLiteral("walk"));
    QVERIFY(run && walk);
    GrammarPopUp panel(dict.reference(), true, nullptr);
    panel.resize(300, 200);
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));
    QScrollBar *bar = panel.textBrowser->verticalScrollBar();
    panel.displayWord(QStringLiteral("run"), run, 1);

    QSignalSpy spy(panel.textBrowser, &OurTextBrowser::announceContextChange);
    for (int mode : {1, 0, -1}) {
        bar->setValue(50);
        const QString text = panel.currentWord == run ? QStringLiteral("walk") : QStringLiteral("run");
        panel.displayWord(text, text == QLatin1String("walk") ? walk : run, mode);
        QCOMPARE(bar->value(), 0);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.takeFirst(), (QList<QVariant>{true, false, false, false}));
    }

    // An empty text always counts as a different word.
    GrammarPopUp::lastWordText.clear();
    bar->setValue(50);
    panel.displayWord(QString(), run, 1);
    QCOMPARE(bar->value(), 0);
    QCOMPARE(spy.count(), 1);

    // The last word is shared: another panel showing another word resets this one at its next render.
    panel.displayWord(QStringLiteral("run"), run, 1);
    bar->setValue(40);
    panel.displayWord(QStringLiteral("run"), run, 1);
    QCOMPARE(bar->value(), 40);
    GrammarPopUp second(dict.reference(), true, nullptr);
    second.displayWord(QStringLiteral("cat"), dict->findWord(QStringLiteral("cat")), 1);
    QCOMPARE(GrammarPopUp::lastWordText, QStringLiteral("cat"));
    panel.displayWord(QStringLiteral("run"), run, 1);
    QCOMPARE(bar->value(), 0);
}

void TestGrammarPopUp::anchorClickRendersAgain()
{
    TempDictionary dict({"call\tverb/reg/18/Tn::"});
    Word *word = dict->findWord(QStringLiteral("call"));
    GrammarPopUp panel(dict.reference(), false, nullptr); // read-only: a click renders again and edits nothing

    // Nothing shown: nothing happens.
    emit panel.textBrowser->anchorClicked(QUrl(QStringLiteral("0_subcode")));
    QVERIFY(!panel.currentWord);

    panel.displayWord(QStringLiteral("call"), word, 1);
    panel.textBrowser->currentRegion = &panel.textBrowser->regions[1];
    emit panel.textBrowser->anchorClicked(QUrl());
    QCOMPARE(panel.textBrowser->currentRegion, &panel.textBrowser->regions[1]);
    emit panel.textBrowser->anchorClicked(QUrl(QStringLiteral("0_frequency")));
    QVERIFY(!panel.textBrowser->currentRegion); // rendered again
    QCOMPARE(panel.currentWord, word);
}

namespace {

// Clicks into the given block of the panel's browser, or below the text when block is -1.
void clickBlock(GrammarPopUp &panel, int block)
{
    OurTextBrowser *browser = panel.textBrowser;
    QPoint point(30, browser->viewport()->height() - 3);
    if (block >= 0) {
        QTextCursor cursor(browser->document()->findBlockByNumber(block));
        // At the left edge the click lands on the block's first position.
        point = QPoint(1, browser->cursorRect(cursor).center().y());
    }
    QTest::mouseClick(browser->viewport(), Qt::LeftButton, Qt::NoModifier, point);
}

int blockWithText(GrammarPopUp &panel, const QString &text, int occurrence)
{
    int seen = 0;
    for (QTextBlock block = panel.textBrowser->document()->begin(); block.isValid(); block = block.next()) {
        if (block.text() == text && seen++ == occurrence)
            return block.blockNumber();
    }
    return -1;
}

} // namespace

void TestGrammarPopUp::clicksOnRenderedWord_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("where");
    QTest::addColumn<int>("region");            // -1: none
    QTest::addColumn<QList<bool>>("announced"); // empty: nothing announced

    // call: code 0 (verb, two usages) then code 1 (noun, none): regions 0, 1, 2 and 3.
    const QString call = QStringLiteral("call\tverb/reg/18/Tn:up:|Ipr::about;noun/reg/4");
    QTest::newRow("first separator: the last usage of code 0")
        << call << "separator 0" << 2 << QList<bool>{true, false, true, true};
    QTest::newRow("empty line after it") << call << "blank 0" << 2 << QList<bool>{true, false, true, true};
    QTest::newRow("second code") << call << "code 1" << 3 << QList<bool>{true, true, true, false};
    QTest::newRow("below the text: the last region") << call << "below" << 3 << QList<bool>{true, true, true, false};
    QTest::newRow("first line, before the first region starts")
        << call << "first" << 3 << QList<bool>{true, true, true, false};
    QTest::newRow("word without codes") << "Abbey"
                                        << "below" << -1 << QList<bool>{};
}

void TestGrammarPopUp::clicksOnRenderedWord()
{
    QFETCH(QString, line);
    QFETCH(QString, where);
    QFETCH(int, region);
    QFETCH(QList<bool>, announced);
    TempDictionary dict({line});
    const QString text = line.section(QLatin1Char('\t'), 0, 0);
    Word *word = dict->findWord(text);
    QVERIFY(word);
    GrammarPopUp panel(dict.reference(), true, nullptr);
    panel.resize(500, 900);
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));
    panel.displayWord(text, word, 1);
    QCOMPARE(panel.textBrowser->regionCount, word->codes.isEmpty() ? 0 : 4);

    const QString separator = QStringLiteral("_____________________");
    int block = -1;
    if (where == QLatin1String("separator 0"))
        block = blockWithText(panel, separator, 0);
    else if (where == QLatin1String("blank 0"))
        block = blockWithText(panel, separator, 0) + 1;
    else if (where == QLatin1String("code 1"))
        block = blockWithText(panel, separator, 0) + 3;
    else if (where == QLatin1String("first"))
        block = 0;
    QVERIFY(where == QLatin1String("below") || block >= 0);

    QSignalSpy spy(panel.textBrowser, &OurTextBrowser::announceContextChange);
    clickBlock(panel, block);
    if (region < 0) {
        QCOMPARE(spy.count(), 0);
        QVERIFY(!panel.textBrowser->currentRegion);
        return;
    }
    QCOMPARE(spy.count(), 1);
    for (int i = 0; i < 4; ++i)
        QCOMPARE(spy.first().at(i).toBool(), announced.at(i));
    QCOMPARE(panel.textBrowser->currentRegion, &panel.textBrowser->regions[region]);
    QCOMPARE(panel.textBrowser->textCursor().selectionStart(), panel.textBrowser->regions[region].start);
    QCOMPARE(panel.textBrowser->textCursor().selectedText().size(), 1);
}

QTEST_MAIN(TestGrammarPopUp)
#include "tst_grammarpopup.moc"
