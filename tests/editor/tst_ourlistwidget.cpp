// The word list's drag and drop: what a drag carries, which drops are refused, and what a drop changes.

#include <QApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QTest>
#include <QVBoxLayout>
#include <memory>

#include "ourlistwidget.h"
#include "tempdictionary.h"

namespace {

const QString wordFormat = QStringLiteral("{D47C776F-37AD-4358-BE60-7574078E78F9}");

QStringList items(const QListWidget *list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

QString currentText(const QListWidget *list)
{
    return list->currentItem() ? list->currentItem()->text() : QString();
}

} // namespace

class TestOurListWidget : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void construction();
    void dragEnter_data();
    void dragEnter();
    void dragMoveAlwaysAccepts();
    void drop_data();
    void drop();
    void dragStart_data();
    void dragStart();
    void draggedWordArrivesInTheOtherList();
    void rightPressKeepsTheDragStart();

private:
    // Synthesized drag events sent to list's viewport, as the window system delivers them.
    // The action an enter event leaves accepted, or Qt::IgnoreAction when the list refuses the drag.
    static Qt::DropAction sendEnter(QListWidget *list, QMimeData *data);
    bool sendDrop(OurListWidget *list, QMimeData *data);
    void press(OurListWidget *list, QPoint pos, Qt::MouseButton button);
    int dragsAfterMove(OurListWidget *list, QPoint pos, Qt::MouseButtons buttons, QDrag **lastDrag = nullptr);
    QPoint rowCentre(OurListWidget *list, int row) const;

    std::unique_ptr<TempDictionary> m_source;
    std::unique_ptr<TempDictionary> m_target;
    std::unique_ptr<QWidget> m_window;
    OurListWidget *m_sourceList = nullptr;
    OurListWidget *m_targetList = nullptr;
    QLineEdit *m_elsewhere = nullptr;
};

void TestOurListWidget::init()
{
    m_source = std::make_unique<TempDictionary>(
        QStringList{"Abbey\tname/-/12", "abbot\tnoun/reg/14", "about\tadv./-/20", "call\tverb/reg/18/Tn:up:"},
        Prediction::American, QStringLiteral("Source"));
    m_target = std::make_unique<TempDictionary>(QStringList{"zebra\tnoun/reg/9", "zinc\tnoun/uncount/8"},
                                                Prediction::American, QStringLiteral("Target"));
    QVERIFY2(m_source->error().isEmpty(), qPrintable(m_source->error()));
    QVERIFY2(m_target->error().isEmpty(), qPrintable(m_target->error()));

    m_window = std::make_unique<QWidget>();
    auto layout = new QVBoxLayout(m_window.get());
    m_sourceList = new OurListWidget(m_window.get());
    m_targetList = new OurListWidget(m_window.get());
    m_elsewhere = new QLineEdit(m_window.get());
    layout->addWidget(m_sourceList);
    layout->addWidget(m_targetList);
    layout->addWidget(m_elsewhere);
    m_sourceList->setDictionary(m_source->reference(), true);
    m_targetList->setDictionary(m_target->reference(), true);
    m_sourceList->addItems((*m_source)->wordList());
    m_targetList->addItems((*m_target)->wordList());
    m_window->resize(300, 500);
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    m_elsewhere->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), m_elsewhere);
}

void TestOurListWidget::cleanup()
{
    m_window.reset();
    m_source.reset();
    m_target.reset();
}

Qt::DropAction TestOurListWidget::sendEnter(QListWidget *list, QMimeData *data)
{
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
    enter.ignore();
    QCoreApplication::sendEvent(list->viewport(), &enter);
    return enter.isAccepted() ? enter.dropAction() : Qt::IgnoreAction;
}

// A drop only comes at the end of a drag that the list accepted, as a real one would.
bool TestOurListWidget::sendDrop(OurListWidget *list, QMimeData *data)
{
    if (sendEnter(list, data) == Qt::IgnoreAction)
        return false;
    QDragMoveEvent move(QPoint(5, 5), Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(list->viewport(), &move);
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    drop.ignore();
    QCoreApplication::sendEvent(list->viewport(), &drop);
    return drop.isAccepted();
}

void TestOurListWidget::press(OurListWidget *list, QPoint pos, Qt::MouseButton button)
{
    QMouseEvent event(QEvent::MouseButtonPress, pos, list->viewport()->mapToGlobal(pos), button, button,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(list->viewport(), &event);
}

// Moves the mouse over list and counts the drags the move started: a drag object is a child of the list
// until Qt deletes it once control is back in the event loop.
int TestOurListWidget::dragsAfterMove(OurListWidget *list, QPoint pos, Qt::MouseButtons buttons, QDrag **lastDrag)
{
    const int before = int(list->findChildren<QDrag *>().size());
    QMouseEvent event(QEvent::MouseMove, pos, list->viewport()->mapToGlobal(pos), Qt::NoButton, buttons,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(list->viewport(), &event);
    const QList<QDrag *> drags = list->findChildren<QDrag *>();
    if (lastDrag)
        *lastDrag = drags.isEmpty() ? nullptr : drags.last();
    return int(drags.size()) - before;
}

QPoint TestOurListWidget::rowCentre(OurListWidget *list, int row) const
{
    return list->visualItemRect(list->item(row)).center();
}

void TestOurListWidget::construction()
{
    OurListWidget list(nullptr);
    QVERIFY(list.acceptDrops());
    QCOMPARE(list.count(), 0);

    // Without setDictionary the list is not writable: a proper drag is refused.
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    QMimeData data;
    data.setData(wordFormat, QByteArrayLiteral("abbot"));
    QCOMPARE(sendEnter(&list, &data), Qt::IgnoreAction);
}

void TestOurListWidget::dragEnter_data()
{
    QTest::addColumn<bool>("writable");
    QTest::addColumn<bool>("targetHasFocus");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<bool>("accepted");

    const QByteArray some("abbot");
    QTest::newRow("word from another list") << true << false << wordFormat << some << true;
    QTest::newRow("empty payload") << true << false << wordFormat << QByteArray() << true;
    QTest::newRow("onto the list that has the focus") << true << true << wordFormat << some << false;
    QTest::newRow("read-only list") << false << false << wordFormat << some << false;
    QTest::newRow("plain text from elsewhere") << true << false << "text/plain" << some << false;
    QTest::newRow("format in other letter case") << true << false << wordFormat.toLower() << some << false;
}

void TestOurListWidget::dragEnter()
{
    QFETCH(bool, writable);
    QFETCH(bool, targetHasFocus);
    QFETCH(QString, format);
    QFETCH(QByteArray, payload);
    QFETCH(bool, accepted);

    m_targetList->setDictionary(m_target->reference(), writable);
    if (targetHasFocus) {
        m_targetList->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), m_targetList);
    }
    QMimeData data;
    data.setData(format, payload);
    // An accepted drag is always a copy.
    QCOMPARE(sendEnter(m_targetList, &data), accepted ? Qt::CopyAction : Qt::IgnoreAction);
}

void TestOurListWidget::dragMoveAlwaysAccepts()
{
    // Moves only follow an accepted enter; each one is accepted with the proposed action, at every position.
    QMimeData data;
    data.setData(wordFormat, QByteArrayLiteral("abbot"));
    QCOMPARE(sendEnter(m_targetList, &data), Qt::CopyAction);
    const QList<QPoint> positions = {QPoint(1, 1), QPoint(20, 15), QPoint(200, 100)};
    for (const QPoint &pos : positions) {
        QDragMoveEvent move(pos, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        move.setDropAction(Qt::MoveAction);
        move.ignore();
        QCoreApplication::sendEvent(m_targetList->viewport(), &move);
        QVERIFY(move.isAccepted());
        QCOMPARE(move.dropAction(), Qt::CopyAction);
    }
}

void TestOurListWidget::drop_data()
{
    QTest::addColumn<QString>("sourceWord"); // the source's current word, whose text form is dropped
    QTest::addColumn<QByteArray>("payload"); // used when there is no source word
    QTest::addColumn<QString>("targetRule");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<bool>("refilled");
    QTest::addColumn<QString>("current");

    QTest::newRow("word from the other dictionary")
        << "abbot" << QByteArray() << "all words" << true << true << "abbot";
    QTest::newRow("word with a usage") << "call" << QByteArray() << "all words" << true << true << "call";
    QTest::newRow("name keeps its capital") << "Abbey" << QByteArray() << "all words" << true << true << "Abbey";
    QTest::newRow("word hidden by the target's filter")
        << "abbot" << QByteArray() << "Verbs only" << true << true << "";
    QTest::newRow("empty payload") << "" << QByteArray() << "all words" << false << false << "zinc";
    QTest::newRow("text the engine cannot read")
        << "" << QByteArray("no word in here") << "all words" << true << false << "zinc";
}

void TestOurListWidget::drop()
{
    QFETCH(QString, sourceWord);
    QFETCH(QByteArray, payload);
    QFETCH(QString, targetRule);
    QFETCH(bool, accepted);
    QFETCH(bool, refilled);
    QFETCH(QString, current);

    if (!sourceWord.isEmpty()) {
        QVERIFY((*m_source)->findWord(sourceWord));
        payload = (*m_source)->copyCurrentWord().toLatin1();
        QVERIFY(!payload.isEmpty());
    }
    (*m_target)->setSelectionRule(targetRule);
    m_targetList->setCurrentRow(1);
    // A marker item shows whether the drop rebuilt the list from the engine.
    m_targetList->addItem(QStringLiteral("marker"));
    const QStringList sourceBefore = (*m_source)->wordList();

    QMimeData data;
    data.setData(wordFormat, payload);
    QCOMPARE(sendDrop(m_targetList, &data), accepted);

    QCOMPARE(!items(m_targetList).contains(QStringLiteral("marker")), refilled);
    if (refilled)
        QCOMPARE(items(m_targetList), (*m_target)->wordList());
    QCOMPARE(currentText(m_targetList), current);
    if (!sourceWord.isEmpty()) {
        Word *copied = (*m_target)->findWord(sourceWord);
        QVERIFY(copied);
        Word *original = (*m_source)->findWord(sourceWord);
        QCOMPARE(copied->codes.size(), original->codes.size());
        for (int i = 0; i < original->codes.size(); ++i) {
            QCOMPARE(copied->codes[i]->partOfSpeech, original->codes[i]->partOfSpeech);
            QCOMPARE(copied->codes[i]->usages.size(), original->codes[i]->usages.size());
        }
    } else {
        QCOMPARE((*m_target)->wordCount(), 2);
    }
    // Drag and drop copies: the source keeps its words.
    QCOMPARE((*m_source)->wordList(), sourceBefore);
}

void TestOurListWidget::dragStart_data()
{
    QTest::addColumn<QPoint>("offset");
    QTest::addColumn<int>("buttons");
    QTest::addColumn<int>("drags");

    const int d = QApplication::startDragDistance();
    QTest::newRow("no movement") << QPoint(0, 0) << int(Qt::LeftButton) << 0;
    QTest::newRow("one short, across") << QPoint(d - 1, 0) << int(Qt::LeftButton) << 0;
    QTest::newRow("one short, diagonal") << QPoint(d / 2, d - 1 - d / 2) << int(Qt::LeftButton) << 0;
    QTest::newRow("exactly the distance, across") << QPoint(d, 0) << int(Qt::LeftButton) << 1;
    QTest::newRow("exactly the distance, diagonal") << QPoint(-(d / 2), d - d / 2) << int(Qt::LeftButton) << 1;
    QTest::newRow("left with right held") << QPoint(3 * d, 0) << int(Qt::LeftButton | Qt::RightButton) << 1;
    QTest::newRow("right button only") << QPoint(3 * d, 0) << int(Qt::RightButton) << 0;
    QTest::newRow("no button") << QPoint(3 * d, 0) << int(Qt::NoButton) << 0;
}

void TestOurListWidget::dragStart()
{
    QFETCH(QPoint, offset);
    QFETCH(int, buttons);
    QFETCH(int, drags);

    const QPoint start = rowCentre(m_sourceList, 1);
    press(m_sourceList, start, Qt::LeftButton);
    QCOMPARE(currentText(m_sourceList), QStringLiteral("abbot"));
    QDrag *drag = nullptr;
    QCOMPARE(dragsAfterMove(m_sourceList, start + offset, Qt::MouseButtons(buttons), &drag), drags);
    if (drags) {
        QVERIFY(drag);
        QCOMPARE(drag->supportedActions(), Qt::CopyAction);
        QCOMPARE(drag->mimeData()->formats(), QStringList{wordFormat});
    }
    // The source list is never changed by a drag.
    QCOMPARE(items(m_sourceList), (*m_source)->wordList());
}

// The drag's data, dropped on the other list, adds the pressed word to the other dictionary.
void TestOurListWidget::draggedWordArrivesInTheOtherList()
{
    const QPoint start = rowCentre(m_sourceList, 3);
    press(m_sourceList, start, Qt::LeftButton);
    const QString pressed = currentText(m_sourceList);
    QCOMPARE(pressed, QStringLiteral("call"));
    // The window's selection handling looks the pressed word up; this makes it the engine's current word.
    QVERIFY((*m_source)->findWord(pressed));

    QDrag *drag = nullptr;
    QCOMPARE(dragsAfterMove(m_sourceList, start + QPoint(0, 40), Qt::LeftButton, &drag), 1);
    QVERIFY(drag);
    const QByteArray payload = drag->mimeData()->data(wordFormat);
    QVERIFY(!payload.isEmpty());

    QMimeData data;
    data.setData(wordFormat, payload);
    QVERIFY(sendDrop(m_targetList, &data));
    QCOMPARE(currentText(m_targetList), pressed);
    QVERIFY((*m_target)->findWord(pressed));
    QVERIFY((*m_source)->findWord(pressed));
}

// Only a left press moves the drag start: a right press elsewhere leaves it where the left press was.
void TestOurListWidget::rightPressKeepsTheDragStart()
{
    const int d = QApplication::startDragDistance();
    const QPoint start = rowCentre(m_sourceList, 0);
    press(m_sourceList, start, Qt::LeftButton);
    press(m_sourceList, start + QPoint(4 * d, 0), Qt::RightButton);
    QCOMPARE(dragsAfterMove(m_sourceList, start + QPoint(d - 1, 0), Qt::LeftButton), 0);
    QCOMPARE(dragsAfterMove(m_sourceList, start + QPoint(d, 0), Qt::LeftButton), 1);
}

QTEST_MAIN(TestOurListWidget)
#include "tst_ourlistwidget.moc"
