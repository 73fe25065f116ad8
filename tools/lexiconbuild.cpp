// Builds the engine's lexicon from WordNet's index, sense-count and exception files and the corpus word
// table (data/language/words.tsv):
//     lexiconbuild WORDNET_DIR CORPUS_WORDS OUTPUT
// A missing WordNet folder gives a lexicon of the corpus words alone, so that the build still succeeds.

#include "corpus.h"
#include "inflection.h"
#include "lexicon.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QMap>
#include <QTextStream>

#include <cmath>

namespace {

const char *const partsOfSpeech[] = {"noun", "verb", "adj.", "adv."};
enum Pos
{
    Noun,
    Verb,
    Adjective,
    Adverb,
    PosCount
};

struct Lemma
{
    bool present[PosCount] = {false, false, false, false};
    int senses[PosCount] = {0, 0, 0, 0};
    qint64 count[PosCount] = {0, 0, 0, 0};
};

bool isPlainWord(const QString &word)
{
    if (word.isEmpty() || !word.at(0).isLetter())
        return false;
    for (const QChar c : word) {
        if (!c.isLetter() && c != QLatin1Char('-') && c != QLatin1Char('\''))
            return false;
    }
    return true;
}

// Lines of a WordNet file without its licence header (which starts with blanks).
QList<QByteArray> dataLines(const QString &path)
{
    QList<QByteArray> lines;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return lines;
    for (const QByteArray &line : file.readAll().split('\n')) {
        if (!line.isEmpty() && line.at(0) != ' ')
            lines << line.trimmed();
    }
    return lines;
}

// form -> base forms, from an exception list.
QMultiHash<QString, QString> readExceptions(const QString &path)
{
    QMultiHash<QString, QString> byBase;
    for (const QByteArray &line : dataLines(path)) {
        const QList<QByteArray> parts = line.split(' ');
        for (int i = 1; i < parts.size(); ++i)
            byBase.insert(QString::fromUtf8(parts.at(i)), QString::fromUtf8(parts.at(0)));
    }
    return byBase;
}

int scale(qint64 count, qint64 maximum)
{
    if (count <= 0 || maximum <= 0)
        return 1;
    return qBound(1, 1 + int(std::lround(30.0 * std::log1p(double(count)) / std::log1p(double(maximum)))), 31);
}

QString lastLetter(const QString &word)
{
    return word.isEmpty() ? QString() : word.right(1);
}

// One line of the corpus word table: the counts of a word in the written and the spoken corpus, and how
// often the tagged corpus read it with each tag.
struct Counted
{
    QString word;
    qint64 written = 0;
    qint64 spoken = 0;
    QList<QPair<QString, qint64>> tags;
};

// Reads the word table; *writtenTotal and *spokenTotal get the sizes of the two corpora.
QList<Counted> readCounts(const QString &path, qint64 *writtenTotal, qint64 *spokenTotal)
{
    QList<Counted> words;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return words;
    for (const QByteArray &line : file.readAll().split('\n')) {
        const QList<QByteArray> fields = line.split('\t');
        if (fields.size() < 4)
            continue;
        if (fields.at(0) == "#total") {
            *writtenTotal = fields.at(1).toLongLong();
            *spokenTotal = fields.at(2).toLongLong();
            continue;
        }
        if (line.startsWith('#'))
            continue;
        Counted c;
        c.word = QString::fromUtf8(fields.at(0));
        c.written = fields.at(1).toLongLong();
        c.spoken = fields.at(2).toLongLong();
        for (const QByteArray &item : fields.at(3).split(',')) {
            const int colon = item.lastIndexOf(':');
            if (colon > 0)
                c.tags.append({QString::fromUtf8(item.left(colon)), item.mid(colon + 1).toLongLong()});
        }
        words << c;
    }
    return words;
}

// The code of an inflected form by its corpus tag; no code for tags that say nothing of the form. A
// contraction's tag joins its parts ("vbg+to" for "gonna"): the first one tells what it is.
Lexicon::Code codeOfForm(const QString &compoundTag, int frequency)
{
    const QString tag = compoundTag.section(QLatin1Char('+'), 0, 0);
    const QPair<const char *, QPair<const char *, const char *>> forms[] = {
        {"nns", {"noun", "plural only"}},  {"nn", {"noun", "reg"}},
        {"vb", {"verb", "reg"}},           {"vbg", {"verb", "+ing"}},
        {"vbd", {"verb", "+ed (p & pp)"}}, {"vbn", {"verb", "+ed (p & pp)"}},
        {"jj", {"adj.", "reg"}},           {"rb", {"adv.", "-"}},
    };
    for (const auto &form : forms) {
        if (tag == QLatin1String(form.first))
            return {QLatin1String(form.second.first), QLatin1String(form.second.second), frequency};
    }
    return {};
}

// Gives the lexicon's words the frequencies of their counts and the closed-class codes the tagged corpus
// reads them with. The rate of a word is the mean of its rates per million in the written and the spoken
// corpus: people type both what they would write and what they would say, and a mean of rates keeps a
// word common in either near the top. Each code gets the rate of the share of readings it stands for.
void addCorpusCounts(const QString &path, QMap<QString, Lexicon::Entry> *entries)
{
    qint64 writtenTotal = 0;
    qint64 spokenTotal = 0;
    const QList<Counted> words = readCounts(path, &writtenTotal, &spokenTotal);
    if (words.isEmpty() || writtenTotal <= 0 || spokenTotal <= 0) {
        QTextStream(stderr) << "lexiconbuild: no corpus counts in " << path << "\n";
        return;
    }
    // Readings rarer than this share of a word's tagged uses are taken for tagging noise ("a" as a noun).
    const double rareShare = 0.01;
    for (const Counted &c : words) {
        if (!isPlainWord(c.word))
            continue;
        const double rate =
            1e6 * (double(c.written) / double(writtenTotal) + double(c.spoken) / double(spokenTotal)) / 2;
        QHash<QString, qint64> byCode;
        qint64 tagged = 0;
        for (const auto &tag : c.tags) {
            const QString code = Corpus::codeForTag(c.word, tag.first);
            if (code.isEmpty())
                continue;
            byCode[code] += tag.second;
            tagged += tag.second;
        }
        Lexicon::Entry &entry = (*entries)[c.word];
        entry.frequency = Corpus::frequencyForRate(rate);
        auto shareOf = [&](const QString &code) { return tagged > 0 ? double(byCode.value(code)) / tagged : -1.0; };
        struct Ranked
        {
            Lexicon::Code code;
            double share;
            int rank;
        };
        QList<Ranked> ranked;
        // The lexicon's open-class codes stay, with the frequency of their share; those the corpus (with
        // enough readings to tell) never saw are kept last, rarer than any it saw.
        for (int i = 0; i < entry.codes.size(); ++i) {
            Lexicon::Code code = entry.codes.at(i);
            const double share = shareOf(code.partOfSpeech);
            // Verbs stay: their forms are derived from them ("doing" from "do", read as an auxiliary).
            if (tagged >= 50 && share < rareShare && code.partOfSpeech != QLatin1String("verb"))
                continue;
            code.frequency =
                share > 0 ? Corpus::frequencyForRate(rate * share) : qMax(2, entry.frequency - (share < 0 ? i * 2 : 6));
            ranked.append({code, share, i});
        }
        // Closed-class readings become codes of their own, without subcodes.
        for (auto it = byCode.constBegin(); it != byCode.constEnd(); ++it) {
            const double share = double(it.value()) / tagged;
            if (Corpus::isOpenClass(it.key()) || share < rareShare || it.value() < 2)
                continue;
            ranked.append({{it.key(), QString(), Corpus::frequencyForRate(rate * share)}, share, 0});
        }
        if (ranked.isEmpty() && entry.codes.isEmpty() && !c.tags.isEmpty() && c.word.at(0).isLower()) {
            // A form the lexicon has no entry for ("women", "others"): the commonest tag tells what it is.
            const Lexicon::Code code = codeOfForm(c.tags.first().first, entry.frequency);
            if (!code.partOfSpeech.isEmpty() && double(c.tags.first().second) >= 0.5 * double(tagged))
                ranked.append({code, 1.0, 0});
        }
        if (ranked.isEmpty()) {
            // A name, or a word the rules give codes to: the lexicon's codes stay, with the word's frequency.
            for (Lexicon::Code &code : entry.codes)
                code.frequency = entry.frequency;
            continue;
        }
        std::stable_sort(ranked.begin(), ranked.end(), [](const Ranked &a, const Ranked &b) {
            return a.share != b.share ? a.share > b.share : a.rank < b.rank;
        });
        entry.codes.clear();
        for (const Ranked &r : std::as_const(ranked))
            entry.codes << r.code;
    }
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4) {
        QTextStream(stderr) << "usage: lexiconbuild WORDNET_DIR CORPUS_WORDS OUTPUT\n";
        return 2;
    }
    const QDir wordnet(args.at(1));
    const QString output = args.at(3);
    QDir().mkpath(QFileInfo(output).absolutePath());

    QMap<QString, Lemma> lemmas;
    const char *const indexFiles[] = {"index.noun", "index.verb", "index.adj", "index.adv"};
    for (int pos = 0; pos < PosCount; ++pos) {
        for (const QByteArray &line : dataLines(wordnet.filePath(QLatin1String(indexFiles[pos])))) {
            const QList<QByteArray> fields = line.split(' ');
            if (fields.size() < 3)
                continue;
            const QString word = QString::fromUtf8(fields.at(0));
            if (!isPlainWord(word))
                continue;
            Lemma &lemma = lemmas[word];
            lemma.present[pos] = true;
            lemma.senses[pos] = fields.at(2).toInt();
        }
    }

    // Sense keys read "lemma%type:...", type 1 noun, 2 verb, 3 adjective, 4 adverb, 5 adjective satellite.
    for (const QByteArray &line : dataLines(wordnet.filePath(QStringLiteral("cntlist.rev")))) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() < 3)
            continue;
        const int percent = fields.at(0).indexOf('%');
        if (percent <= 0 || percent + 1 >= fields.at(0).size())
            continue;
        const QString word = QString::fromUtf8(fields.at(0).left(percent));
        const int type = fields.at(0).at(percent + 1) - '0';
        const int pos = type == 1                  ? Noun
                        : type == 2                ? Verb
                        : (type == 3 || type == 5) ? Adjective
                        : type == 4                ? Adverb
                                                   : -1;
        auto it = lemmas.find(word);
        if (pos < 0 || it == lemmas.end())
            continue;
        it->count[pos] += fields.at(2).toLongLong();
    }

    qint64 maximum = 0;
    for (const Lemma &lemma : std::as_const(lemmas)) {
        for (qint64 c : lemma.count)
            maximum = qMax(maximum, c);
    }

    const QMultiHash<QString, QString> verbForms = readExceptions(wordnet.filePath(QStringLiteral("verb.exc")));
    const QMultiHash<QString, QString> nounForms = readExceptions(wordnet.filePath(QStringLiteral("noun.exc")));
    const QMultiHash<QString, QString> adjectiveForms = readExceptions(wordnet.filePath(QStringLiteral("adj.exc")));

    QMap<QString, Lexicon::Entry> entries;
    // Inflected forms found in the exception lists, added after the lemmas: form -> (pos, subcode, frequency).
    QMap<QString, QList<Lexicon::Code>> formCodes;

    for (auto it = lemmas.constBegin(); it != lemmas.constEnd(); ++it) {
        const QString &word = it.key();
        const Lemma &lemma = it.value();
        Lexicon::Entry entry;

        struct Ranked
        {
            Lexicon::Code code;
            double score;
        };
        QList<Ranked> ranked;
        for (int pos = 0; pos < PosCount; ++pos) {
            if (!lemma.present[pos])
                continue;
            Lexicon::Code code;
            code.partOfSpeech = QLatin1String(partsOfSpeech[pos]);
            code.frequency = scale(lemma.count[pos], maximum);
            switch (pos) {
            case Noun: {
                const QStringList plurals = nounForms.values(word);
                QString plural;
                for (const QString &p : plurals) {
                    if (isPlainWord(p) && (plural.isEmpty() || p < plural))
                        plural = p;
                }
                code.subcode = Inflection::nounSubcodeForPlural(word, plural);
                if (code.subcode != QLatin1String("reg")) {
                    entry.plural = plural;
                    if (plural != word)
                        formCodes[plural].append({code.partOfSpeech, QStringLiteral("plural only"), code.frequency});
                }
                break;
            }
            case Verb: {
                const QStringList forms = verbForms.values(word);
                const QString last = lastLetter(word);
                bool doubled = false;
                QStringList irregular;
                for (const QString &form : forms) {
                    if (form == word + last + QStringLiteral("ing") || form == word + last + QStringLiteral("ed"))
                        doubled = true;
                    else if (!form.endsWith(QLatin1String("ing")) && !form.endsWith(QLatin1String("s")) &&
                             form != Inflection::addVowelSuffix(word, QStringLiteral("ed"), false))
                        irregular << form;
                }
                QString past;
                QString participle;
                if (!Inflection::irregularVerb(word, &past, &participle) && !irregular.isEmpty()) {
                    irregular.sort();
                    past = participle = irregular.first();
                    for (const QString &form : std::as_const(irregular)) {
                        if (form.endsWith(QLatin1Char('n')))
                            participle = form;
                        else
                            past = form;
                    }
                }
                code.subcode = Inflection::verbSubcode(word, doubled, past, participle);
                if (!past.isEmpty() && past != Inflection::addVowelSuffix(word, QStringLiteral("ed"), doubled)) {
                    entry.past = past;
                    entry.participle = participle;
                }
                if (!past.isEmpty() && past != word) {
                    formCodes[past].append(
                        {code.partOfSpeech,
                         past == participle ? QStringLiteral("+ed (p & pp)") : QStringLiteral("past"), code.frequency});
                }
                if (!participle.isEmpty() && participle != past && participle != word)
                    formCodes[participle].append(
                        {code.partOfSpeech, QStringLiteral("past participle"), code.frequency});
                if (doubled) {
                    formCodes[Inflection::addVowelSuffix(word, QStringLiteral("ing"), true)].append(
                        {code.partOfSpeech, QStringLiteral("+ing"), code.frequency});
                    if (code.subcode == QLatin1String("reg, dbl"))
                        formCodes[Inflection::addVowelSuffix(word, QStringLiteral("ed"), true)].append(
                            {code.partOfSpeech, QStringLiteral("+ed (p & pp)"), code.frequency});
                }
                break;
            }
            case Adjective: {
                const QString last = lastLetter(word);
                bool doubled = false;
                for (const QString &form : adjectiveForms.values(word)) {
                    if (form == word + last + QStringLiteral("er") || form == word + last + QStringLiteral("est"))
                        doubled = true;
                }
                code.subcode = Inflection::adjectiveSubcode(word, doubled);
                for (const QString &form : adjectiveForms.values(word)) {
                    const bool superlative = form.endsWith(QLatin1String("st"));
                    if (superlative ? form != Inflection::superlative(word, doubled)
                                    : form != Inflection::comparative(word, doubled)) {
                        // Irregular comparison ("good", "better", "best") that the rules do not give.
                        (superlative ? entry.superlative : entry.comparative) = form;
                    }
                    formCodes[form].append({code.partOfSpeech,
                                            superlative ? QStringLiteral("superlative") : QStringLiteral("comparative"),
                                            code.frequency});
                }
                break;
            }
            default:
                code.subcode = QStringLiteral("-");
                break;
            }
            // Verbs weigh double: a word used as both noun and verb is more often worth its verb forms.
            const double weight = pos == Verb ? 2.0 : 1.0;
            ranked.append({code, weight * double(lemma.count[pos]) + 0.001 * lemma.senses[pos] * weight});
        }
        std::stable_sort(ranked.begin(), ranked.end(),
                         [](const Ranked &a, const Ranked &b) { return a.score > b.score; });
        for (const Ranked &r : std::as_const(ranked))
            entry.codes << r.code;
        entries.insert(word, entry);
    }

    for (auto it = formCodes.constBegin(); it != formCodes.constEnd(); ++it) {
        if (!isPlainWord(it.key()))
            continue;
        Lexicon::Entry &entry = entries[it.key()];
        for (const Lexicon::Code &code : it.value()) {
            bool known = false;
            for (Lexicon::Code &c : entry.codes) {
                if (c.partOfSpeech != code.partOfSpeech)
                    continue;
                known = true;
                // "better" and "best" are listed as adjectives of their own; they are comparison forms.
                if (c.partOfSpeech == QLatin1String("adj."))
                    c.subcode = code.subcode;
            }
            if (!known)
                entry.codes << code;
        }
    }

    addCorpusCounts(args.at(2), &entries);

    QString error;
    if (!Lexicon::write(output, entries, &error)) {
        QTextStream(stderr) << "lexiconbuild: cannot write " << output << ": " << error << "\n";
        return 1;
    }
    QTextStream(stdout) << "lexiconbuild: " << entries.size() << " words in " << output << "\n";
    return 0;
}
