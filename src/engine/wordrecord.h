#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

class Word;

/// The complements, particles and prepositions of one usage, as plain data.
struct UsageRecord
{
    QStringList complements;
    QStringList particles;
    QStringList prepositions;
    bool operator==(const UsageRecord &other) const
    {
        return complements == other.complements && particles == other.particles && prepositions == other.prepositions;
    }
};

/// One grammar code as plain data.
struct CodeRecord
{
    QString partOfSpeech;
    QString subcode;
    QString frequency;
    QString expansion;
    QStringList adverbPositions;
    QList<UsageRecord> usages;
    bool operator==(const CodeRecord &other) const
    {
        return partOfSpeech == other.partOfSpeech && subcode == other.subcode && frequency == other.frequency &&
               expansion == other.expansion && adverbPositions == other.adverbPositions && usages == other.usages;
    }
};

/// A word as plain data: how it is stored in a dictionary file and carried in a drag.
///
/// Stored form of the codes (UTF-8): one code per line; on a line, tab-separated fields part of speech,
/// subcode, frequency, expansion, adverb positions, then one field per usage holding complements,
/// particles and prepositions separated by ";". Lists separate their codes with ",". Inside a value,
/// "\" is written "\\", a tab "\t", a line break "\n", "," "\c", ";" "\s" and "|" "\p", so that a separator
/// character in the text is always a separator; an empty code in a list is written "\e".
class WordRecord
{
public:
    /// The summary bits kept for each word so that filters need no decoding.
    enum Kind : quint8
    {
        Name = 1,
        Noun = 2,
        Verb = 4,
        Adjective = 8,
        Adverb = 16,
        Expansion = 32,
        Known = 64 // at least one code that is not "new"
    };

    QString text;
    QList<CodeRecord> codes;

    static WordRecord fromWord(const Word *word);

    /// The stored form of the codes, and back; decodeCodes is false on malformed input.
    static QByteArray encodeCodes(const QList<CodeRecord> &codes);
    static bool decodeCodes(const QByteArray &utf8, QList<CodeRecord> *codes);

    /// One code in its stored form (a line without line breaks), and back; false on malformed input.
    static QString encodeCodeLine(const CodeRecord &code);
    static bool decodeCodeLine(const QString &line, CodeRecord *code);
    /// A value with its separators escaped as in the stored form, and back.
    static QString escape(const QString &value);
    static bool unescape(const QString &value, QString *out);

    /// The highest frequency of the codes (0 without codes) and their kind bits.
    static int maximumFrequency(const QList<CodeRecord> &codes);
    static quint8 kinds(const QList<CodeRecord> &codes);

    /// The drag form: versioned, plain printable ASCII plus line breaks.
    QString toPayload() const;
    /// Reads exactly the form toPayload writes; false (and record untouched) for anything else.
    static bool fromPayload(const QString &payload, WordRecord *record);

    // One rule for what a word holds, alike for the opener's repairs, check, dump, load, import and the drag.
    /// Whether text may be a word's spelling: 1 to 64 characters, no control character.
    static bool isAcceptableSpelling(const QString &text);
    /// Whether text may be a grammar code's frequency: empty, or a whole number from 0 to 31 in at most two
    /// digits.
    static bool isAcceptableFrequency(const QString &text);
    /// The spelling with its control characters taken out and cut to 64 characters (empty when nothing is left).
    static QString repairedSpelling(const QString &text);
    /// The nearest acceptable frequency: a number rounded and brought into 0 to 31, anything else 0.
    static QString repairedFrequency(const QString &text);
    /// Whether stored codes read back whole and follow the rules above (no more than MaximumCodes codes, every
    /// frequency acceptable, valid UTF-8). Quick enough to run on every row of a file as it is opened.
    static bool areAcceptableStoredCodes(const char *utf8, qsizetype size);
    /// Stored codes made acceptable: codes that cannot be read are left out, frequencies repaired, the list cut
    /// to MaximumCodes. *what says what was done.
    static QByteArray repairedStoredCodes(const QByteArray &utf8, QString *what);
    /// The number of characters (code points, not UTF-16 units) of text.
    static qsizetype characterCount(const QString &text);

    static const int MaximumLength = 64;
    static const int MaximumFrequency = 31;
    /// Grammar codes a word may have: far more than any word needs, few enough that every operation on a word
    /// stays instant. More are refused on loading and dropping, and cut on opening, with a note.
    static const int MaximumCodes = 64;
};
