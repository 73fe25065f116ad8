#include <QAbstractButton>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTextBlock>
#include <QtTest>

#include "advanceddetails.h"
#include "editortesthelpers.h"
#include "menusonly.h"
#include "modalanswerer.h"

namespace {

const QStringList lines{"call\tverb/reg/18/Tn:up:|Ipr::about,for;noun/reg/9/of::",
                        "fond\tadj./reg/12/-::",
                        "Paris\tname/Location/5",
                        "noon\ttime/day/5",
                        "quickly\tadv./-/20",
                        "the\tdet./x/30"};

// Answers the next message box ("box:Title>Button") or dialog ("dialog:label|label|OK": buttons clicked
// in turn, by text without ampersands); an empty how answers nothing.
void answerWith(ModalAnswerer &answer, const QString &how)
{
    if (how.startsWith(QLatin1String("box:")))
        return answer.clickButton(how.section('>', 1));
    if (how.isEmpty())
        return;
    const QStringList steps = how.mid(7).split('|');
    answer.handle([steps](QWidget *modal) {
        for (const QString &step : steps) {
            const auto buttons = modal->findChildren<QAbstractButton *>();
            auto it = std::find_if(buttons.begin(), buttons.end(),
                                   [&](QAbstractButton *button) { return button->text().remove('&') == step; });
            if (it == buttons.end()) {
                modal->close();
                QFAIL(qPrintable("no button " + step));
            }
            (*it)->click();
        }
    });
}

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

// Records the entries of the next pop-up menu, disabled ones marked "(off)", and closes it without a choice.
void recordNextMenu(QObject *context, QStringList *entries, bool *seen)
{
    auto *poll = new QTimer(context);
    QObject::connect(poll, &QTimer::timeout, context, [=] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!menu)
            return;
        for (QAction *action : menu->actions())
            *entries << action->text() + (action->isEnabled() ? QString() : QStringLiteral(" (off)"));
        *seen = true;
        poll->stop();
        menu->close();
    });
    poll->start(10);
}

// A window on a fresh dictionary showing word, with the advanced panel laid over its details.
struct Fixture
{
    Fixture(const QString &word, bool writable)
        : dict(lines), window(EditorTest::create(dict.reference(), writable, word)),
          panel(AdvancedDetails::install(window.get()))
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

// action: the anchor clicked, or "right " and the anchor right-clicked; menu: the entry chosen in the menu
// that opens ("" closes it, "-" when none opens); modal: the answer to the box or dialog that follows.
void editRow(const char *name, const char *word, bool writable, const char *action, const char *menu,
             const QString &modal, const char *from, const char *to)
{
    QTest::newRow(name) << QString(word) << writable << QString(action) << QString(menu) << modal << QString(from)
                        << QString(to);
}

void menuRow(const char *name, const char *word, bool writable, const char *anchor, const QStringList &entries)
{
    QTest::newRow(name) << QString(word) << writable << QString(anchor) << entries;
}

} // namespace

class TestAdvancedPanel : public QObject
{
    Q_OBJECT
private slots:
    void edits_data();
    void edits();
    void contextMenu_data();
    void contextMenu();
    void cityEntry_data();
    void cityEntry();
    void advancedWindow();
};

void TestAdvancedPanel::edits_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<bool>("writable");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("modal");
    QTest::addColumn<QString>("from"); // the dictionary lines afterwards: from replaced by to
    QTest::addColumn<QString>("to");
    const QString tg = QStringLiteral("dialog:Tg: I like doing it.|");
    const QString deleteUsage = QStringLiteral("box:Delete Usage?>");
    editRow("part of speech", "call", true, "1_part_of_speech", "Adj.", "", "noun/", "adj./");
    editRow("part of speech, cancelled", "call", true, "1_part_of_speech", "", "", "", "");
    editRow("DELETE entry", "call", true, "1_part_of_speech", "DELETE", "box:Delete Grammar Code?>OK",
            ";noun/reg/9/of::", "");
    editRow("verb subcode", "call", true, "0_subcode", "past = root", "", "/reg/18", "/past = root/18");
    editRow("time subcode", "noon", true, "0_subcode", "before", "", "/day/", "/before/");
    editRow("own subcode choices", "the", true, "0_subcode", "", "", "", "");
    editRow("frequency 0", "call", true, "0_frequency", "0", "", "/18/", "/0/");
    editRow("frequency 31", "call", true, "0_frequency", "31", "", "/18/", "/31/");
    editRow("read-only", "call", false, "0_frequency", "0", "", "", "");
    editRow("verb complements", "call", true, "0_0_complement", "-", tg + "OK", "Tn:", "Tn,Tg:");
    editRow("verb complements, cancelled", "call", true, "0_0_complement", "-", tg + "Cancel", "", "");
    editRow("noun complements", "call", true, "1_0_complement", "-", "dialog:chair IN LOCATION|OK", "of::", "in,of::");
    editRow("adjective complements cleared", "fond", true, "0_0_complement", "-", "dialog:Clear All|OK", "-::", "::");
    editRow("particles", "call", true, "0_0_particles", "-", "dialog:in front|OK", ":up:", ":in front,up:");
    editRow("prepositions", "call", true, "0_1_prepositions", "-", "dialog:about|OK", "about,for", "for");
    editRow("add usage", "call", true, "right 0_0_complement", "Add Usage", "", "about,for;", "about,for|::;");
    editRow("add usage to the code", "call", true, "right 1_part_of_speech", "Add Usage", "", "of::", "of::|::");
    editRow("delete usage", "call", true, "right 0_0_complement", "Delete Usage", deleteUsage + "OK", "Tn:up:|", "");
    editRow("delete usage, declined", "call", true, "right 0_0_complement", "Delete Usage", deleteUsage + "Cancel", "",
            "");
    editRow("delete grammar code", "call", true, "right 1_part_of_speech", "Delete Grammar Code",
            "box:Delete Grammar Code?>OK", ";noun/reg/9/of::", "");
    editRow("add grammar code", "call", true, "right 0_part_of_speech", "Add Grammar Code", "",
            "9/of::", "9/of::;new//9");
    editRow("edit", "call", true, "right 0_0_particles", "Edit", "dialog:away|OK", ":up:", ":away,up:");
}

void TestAdvancedPanel::edits()
{
    QFETCH(QString, word);
    QFETCH(bool, writable);
    QFETCH(QString, action);
    QFETCH(QString, menu);
    QFETCH(QString, modal);
    QFETCH(QString, from);
    QFETCH(QString, to);
    Fixture fixture(word, writable);
    ModalAnswerer menuAnswer;
    if (menu != QLatin1String("-"))
        menuAnswer.chooseMenuEntry(menu);
    ModalAnswerer modalAnswer;
    answerWith(modalAnswer, modal);
    OurTextBrowser *browser = fixture.panel->textBrowser;
    if (action.startsWith(QLatin1String("right ")))
        emit browser->customContextMenuRequested(anchorPoint(browser, action.mid(6)));
    else
        emit browser->anchorClicked(QUrl(action));
    QCOMPARE(menuAnswer.answered(), writable && menu != QLatin1String("-"));
    QCOMPARE(modalAnswer.answered(), writable && !modal.isEmpty());
    QVERIFY2(menuAnswer.failure().isEmpty(), qPrintable(menuAnswer.failure()));
    if (modal.startsWith(QLatin1String("box:")))
        QCOMPARE(modalAnswer.title(), modal.section('>', 0, 0).mid(4));
    QApplication::processEvents(); // the window's own panel has rendered; the advanced one follows
    fixture.check(word, from, to);
}

void TestAdvancedPanel::contextMenu_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<bool>("writable");
    QTest::addColumn<QString>("anchor");
    QTest::addColumn<QStringList>("entries");
    const QStringList edit{"Edit"};
    menuRow("verb", "call", true, "0_part_of_speech", {"Add Grammar Code", "Delete Grammar Code", "Add Usage", "Edit"});
    menuRow("name", "Paris", true, "0_part_of_speech",
            {"Add Grammar Code", "Delete Grammar Code", "Add Usage (off)", "Edit"});
    menuRow("complement", "call", true, "0_0_complement", {"Add Usage", "Delete Usage", "Edit"});
    menuRow("subcode", "call", true, "0_subcode", edit);
    menuRow("frequency", "call", true, "0_frequency", edit);
    menuRow("particles", "call", true, "0_0_particles", edit);
    menuRow("prepositions", "call", true, "0_1_prepositions", edit);
    menuRow("read-only", "call", false, "0_part_of_speech", {});
    menuRow("no link", "call", true, "", {});
}

void TestAdvancedPanel::contextMenu()
{
    QFETCH(QString, word);
    QFETCH(bool, writable);
    QFETCH(QString, anchor);
    QFETCH(QStringList, entries);
    Fixture fixture(word, writable);
    const QPoint point = anchor.isEmpty() ? QPoint(1, 1) : anchorPoint(fixture.panel->textBrowser, anchor);
    QStringList seenEntries;
    bool seen = false;
    QObject context;
    recordNextMenu(&context, &seenEntries, &seen);
    emit fixture.panel->textBrowser->customContextMenuRequested(point);
    QCOMPARE(seen, !anchor.isEmpty());
    QCOMPARE(seenEntries, entries);
}

void TestAdvancedPanel::cityEntry_data()
{
    QTest::addColumn<int>("variety");
    QTest::addColumn<bool>("shown");
    QTest::newRow("American") << int(Prediction::American) << false;
    QTest::newRow("British") << int(Prediction::British) << true;
}

void TestAdvancedPanel::cityEntry()
{
    QFETCH(int, variety);
    QFETCH(bool, shown);
    TempDictionary dict(lines, Prediction::Variety(variety));
    GrammarPopUp panel(dict.reference(), true, nullptr);
    panel.displayWord(QStringLiteral("Paris"), dict->findWord(QStringLiteral("Paris")), 1);
    panel.menus->cityEntry->setVisible(!shown);
    ModalAnswerer answer;
    answer.chooseMenuEntry(QString());
    emit panel.textBrowser->anchorClicked(QUrl(QStringLiteral("0_subcode")));
    QVERIFY(answer.answered());
    QCOMPARE(panel.menus->cityEntry->isVisible(), shown);
}

void TestAdvancedPanel::advancedWindow()
{
    TempDictionary dict(lines);
    auto window = EditorTest::create(dict.reference(), true, "call");
    QVERIFY(EditorTest::showActive(window.get()));
    window->collapse(false);
    QPointer<GrammarPopUp> panel = AdvancedDetails::install(window.get());
    QCOMPARE(AdvancedDetails::install(window.get()), panel.data());
    QCOMPARE(panel->metaObject(), &GrammarPopUp::staticMetaObject);
    QVERIFY(panel->isVisible());
    QCOMPARE(panel->geometry(), window->grammarPopUp->rect());

    // The panel shows what the window shows.
    window->findWord("fond");
    QTRY_COMPARE(panel->WordNameBox->toPlainText().trimmed(), QStringLiteral("fond"));
    QCOMPARE(panel->currentWord, window->grammarPopUp->currentWord);

    // It edits exactly when the window does, the window's flag being read when the panel is used.
    const QPoint point = anchorPoint(panel->textBrowser, "0_frequency");
    for (bool writable : {false, true}) {
        window->setWritable(writable);
        QStringList entries;
        bool seen = false;
        QObject context;
        recordNextMenu(&context, &entries, &seen);
        QContextMenuEvent event(QContextMenuEvent::Mouse, point, panel->textBrowser->viewport()->mapToGlobal(point));
        QApplication::sendEvent(panel->textBrowser->viewport(), &event);
        QCOMPARE(entries, writable ? QStringList{"Edit"} : QStringList());
    }

    // The window's Delete button removes the code last clicked in the advanced panel.
    window->findWord("call");
    QTRY_COMPARE(panel->WordNameBox->toPlainText().trimmed(), QStringLiteral("call"));
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
    QTRY_COMPARE(panel->currentWord->codes.size(), 1);

    window.reset();
    QVERIFY(panel.isNull());

    AdvancedDetails::installInEveryWindow();
    auto later = EditorTest::create(dict.reference(), true, "fond");
    QVERIFY(!AdvancedDetails::panelOf(later.get()));
    later->show();
    QVERIFY(AdvancedDetails::panelOf(later.get()));
}

QTEST_MAIN(TestAdvancedPanel)
#include "tst_advancedpanel.moc"
