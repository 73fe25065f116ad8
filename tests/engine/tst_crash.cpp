#include <QProcess>
#include <QRandomGenerator>
#include <QtTest>

#include "prediction.h"
#include "tempdictionary.h"

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
    const QString bin = QCoreApplication::applicationDirPath();
    // The helper saves forever, switching between two sets of words named alpha0000... and beta0000...
    const int count = 150;
    QStringList sets[2];
    for (int i = 0; i < count; ++i) {
        sets[0] << QStringLiteral("alpha%1").arg(i, 4, 10, QChar('0'));
        sets[1] << QStringLiteral("beta%1").arg(i, 4, 10, QChar('0'));
    }
    TempDictionary dict(sets[0]);
    dict.release();
    const QString path = dict.path();
    const quint32 seed = QRandomGenerator::global()->generate();
    qInfo("random seed %u", seed);
    QRandomGenerator random(seed);
    int seen[2] = {0, 0};
    for (int round = 0; round < 40; ++round) {
        QProcess process;
        process.start(bin + "/crashchild", {"save", path, QString::number(count)});
        // Some kills land before the first save is complete, most in the middle of the save loop.
        QVERIFY(process.waitForStarted(10000));
        if (round % 4 != 0)
            QVERIFY2(process.waitForReadyRead(10000), process.readAllStandardError().constData());
        QTest::qSleep(int(random.bounded(60)));
        process.kill();
        QVERIFY(process.waitForFinished(10000));
        const bool halfDone = QFileInfo(path + "-journal").size() > 0;

        // The check undoes an interrupted save and says so; it never calls the file damaged.
        QProcess check;
        check.start(bin + "/lexora-dict", {"check", path});
        QVERIFY(check.waitForFinished(30000));
        const QString report = QString::fromUtf8(check.readAllStandardOutput() + check.readAllStandardError());
        QVERIFY2(check.exitCode() == 0 && report.contains(QStringLiteral(": ok, %1 words").arg(count)),
                 qPrintable(QStringLiteral("round %1: %2").arg(round).arg(report)));
        QCOMPARE(report.contains("interrupted"), halfDone);

        QString error;
        DictionaryReference ref = Prediction::openDictionary(path, &error);
        QVERIFY2(ref != 0, qPrintable(error));
        const QStringList words = ref->wordList();
        QVERIFY2(words == sets[0] || words == sets[1],
                 qPrintable(QStringLiteral("round %1: a mix of %2 words").arg(round).arg(words.size())));
        ++seen[words == sets[1]];
        // Every word of the set was written by the same save.
        QSet<QString> expansions;
        for (const QString &text : words) {
            const Word *word = ref->findWord(text);
            expansions.insert(word->codes.isEmpty() ? QString() : word->codes.first()->expansion);
        }
        QCOMPARE(expansions.size(), 1);
        ref = DictionaryReference();
    }
    QVERIFY(seen[1] > 0);
}

QTEST_GUILESS_MAIN(TestCrash)
#include "tst_crash.moc"
