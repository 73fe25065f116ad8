#include <QAbstractButton>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
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

// Answers the next menu ("menu:Entry", "menu:" closes it) or dialog ("dialog:label|label|OK": buttons
// clicked in turn, by text without ampersands, "|" between them).
void answerWith(ModalAnswerer &answer, const QString &how)
{
    if (how.startsWith(QLatin1String("menu:")))
        return answer.chooseMenuEntry(how.mid(5));
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
    Fixture(const QString &word, bool writable, bool british = false)
        : dict(lines, british ? Prediction::British : Prediction::American),
          window(EditorTest::create(dict.reference(), writable, word)), panel(AdvancedDetails::install(window.get()))
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

} // namespace

class TestAdvancedPanel : public QObject
{
    Q_OBJECT
private slots:
    void anchorClick_data();
    void anchorClick();
    void contextMenu_data();
    void contextMenu();
    void contextCommands_data();
    void contextCommands();
    void advancedWindow();
};

void TestAdvancedPanel::anchorClick_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<bool>("writable");
    QTest::addColumn<QString>("anchor");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    const QString tg = QStringLiteral("Tg: I like doing it.");
    QTest::newRow("part of speech") << "call" << true << "1_part_of_speech"
                                    << "menu:Adj."
                                    << "noun/"
                                    << "adj./";
    QTest::newRow("part of speech, cancelled") << "call" << true << "1_part_of_speech"
                                               << "menu:"
                                               << ""
                                               << "";
    QTest::newRow("verb subcode") << "call" << true << "0_subcode"
                                  << "menu:past = root"
                                  << "/reg/18"
                                  << "/past = root/18";
    QTest::newRow("time subcode") << "noon" << true << "0_subcode"
                                  << "menu:before"
                                  << "/day/"
                                  << "/before/";
    QTest::newRow("own subcode choices") << "the" << true << "0_subcode"
                                         << "menu:"
                                         << ""
                                         << "";
    QTest::newRow("frequency 0") << "call" << true << "0_frequency"
                                 << "menu:0"
                                 << "/18/"
                                 << "/0/";
    QTest::newRow("frequency 31") << "call" << true << "0_frequency"
                                  << "menu:31"
                                  << "/18/"
                                  << "/31/";
    QTest::newRow("read-only") << "call" << false << "0_frequency"
                               << "menu:0"
                               << ""
                               << "";
    QTest::newRow("verb complements") << "call" << true << "0_0_complement"
                                      << "dialog:" + tg + "|OK"
                                      << "Tn:"
                                      << "Tn,Tg:";
    QTest::newRow("verb complements, cancelled") << "call" << true << "0_0_complement"
                                                 << "dialog:" + tg + "|Cancel"
                                                 << ""
                                                 << "";
    QTest::newRow("noun complements") << "call" << true << "1_0_complement"
                                      << "dialog:chair IN LOCATION|OK"
                                      << "of::"
                                      << "in,of::";
    QTest::newRow("adjective complements cleared") << "fond" << true << "0_0_complement"
                                                   << "dialog:Clear All|OK"
                                                   << "-::"
                                                   << "::";
    QTest::newRow("particles") << "call" << true << "0_0_particles"
                               << "dialog:in front|OK"
                               << ":up:"
                               << ":in front,up:";
    QTest::newRow("prepositions") << "call" << true << "0_1_prepositions"
                                  << "dialog:about|OK"
                                  << "about,for"
                                  << "for";
}

void TestAdvancedPanel::anchorClick()
{
    QFETCH(QString, word);
    QFETCH(bool, writable);
    QFETCH(QString, anchor);
    QFETCH(QString, answer);
    Fixture fixture(word, writable);
    ModalAnswerer answerer;
    answerWith(answerer, answer);
    emit fixture.panel->textBrowser->anchorClicked(QUrl(anchor));
    QCOMPARE(answerer.answered(), writable);
    QVERIFY2(answerer.failure().isEmpty(), qPrintable(answerer.failure()));
    QFETCH(QString, from);
    QFETCH(QString, to);
    fixture.check(word, from, to);
}

void TestAdvancedPanel::contextMenu_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<bool>("writable");
    QTest::addColumn<QString>("anchor");
    QTest::addColumn<QStringList>("entries");
    const QStringList edit{"Edit"};
    QTest::newRow("verb") << "call" << true << "0_part_of_speech"
                          << QStringList{"Add Grammar Code", "Delete Grammar Code", "Add Usage", "Edit"};
    QTest::newRow("name") << "Paris" << true << "0_part_of_speech"
                          << QStringList{"Add Grammar Code", "Delete Grammar Code", "Add Usage (off)", "Edit"};
    QTest::newRow("complement") << "call" << true << "0_0_complement"
                                << QStringList{"Add Usage", "Delete Usage", "Edit"};
    QTest::newRow("subcode") << "call" << true << "0_subcode" << edit;
    QTest::newRow("frequency") << "call" << true << "0_frequency" << edit;
    QTest::newRow("particles") << "call" << true << "0_0_particles" << edit;
    QTest::newRow("prepositions") << "call" << true << "0_1_prepositions" << edit;
    QTest::newRow("read-only") << "call" << false << "0_part_of_speech" << QStringList();
    QTest::newRow("no link") << "call" << true << "" << QStringList();
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

void TestAdvancedPanel::contextCommands_data()
{
    QTest::addColumn<QString>("anchor");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("answer"); // the button of the question, or the dialog's steps
    QTest::addColumn<QString>("question");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    const QString usage = QStringLiteral("Delete Usage?|Are you sure you want to remove this usage?");
    QTest::newRow("add usage") << "0_0_complement"
                               << "Add Usage"
                               << ""
                               << ""
                               << "about,for;"
                               << "about,for|::;";
    QTest::newRow("add usage to the code") << "1_part_of_speech"
                                           << "Add Usage"
                                           << ""
                                           << ""
                                           << "of::"
                                           << "of::|::";
    QTest::newRow("delete usage") << "0_0_complement"
                                  << "Delete Usage"
                                  << "OK" << usage << "Tn:up:|"
                                  << "";
    QTest::newRow("delete usage, declined") << "0_0_complement"
                                            << "Delete Usage"
                                            << "Cancel" << usage << ""
                                            << "";
    QTest::newRow("delete grammar code") << "1_part_of_speech"
                                         << "Delete Grammar Code"
                                         << "OK"
                                         << "Delete Grammar Code?|Are you sure you want to remove this noun?"
                                         << ";noun/reg/9/of::"
                                         << "";
    QTest::newRow("add grammar code") << "0_part_of_speech"
                                      << "Add Grammar Code"
                                      << ""
                                      << ""
                                      << "9/of::"
                                      << "9/of::;new//9";
    QTest::newRow("edit") << "0_0_particles"
                          << "Edit"
                          << "away|OK"
                          << ""
                          << ":up:"
                          << ":away,up:";
}

void TestAdvancedPanel::contextCommands()
{
    QFETCH(QString, anchor);
    QFETCH(QString, entry);
    QFETCH(QString, answer);
    QFETCH(QString, question);
    Fixture fixture(QStringLiteral("call"), true);
    ModalAnswerer menu;
    menu.chooseMenuEntry(entry);
    ModalAnswerer follow;
    QString asked;
    if (!question.isEmpty()) {
        follow.handle([&](QWidget *modal) {
            auto *box = qobject_cast<QMessageBox *>(modal);
            QVERIFY(box && box->icon() == QMessageBox::NoIcon && box->defaultButton() == box->button(QMessageBox::Ok));
            asked = box->windowTitle() + '|' + box->text();
            box->button(answer == QLatin1String("OK") ? QMessageBox::Ok : QMessageBox::Cancel)->click();
        });
    } else if (!answer.isEmpty()) {
        answerWith(follow, "dialog:" + answer);
    }
    emit fixture.panel->textBrowser->customContextMenuRequested(anchorPoint(fixture.panel->textBrowser, anchor));
    QVERIFY(menu.answered());
    QCOMPARE(follow.answered(), !answer.isEmpty());
    QCOMPARE(asked, question);
    QApplication::processEvents(); // the window's own panel has rendered; the advanced one follows
    QFETCH(QString, from);
    QFETCH(QString, to);
    fixture.check("call", from, to);
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
