// The word list's drag and drop between two dictionaries: what a drag carries, which drops are refused,
// and what a drop adds.

#include <QDrag>
#include <QMimeData>
#include <QTest>
#include <QVBoxLayout>

#include "ourlistwidget.h"
#include "tempdictionary.h"
#include "windowsleft.h"

namespace {

const QString wordFormat = QString::fromLatin1(OurListWidget::WordMimeType);

QStringList items(const QListWidget *list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

// The action a synthesized enter event leaves accepted, or IgnoreAction when the list refuses the drag.
Qt::DropAction enter(QListWidget *list, QMimeData *data)
{
    QDragEnterEvent event(QPoint(5, 5), Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
    event.ignore();
    QCoreApplication::sendEvent(list->viewport(), &event);
    return event.isAccepted() ? event.dropAction() : Qt::IgnoreAction;
}

void mouse(QListWidget *list, QEvent::Type type, QPoint pos, Qt::MouseButtons buttons)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::MouseButton(int(buttons));
    QMouseEvent event(type, pos, list->viewport()->mapToGlobal(pos), button, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(list->viewport(), &event);
}

} // namespace

class TestOurListWidget : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void dragEnter_data();
    void dragEnter();
    void dragAndDrop_data();
    void dragAndDrop();

private:
    std::unique_ptr<TempDictionary> m_source;
    std::unique_ptr<TempDictionary> m_target;
    std::unique_ptr<QWidget> m_window;
    OurListWidget *m_sourceList = nullptr;
    OurListWidget *m_targetList = nullptr;
};

void TestOurListWidget::init()
{
    m_source = std::make_unique<TempDictionary>(
        QStringList{"Abbey\tname/-/12", "abbot\tnoun/reg/14", "call\tverb/reg/18/Tn:up:|Ipr::about"});
    m_target = std::make_unique<TempDictionary>(QStringList{"zebra\tnoun/reg/9", "zinc\tnoun/uncount/8"});
    m_window = std::make_unique<QWidget>();
    auto layout = new QVBoxLayout(m_window.get());
    m_sourceList = new OurListWidget(m_window.get());
    m_targetList = new OurListWidget(m_window.get());
    layout->addWidget(m_sourceList);
    layout->addWidget(m_targetList);
    m_sourceList->setDictionary(m_source->reference(), true);
    m_targetList->setDictionary(m_target->reference(), true);
    m_sourceList->addItems((*m_source)->wordList());
    m_targetList->addItems((*m_target)->wordList());
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    m_sourceList->setFocus();
}

void TestOurListWidget::cleanup()
{
    m_window.reset();
    QTRY_VERIFY2(windowsLeft().isEmpty(), qPrintable(windowsLeft().join(QLatin1Char(' '))));
}

void TestOurListWidget::dragEnter_data()
{
    QTest::addColumn<bool>("writable");
    QTest::addColumn<bool>("focused");
    QTest::addColumn<QString>("format");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("word from the other list") << true << false << wordFormat << true;
    QTest::newRow("onto the list it came from") << true << true << wordFormat << false;
    QTest::newRow("read-only list") << false << false << wordFormat << false;
    QTest::newRow("plain text") << true << false << "text/plain" << false;
}

void TestOurListWidget::dragEnter()
{
    QFETCH(bool, writable);
    QFETCH(bool, focused);
    QFETCH(QString, format);
    QFETCH(bool, accepted);
    m_targetList->setDictionary(m_target->reference(), writable);
    if (focused)
        m_targetList->setFocus();
    QMimeData data;
    data.setData(format, "abbot");
    // An accepted drag is always a copy.
    QCOMPARE(enter(m_targetList, &data), accepted ? Qt::CopyAction : Qt::IgnoreAction);
}

void TestOurListWidget::dragAndDrop_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("distance"); // how far the mouse moves with the left button held, in drag distances
    QTest::addColumn<QString>("added");
    QTest::newRow("a word with its usages") << 2 << 1 << "call";
    QTest::newRow("a name keeps its capital") << 0 << 3 << "Abbey";
    QTest::newRow("too short a move") << 1 << 0 << "";
}

void TestOurListWidget::dragAndDrop()
{
    QFETCH(int, row);
    QFETCH(int, distance);
    QFETCH(QString, added);
    const QPoint start = m_sourceList->visualItemRect(m_sourceList->item(row)).center();
    mouse(m_sourceList, QEvent::MouseButtonPress, start, Qt::LeftButton);
    mouse(m_sourceList, QEvent::MouseButtonPress, start + QPoint(50, 0), Qt::RightButton); // does not move the start
    QVERIFY((*m_source)->findWord(m_sourceList->currentItem()->text())); // as the window's selection handling does
    const int before = int(m_sourceList->findChildren<QDrag *>().size());
    const int d = QApplication::startDragDistance();
    mouse(m_sourceList, QEvent::MouseMove, start + QPoint(qMax(distance * d, d - 1), 0), Qt::LeftButton);
    const QList<QDrag *> drags = m_sourceList->findChildren<QDrag *>();
    QCOMPARE(int(drags.size()) - before, added.isEmpty() ? 0 : 1);
    if (added.isEmpty())
        return;
    QCOMPARE(drags.last()->supportedActions(), Qt::CopyAction);
    const QStringList sourceBefore = (*m_source)->wordList();
    QMimeData data;
    data.setData(wordFormat, drags.last()->mimeData()->data(wordFormat));
    QCOMPARE(enter(m_targetList, &data), Qt::CopyAction);
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(m_targetList->viewport(), &drop);
    QVERIFY(drop.isAccepted());
    QCOMPARE(items(m_targetList), (*m_target)->wordList());
    QCOMPARE(m_targetList->currentItem()->text(), added);
    QCOMPARE(TempDictionary::describe((*m_target)->findWord(added)),
             TempDictionary::describe((*m_source)->findWord(added)));
    QCOMPARE((*m_source)->wordList(), sourceBefore);
    // Text the engine cannot read is taken but adds nothing; an empty payload is refused.
    data.setData(wordFormat, "no word in here");
    QCoreApplication::sendEvent(m_targetList->viewport(), &drop);
    QCOMPARE((*m_target)->wordCount(), 3);
    data.setData(wordFormat, QByteArray());
    QDropEvent empty(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    empty.ignore();
    QCoreApplication::sendEvent(m_targetList->viewport(), &empty);
    QVERIFY(!empty.isAccepted());
}

QTEST_MAIN(TestOurListWidget)
#include "tst_ourlistwidget.moc"
