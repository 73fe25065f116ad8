#pragma once

// What both benchmarks share: printing a figure, timing, and word-like test spellings.

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QSet>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace Bench {

/// Prints one figure as "name: value unit".
inline void print(const QString &name, double value, const char *unit)
{
    std::printf("%s: %.3f %s\n", qPrintable(name), value, unit);
    std::fflush(stdout);
}

/// The middle of values once sorted; 0 for none.
inline double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

/// The dictionary sizes named on the command line, or 10,000, 100,000 and 1,000,000.
inline QList<int> sizes(int argc, char **argv)
{
    QList<int> list;
    for (int i = 1; i < argc; ++i) {
        if (const int size = QByteArray(argv[i]).toInt(); size > 0)
            list << size;
    }
    return list.isEmpty() ? QList<int>{10000, 100000, 1000000} : list;
}

inline double msSince(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

/// Word-like spellings: lower case mostly, some capitalised, 3 to 12 letters, all different.
inline QStringList makeWords(int count, quint32 seed)
{
    QRandomGenerator random(seed);
    QSet<QString> seen;
    QStringList words;
    words.reserve(count);
    static const char letters[] = "etaoinshrdlcumwfgypbvkjxqz";
    while (words.size() < count) {
        const int length = 3 + int(random.bounded(10));
        QString word;
        word.reserve(length);
        for (int i = 0; i < length; ++i) {
            // Skew towards common letters, as real words are.
            const int pick = int(qMin(random.bounded(26u), random.bounded(26u)));
            word += QLatin1Char(letters[pick]);
        }
        if (random.bounded(10) == 0)
            word[0] = word.at(0).toUpper();
        if (!seen.contains(word)) {
            seen.insert(word);
            words << word;
        }
    }
    return words;
}

} // namespace Bench
