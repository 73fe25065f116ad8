#include "contextmodel.h"

#include <QFile>

#include <algorithm>

#include "lexicon.h"

namespace {

// Reads a tab-separated table, skipping comment lines; calls row with the fields of each line that has
// as many as the table's columns.
template<typename Row> void readTable(const QString &path, int columns, Row row)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray data = file.readAll();
    for (const QByteArray &line : data.split('\n')) {
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const QList<QByteArray> fields = line.split('\t');
        if (fields.size() == columns)
            row(fields);
    }
}

} // namespace

ContextModel::ContextModel(const QString &bigramPath, const QString &trigramPath, const QString &tagPairPath)
{
    readTable(bigramPath, 3, [this](const QList<QByteArray> &f) {
        addSequence(sequenceKey(NoWord, addWord(f.at(0))), addWord(f.at(1)), f.at(2).toInt());
    });
    readTable(trigramPath, 4, [this](const QList<QByteArray> &f) {
        addSequence(sequenceKey(addWord(f.at(0)), addWord(f.at(1))), addWord(f.at(2)), f.at(3).toInt());
    });
    for (Followers &followers : m_followers)
        std::stable_sort(followers.words.begin(), followers.words.end(),
                         [](const Successor &a, const Successor &b) { return a.count > b.count; });

    // Class transitions: counts of each next class after each context key, and of each class overall.
    QHash<QString, std::vector<double>> counts;
    std::vector<double> overall(Corpus::WordClassCount, 0.0);
    readTable(tagPairPath, 3, [&](const QList<QByteArray> &f) {
        const QString previous = QString::fromUtf8(f.at(0));
        const QString next = QString::fromUtf8(f.at(1));
        const int count = f.at(2).toInt();
        const QString nextCode = Corpus::codeForTag(QString(), next);
        if (nextCode.isEmpty())
            return;
        const Corpus::WordClass nextClass = Corpus::classOfCode(nextCode);
        overall[nextClass] += count;
        const QString previousCode =
            previous == QLatin1String("^") ? previous : Corpus::codeForTag(QString(), previous);
        if (previousCode.isEmpty())
            return;
        std::vector<double> &row = counts[contextKey(previousCode)];
        row.resize(Corpus::WordClassCount, 0.0);
        row[nextClass] += count;
    });
    double total = 0;
    for (double c : overall)
        total += c;
    for (auto it = counts.constBegin(); it != counts.constEnd(); ++it) {
        double rowTotal = 0;
        for (double c : it.value())
            rowTotal += c;
        std::vector<double> boosts(Corpus::WordClassCount, 1.0);
        for (int c = 0; c < Corpus::WordClassCount; ++c) {
            if (overall[c] > 0 && rowTotal > 0)
                // Smoothed, so that a class never seen after a context is unlikely, not impossible.
                boosts[c] = ((it.value()[c] + 1.0) / (rowTotal + Corpus::WordClassCount)) / (overall[c] / total);
        }
        m_boosts.insert(it.key(), boosts);
    }
}

const ContextModel &ContextModel::shared()
{
    static const ContextModel model(Lexicon::dataFile(QStringLiteral("bigrams.tsv")),
                                    Lexicon::dataFile(QStringLiteral("trigrams.tsv")),
                                    Lexicon::dataFile(QStringLiteral("tagpairs.tsv")));
    return model;
}

quint32 ContextModel::addWord(const QByteArray &word)
{
    const QString text = QString::fromUtf8(word);
    auto it = m_ids.constFind(text);
    if (it != m_ids.constEnd())
        return *it;
    const quint32 id = quint32(m_words.size());
    m_words << text;
    m_ids.insert(text, id);
    return id;
}

void ContextModel::addSequence(quint64 context, quint32 next, int count)
{
    auto it = m_contexts.constFind(context);
    if (it == m_contexts.constEnd()) {
        it = m_contexts.insert(context, int(m_followers.size()));
        m_followers.emplace_back();
    }
    Followers &followers = m_followers[size_t(*it)];
    followers.words.push_back({next, count});
    followers.total += count;
    m_counts.insert(quint64(*it) << 32 | next, count);
}

int ContextModel::context(const QString &previous) const
{
    const quint32 last = id(previous);
    return last == NoWord ? -1 : m_contexts.value(sequenceKey(NoWord, last), -1);
}

int ContextModel::context(const QString &secondLast, const QString &previous) const
{
    const quint32 first = id(secondLast);
    const quint32 last = id(previous);
    return first == NoWord || last == NoWord ? -1 : m_contexts.value(sequenceKey(first, last), -1);
}

const ContextModel::Followers &ContextModel::followers(int context) const
{
    static const Followers none;
    return context < 0 ? none : m_followers[size_t(context)];
}

int ContextModel::count(int context, quint32 next) const
{
    return context < 0 || next == NoWord ? 0 : m_counts.value(quint64(context) << 32 | next);
}

double ContextModel::classBoost(const QString &previousPartOfSpeech, Corpus::WordClass next) const
{
    auto it = m_boosts.constFind(contextKey(previousPartOfSpeech));
    return it == m_boosts.constEnd() ? 1.0 : it->at(size_t(next));
}

QString ContextModel::contextKey(const QString &partOfSpeech)
{
    // The codes of single words ("the", "of", "and") stand with the class they belong to; the open classes
    // and the other closed classes are keys of their own.
    static const QHash<QString, QString> generic = {
        {QStringLiteral("a"), QStringLiteral("det")},       {QStringLiteral("the"), QStringLiteral("det")},
        {QStringLiteral("for"), QStringLiteral("prep")},    {QStringLiteral("by"), QStringLiteral("prep")},
        {QStringLiteral("of"), QStringLiteral("prep")},     {QStringLiteral("without"), QStringLiteral("prep")},
        {QStringLiteral("and"), QStringLiteral("conj")},    {QStringLiteral("or"), QStringLiteral("conj")},
        {QStringLiteral("but"), QStringLiteral("conj")},    {QStringLiteral("nor"), QStringLiteral("conj")},
        {QStringLiteral("andor"), QStringLiteral("conj")},  {QStringLiteral("if"), QStringLiteral("conj")},
        {QStringLiteral("as"), QStringLiteral("conj")},     {QStringLiteral("than"), QStringLiteral("conj")},
        {QStringLiteral("that"), QStringLiteral("conj")},   {QStringLiteral("so"), QStringLiteral("conj")},
        {QStringLiteral("it"), QStringLiteral("pron")},     {QStringLiteral("some"), QStringLiteral("quant")},
        {QStringLiteral("all"), QStringLiteral("quant")},   {QStringLiteral("more"), QStringLiteral("quant")},
        {QStringLiteral("other"), QStringLiteral("quant")}, {QStringLiteral("such"), QStringLiteral("quant")},
    };
    return generic.value(partOfSpeech, partOfSpeech);
}
