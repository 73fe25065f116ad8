// The subcodes the engine offers for a part of speech and the subcode menus of the details panel are
// kept in two places; this ties them together, so that changing one alone fails here.

#include <QMenu>
#include <QtTest>

#include "menusonly.h"
#include "tempdictionary.h"

class TestSubcodeLists : public QObject
{
    Q_OBJECT

private slots:
    void menusOfferTheEngineSubcodes_data();
    void menusOfferTheEngineSubcodes();
};

void TestSubcodeLists::menusOfferTheEngineSubcodes_data()
{
    QTest::addColumn<QString>("partOfSpeech");
    for (const char *partOfSpeech : {"noun", "name", "verb", "adj.", "time"})
        QTest::newRow(partOfSpeech) << QString(partOfSpeech);
}

void TestSubcodeLists::menusOfferTheEngineSubcodes()
{
    QFETCH(QString, partOfSpeech);
    TempDictionary dict({"word\tnew//1"});
    Word *word = dict->findWord("word");
    word->setCodeName(0, partOfSpeech);
    const QStringList engine = word->codes.at(0)->subcodeChoices;
    QVERIFY(!engine.isEmpty());

    MenusOnly menus(true);
    const QMap<QString, QMenu *> menuOf = {{"noun", menus.nounMenu},
                                           {"name", menus.nameMenu},
                                           {"verb", menus.verbMenu},
                                           {"adj.", menus.adjectiveMenu},
                                           {"time", menus.timeMenu}};
    QStringList offered;
    for (const QAction *action : menuOf.value(partOfSpeech)->actions()) {
        if (!action->isSeparator() && !action->menu())
            offered << action->data().toString();
    }
    QCOMPARE(offered, engine);
    // Menus built for a dictionary that cannot be changed offer parts of speech but no subcodes.
    MenusOnly readOnly(false);
    QVERIFY(readOnly.nounMenu->actions().isEmpty() && !readOnly.partOfSpeechMenu->actions().isEmpty());
}

QTEST_MAIN(TestSubcodeLists)
#include "tst_subcodelists.moc"
