#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include "prediction.h"
#include "rawsqlite.h"

namespace {

const int WordsPerSet = 150;

QStringList wordSet(const QString &prefix)
{
    QStringList words;
    for (int i = 0; i < WordsPerSet; ++i)
        words << QStringLiteral("%1%2").arg(prefix).arg(i, 4, 10, QLatin1Char('0'));
    return words;
}

} // namespace

/// A process killed while saving never leaves a half-written dictionary behind, nor one that lexora-dict
/// calls damaged.
class TestCrash : public QObject
{
    Q_OBJECT

private slots:
    void killedWhileSaving();
};

void TestCrash::killedWhileSaving()
{
    const QString child = QCoreApplication::applicationDirPath() + QStringLiteral("/crashchild");
    const QString tool = QCoreApplication::applicationDirPath() + QStringLiteral("/lexora-dict");
    QVERIFY2(QFileInfo(child).isExecutable() && QFileInfo(tool).isExecutable(), qPrintable(child));
    QTemporaryDir dir;
    const QString path = dir.filePath("crash.dict");
    const QStringList setA = wordSet(QStringLiteral("alpha"));
    const QStringList setB = wordSet(QStringLiteral("beta"));
    {
        DictionaryReference ref = Prediction::createDictionary(path, "Crash", Prediction::American);
        QVERIFY(ref != 0);
        for (const QString &text : setA)
            QVERIFY(ref->addWord(text, "edit"));
        QCOMPARE(ref->save(), 0);
    }

    const quint32 seed = QRandomGenerator::global()->generate();
    qInfo("random seed %u", seed);
    QRandomGenerator random(seed);
    int sawA = 0;
    int sawB = 0;
    int interrupted = 0; // kills that left a save half done
    const int kills = 40;
    for (int round = 0; round < kills; ++round) {
        QProcess process;
        process.start(child, {"save", path, QString::number(WordsPerSet)});
        QVERIFY(process.waitForStarted(10000));
        // Some kills land before the first save is complete, most in the middle of the save loop.
        if (round % 4 != 0)
            QVERIFY2(process.waitForReadyRead(10000), process.readAllStandardError().constData());
        QTest::qSleep(int(random.bounded(60)));
        process.kill();
        QVERIFY(process.waitForFinished(10000));
        QCOMPARE(process.exitStatus(), QProcess::CrashExit);
        const bool halfDone = QFileInfo(path + QStringLiteral("-journal")).size() > 0;
        interrupted += halfDone ? 1 : 0;

        // The check undoes an interrupted save and says so; it never calls the file damaged.
        QProcess check;
        check.start(tool, {"check", path});
        QVERIFY(check.waitForFinished(30000));
        const QString report = QString::fromUtf8(check.readAllStandardOutput() + check.readAllStandardError());
        QVERIFY2(check.exitCode() == 0 && report.contains(QStringLiteral(": ok, %1 words").arg(WordsPerSet)),
                 qPrintable(QStringLiteral("round %1: %2").arg(round).arg(report)));
        QCOMPARE(report.contains(QLatin1String("interrupted")), halfDone);

        QString error;
        DictionaryReference ref = Prediction::openDictionary(path, &error);
        QVERIFY2(ref != 0, qPrintable(QStringLiteral("round %1: %2").arg(round).arg(error)));
        const QStringList words = ref->wordList();
        const bool isA = words == setA;
        const bool isB = words == setB;
        QVERIFY2(isA || isB, qPrintable(QStringLiteral("round %1: a mix of %2 words, from %3 to %4")
                                            .arg(round)
                                            .arg(words.size())
                                            .arg(words.value(0), words.value(words.size() - 1))));
        sawA += isA;
        sawB += isB;
        // Every word of the set was written by the same save.
        QSet<QString> expansions;
        for (const QString &text : words) {
            const Word *word = ref->findWord(text);
            QVERIFY(word);
            expansions.insert(word->codes.isEmpty() ? QString() : word->codes.first()->expansion);
        }
        QCOMPARE(expansions.size(), 1);
        ref = DictionaryReference();
        QCOMPARE(RawSqlite::query(path, "PRAGMA integrity_check"), QStringList{"ok"});
    }
    qInfo("%d kills, %d in the middle of a save: %d times the first set, %d times the second", kills, interrupted, sawA,
          sawB);
    QVERIFY(sawB > 0);
}

QTEST_GUILESS_MAIN(TestCrash)
#include "tst_crash.moc"
