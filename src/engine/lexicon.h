#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>

/// Read-only table of English words with their likely parts of speech, subcodes, frequencies and
/// irregular forms, kept in one file that is read whole and binary-searched in place.
///
/// File layout: the 8 bytes "LXLEX1\0\0", a little-endian 32-bit record count, one little-endian
/// 32-bit offset per record (into the record area, records sorted by their UTF-8 bytes), then the
/// records, each "word TAB codes TAB forms LF". codes is "pos|subcode|frequency" items joined by
/// ";", most likely first; forms is "key=value" items joined by ";" with the keys past, pp, pl,
/// cmp and sup (irregular past, past participle, plural, comparative and superlative) and f (the
/// frequency of the word as spelt, from corpus counts). A word may have a frequency and no codes: a form
/// whose codes the rules derive from its base ("dogs"), or a word nothing else knows.
class Lexicon
{
public:
    struct Code
    {
        QString partOfSpeech;
        QString subcode;
        int frequency = 1;
    };

    struct Entry
    {
        QList<Code> codes;
        QString past;
        QString participle;
        QString plural;
        QString comparative;
        QString superlative;
        int frequency = 0; // of the word as spelt, 0 when no corpus counts it
    };

    /// An empty lexicon.
    Lexicon() = default;
    /// Loads the file at path; an unreadable or malformed file gives an empty lexicon.
    explicit Lexicon(const QString &path);

    /// The lexicon the engine uses, loaded on first use from beside the application or from the build tree.
    static const Lexicon &shared();
    /// The path of one of the engine's data files (the lexicon, the corpus tables), found where shared()
    /// finds the lexicon; empty when it is nowhere.
    static QString dataFile(const QString &name);

    bool isEmpty() const { return m_count == 0; }
    int size() const { return int(m_count); }
    QString path() const { return m_path; }

    /// Looks up a word as spelt (entries are lower case), or without its accents when the accented spelling is
    /// not there ("élan" finds "elan"); false when neither is.
    bool lookup(const QString &word, Entry *entry) const;

    /// Writes entries keyed by word to path, replacing it; false with *error set on failure.
    static bool write(const QString &path, const QMap<QString, Entry> &entries, QString *error);

private:
    bool load(const QString &path);
    bool lookupSpelling(const QString &word, Entry *entry) const;
    QByteArray recordKey(quint32 index) const;

    QByteArray m_data;
    quint32 m_count = 0;
    const char *m_offsets = nullptr;
    const char *m_records = nullptr;
    QString m_path;
};
