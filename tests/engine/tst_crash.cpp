#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>
#include <sqlite3.h>

#include "prediction.h"

namespace {

const int WordsPerSet = 150;

QStringList wordSet(const QString &prefix)
{
    QStringList words;
    for (int i = 0; i < WordsPerSet; ++i)
        words << QStringLiteral("%1%2").arg(prefix).arg(i, 4, 10, QLatin1Char('0'));
    return words;
}

QString integrityCheck(const QString &path)
{
    sqlite3 *db = nullptr;
    QString result;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt *st = nullptr;
        if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &st, nullptr) == SQLITE_OK &&
            sqlite3_step(st) == SQLITE_ROW)
            result = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 0)));
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
    return result;
}

} // namespace

/// A process killed while saving never leaves a half-written dictionary behind.
class TestCrash : public QObject
{
    Q_OBJECT

private slots:
    void killedWhileSaving();
};

void TestCrash::killedWhileSaving()
{
    const QString child = QCoreApplication::applicationDirPath() + QStringLiteral("/crashchild");
    QVERIFY2(QFileInfo(child).isExecutable(), qPrintable(child));
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
        interrupted += QFileInfo(path + QStringLiteral("-journal")).size() > 0 ? 1 : 0;

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
        QCOMPARE(integrityCheck(path), QStringLiteral("ok"));
    }
    qInfo("%d kills, %d in the middle of a save: %d times the first set, %d times the second", kills, interrupted, sawA,
          sawB);
    QVERIFY(sawB > 0);
}

QTEST_GUILESS_MAIN(TestCrash)
#include "tst_crash.moc"
