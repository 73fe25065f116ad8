// The advanced details panel, which also edits usages: each kind of link edited through its menu or
// dialog (chosen, cancelled, read-only), the context menu per kind of link, and the window in advanced
// mode building it in place of the user panel. Every edit is checked against the panel and after save and reload.

#include <QAbstractButton>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTextBlock>
#include <QtTest>
#include <functional>

#include "editortesthelpers.h"
#include "modalanswerer.h"
#include "windowsleft.h"

namespace {

const QStringList lines{
    "call\tverb/reg/18/Tn:up:|Ipr::about,for;noun/reg/9/of::", "fond\tadj./reg/12/-::", "Paris\tname/Location/5"};

// The viewport point in the middle of the link to href.
QPoint anchorPoint(QTextBrowser *browser, const QString &href)
{
    for (QTextBlock block = browser->document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment piece = it.fragment();
            if (piece.charFormat().anchorHref() != href)
                continue;
            QTextCursor cursor(browser->document());
            cursor.setPosition(piece.position());
            const QRect start = browser->cursorRect(cursor);
            cursor.setPosition(piece.position() + piece.length());
            return QPoint((start.left() + browser->cursorRect(cursor).left()) / 2, start.center().y());
        }
    }
    return QPoint(-1, -1);
}

// The entries of the pop-up menu that open() shows, disabled ones marked "(off)", closed without a choice;
// "(no menu)" when none shows.
QStringList menuEntries(const std::function<void()> &open)
{
    ModalAnswerer answer;
    answer.chooseMenuEntry(QString());
    open();
    return answer.answered() ? answer.menuEntries() : QStringList{"(no menu)"};
}

// A window in advanced mode on a fresh dictionary, showing word.
std::unique_ptr<DictEditor> advancedWindow(const DictionaryReference &dictionary, bool writable, const QString &word)
{
    DictionaryEditor::setAdvancedDetails(true);
    auto window = EditorTest::create(dictionary, writable, word);
    DictionaryEditor::setAdvancedDetails(false);
    return window;
}

struct Fixture
{
    Fixture(const QString &word, bool writable)
        : dict(lines), window(advancedWindow(dict.reference(), writable, word)), panel(window->detailsPanel)
    {
    }
    // The word is now what the dictionary lines say with from replaced by to; the panel shows it, the
    // dictionary knows it changed, and the change survives save and reload.
    void check(const QString &word, const QString &from, const QString &to)
    {
        QStringList edited = lines;
        if (!from.isEmpty())
            edited.replaceInStrings(from, to);
        TempDictionary wanted(edited);
        const QStringList expected = TempDictionary::describe(wanted->findWord(word));
        QCOMPARE(TempDictionary::describe(dict->findWord(word)), expected);
        GrammarPopUp fresh(dict.reference(), true, nullptr);
        fresh.displayWord(word, dict->findWord(word), 1);
        QCOMPARE(panel->textBrowser->toPlainText(), fresh.textBrowser->toPlainText());
        window.reset();
        QCOMPARE(dict->isDirty(), from != to);
        QCOMPARE(dict->save(), 0);
        QVERIFY(dict->reload());
        QCOMPARE(TempDictionary::describe(dict->findWord(word)), expected);
    }

    TempDictionary dict;
    std::unique_ptr<DictEditor> window;
    GrammarPopUp *panel;
};

// An edit made in the panel. action: the anchor clicked, or "right " and the anchor right-clicked; menu: the
// entry chosen in the menu that opens ("" closes it, "-" when none opens); modal: the answer to the box or
// dialog that follows; afterwards the dictionary lines are as before with from replaced by to.
struct Edit
{
    QString word;
    bool writable;
    QString action, menu, modal, from, to;
};

} // namespace

Q_DECLARE_METATYPE(Edit)

class TestAdvancedPanel : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { QTRY_VERIFY2(windowsLeft().isEmpty(), qPrintable(windowsLeft().join(' '))); }
    void edits_data();
    void edits();
    void contextMenu_data();
    void contextMenu();
    void panelChoice_data();
    void panelChoice();
};

void TestAdvancedPanel::edits_data()
{
    QTest::addColumn<Edit>("edit");
    const auto editRow = [](const char *name, const char *word, bool writable, const char *action, const char *menu,
                            const QString &modal, const char *from, const char *to) {
        QTest::newRow(name) << Edit{word, writable, action, menu, modal, from, to};
    };
    const QString tg = QStringLiteral("Tg: I like doing it.|");
    editRow("part of speech", "call", true, "1_part_of_speech", "Adj.", "", "noun/", "adj./");
    editRow("part of speech, cancelled", "call", true, "1_part_of_speech", "", "", "", "");
    editRow("DELETE entry", "call", true, "1_part_of_speech", "DELETE", "OK", ";noun/reg/9/of::", "");
    editRow("verb subcode", "call", true, "0_subcode", "past = root", "", "/reg/18", "/past = root/18");
    editRow("frequency 31", "call", true, "0_frequency", "31", "", "/18/", "/31/");
    editRow("read-only menu", "call", false, "0_frequency", "0", "", "", "");
    editRow("verb complements", "call", true, "0_0_complement", "-", tg + "OK", "Tn:", "Tn,Tg:");
    editRow("verb complements, cancelled", "call", true, "0_0_complement", "-", tg + "Cancel", "", "");
    editRow("noun complements", "call", true, "1_0_complement", "-", "chair IN LOCATION|OK", "of::", "in,of::");
    editRow("adjective complements cleared", "fond", true, "0_0_complement", "-", "Clear All|OK", "-::", "::");
    editRow("particles", "call", true, "0_0_particles", "-", "in front|OK", ":up:", ":in front,up:");
    editRow("prepositions", "call", true, "0_1_prepositions", "-", "about|OK", "about,for", "for");
    editRow("add usage", "call", true, "right 0_0_complement", "Add Usage", "", "about,for;", "about,for|::;");
    editRow("delete usage", "call", true, "right 0_0_complement", "Delete Usage", "OK", "Tn:up:|", "");
    editRow("delete usage, declined", "call", true, "right 0_0_complement", "Delete Usage", "Cancel", "", "");
    editRow("add grammar code", "call", true, "right 0_part_of_speech", "Add Grammar Code", "",
            "9/of::", "9/of::;new//9");
    editRow("edit", "call", true, "right 0_0_particles", "Edit", "away|OK", ":up:", ":away,up:");
}

void TestAdvancedPanel::edits()
{
    QFETCH(Edit, edit);
    Fixture fixture(edit.word, edit.writable);
    ModalAnswerer menuAnswer;
    if (edit.menu != QLatin1String("-"))
        menuAnswer.chooseMenuEntry(edit.menu);
    ModalAnswerer modalAnswer;
    if (!edit.modal.isEmpty())
        modalAnswer.clickButtons(edit.modal.split('|'));
    OurTextBrowser *browser = fixture.panel->textBrowser;
    if (edit.action.startsWith(QLatin1String("right ")))
        emit browser->customContextMenuRequested(anchorPoint(browser, edit.action.mid(6)));
    else
        emit browser->anchorClicked(QUrl(edit.action));
    QCOMPARE(menuAnswer.answered(), edit.writable && edit.menu != QLatin1String("-"));
    QCOMPARE(modalAnswer.answered(), edit.writable && !edit.modal.isEmpty());
    QVERIFY2(menuAnswer.failure().isEmpty() && modalAnswer.failure().isEmpty(),
             qPrintable(menuAnswer.failure() + modalAnswer.failure()));
    fixture.check(edit.word, edit.from, edit.to);
}

void TestAdvancedPanel::contextMenu_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<bool>("writable");
    QTest::addColumn<QString>("anchor");
    QTest::addColumn<QStringList>("entries");
    const auto menuRow = [](const char *name, const char *word, bool writable, const char *anchor,
                            const QStringList &entries) {
        QTest::newRow(name) << QString(word) << writable << QString(anchor) << entries;
    };
    menuRow("verb", "call", true, "0_part_of_speech", {"Add Grammar Code", "Delete Grammar Code", "Add Usage", "Edit"});
    menuRow("name", "Paris", true, "0_part_of_speech",
            {"Add Grammar Code", "Delete Grammar Code", "Add Usage (off)", "Edit"});
    menuRow("complement", "call", true, "0_0_complement", {"Add Usage", "Delete Usage", "Edit"});
    menuRow("read-only", "call", false, "0_part_of_speech", {});
    menuRow("no link", "call", true, "", {"(no menu)"});
}

void TestAdvancedPanel::contextMenu()
{
    QFETCH(QString, word);
    QFETCH(bool, writable);
    QFETCH(QString, anchor);
    QFETCH(QStringList, entries);
    Fixture fixture(word, writable);
    const QPoint point = anchor.isEmpty() ? QPoint(1, 1) : anchorPoint(fixture.panel->textBrowser, anchor);
    QCOMPARE(menuEntries([&] { emit fixture.panel->textBrowser->customContextMenuRequested(point); }), entries);
}

void TestAdvancedPanel::panelChoice_data()
{
    QTest::addColumn<bool>("advanced");
    QTest::newRow("user panel by default") << false;
    QTest::newRow("advanced mode") << true;
}

// The window builds one panel, over its details area, and its grammar buttons act on what is clicked in it.
void TestAdvancedPanel::panelChoice()
{
    QFETCH(bool, advanced);
    TempDictionary dict(lines);
    auto window =
        advanced ? advancedWindow(dict.reference(), true, "call") : EditorTest::create(dict.reference(), true, "call");
    auto later = EditorTest::create(dict.reference(), true, "fond"); // the mode counts at construction only
    QVERIFY(EditorTest::showActive(window.get()));
    window->collapse(false);
    QPointer<GrammarPopUp> panel = window->detailsPanel;
    QCOMPARE(window->findChildren<GrammarPopUp *>(), QList<GrammarPopUp *>{panel.data()});
    QCOMPARE(panel->inherits("GrammarPopUpUser"), !advanced);
    QCOMPARE(static_cast<GrammarPopUp *>(window->grammarPopUp), advanced ? nullptr : panel.data());
    QVERIFY(later->grammarPopUp);
    QCOMPARE(panel->geometry(), EditorTest::child<QFrame>(window.get(), "GrammarFrame")->geometry());
    QCOMPARE(panel->WordNameBox->toPlainText().trimmed(), QStringLiteral("call"));

    // The window's Delete button removes the code last clicked in the panel.
    OurTextBrowser *browser = panel->textBrowser;
    QTextCursor cursor(browser->document());
    const TextRegion *noun = std::find_if(browser->regions, browser->regions + browser->regionCount,
                                          [](const TextRegion &region) { return region.codeIndex == 1; });
    cursor.setPosition(noun->start);
    QTest::mouseClick(browser->viewport(), Qt::LeftButton, {}, browser->cursorRect(cursor).center() + QPoint(2, 0));
    auto *deleteButton = EditorTest::child<QPushButton>(window.get(), "DeleteGrammarButton");
    QVERIFY(deleteButton->isEnabled());
    ModalAnswerer answer;
    answer.clickButton("OK");
    deleteButton->click();
    QVERIFY(answer.answered());
    QCOMPARE(answer.text(), QStringLiteral("Are you sure you want to remove this noun?"));
    QCOMPARE(panel->currentWord->codes.size(), 1);

    window.reset();
    QVERIFY(panel.isNull());
}

QTEST_MAIN(TestAdvancedPanel)
#include "tst_advancedpanel.moc"
