#pragma once

// The prediction engine: dictionaries of words with grammar codes, kept in SQLite files.
// Everything a host or the dictionary editor needs is declared here.

#include <QList>
#include <QMetaType>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#if defined(PREDICTION_LIBRARY)
#define PREDICTION_EXPORT Q_DECL_EXPORT
#else
#define PREDICTION_EXPORT Q_DECL_IMPORT
#endif

class Dictionary;
class DictionaryReference;
class Word;
class GCode;
class Usage;
class DictionaryData; // private implementation of a Dictionary
class QIODevice;

/// What a check of a dictionary file found: problems make it unusable, notes say what was put right.
struct PREDICTION_EXPORT DictionaryCheck
{
    /// True when the file opens and holds every word it should.
    bool ok = false;
    /// The number of words, when the file could be read.
    int wordCount = -1;
    /// True when the problems are damage to a dictionary file, false when the file could not be checked at all
    /// (missing, no dictionary, locked).
    bool damaged = false;
    /// Why the file cannot be used as it is.
    QStringList problems;
    /// What was found and put right in memory or in the file (an interrupted save undone, values brought
    /// into range); the next save writes the repairs.
    QStringList notes;
};

/// One word prediction offers, with what made it likely.
struct PREDICTION_EXPORT PredictionOffer
{
    QString word;
    /// The word's highest listed frequency (0 to 31).
    int frequency = 0;
    /// The corpora have the word after the previous word of the text.
    bool followsPrevious = false;
    /// The previous word's part of speech is often followed by the word's own.
    bool fitsKind = false;
    /// The previous word whose usage names the word as its particle or preposition ("depend" for "on").
    QString usageOf;
    /// The word came earlier in the last stretch of the text.
    bool usedInText = false;
};

/// The engine's process-wide settings and the entry points that open and create dictionaries.
class PREDICTION_EXPORT Prediction
{
public:
    enum Variety
    {
        American,
        British,
        Canadian
    };

    static bool developmentMode();

    /// Whether c belongs to a word as prediction reads text: letters, digits, combining marks, apostrophes and
    /// hyphens ("don't", "well-known").
    static bool isWordCharacter(QChar c);
    static void setDevelopmentMode(bool on);

    /// Opens an existing dictionary file. A path already open in this process yields a handle to
    /// the same dictionary. On failure the handle equals 0 and *error says why.
    static DictionaryReference openDictionary(const QString &path, QString *error = nullptr);

    /// Above this many words a new dictionary is shown one letter group at a time, which keeps the
    /// editor's list quick to fill and search.
    static const int DefaultLetterGroupThreshold = 200000;

    /// Creates a new, empty dictionary file; never overwrites an existing file. A dictionary holding more
    /// words than letterGroupThreshold is shown by letter group (0: never).
    static DictionaryReference createDictionary(const QString &path, const QString &displayName, Variety variety,
                                                QString *error = nullptr,
                                                int letterGroupThreshold = DefaultLetterGroupThreshold);

    /// Checks a dictionary file thoroughly: the integrity of every page, the settings, every word. An
    /// interrupted save is undone first (and noted); a file that can be used is never called damaged.
    static DictionaryCheck checkDictionary(const QString &path);

    /// Creates a new dictionary file from the text Dictionary::dump() writes; never replaces a file, and
    /// leaves no file behind on failure (*error then names the first bad line).
    static DictionaryReference loadDump(const QString &path, QIODevice *dump, QString *error = nullptr);
};

/// A list of grammar code strings attached to a grammar code or a usage.
class PREDICTION_EXPORT CodeList
{
public:
    virtual ~CodeList();
    /// The chosen codes.
    virtual QStringList codes() const;
    /// What the details panel displays for the list.
    virtual QString text() const;
    /// Replaces the chosen codes; marks the word changed.
    virtual void setCodes(const QStringList &codes);

protected:
    explicit CodeList(GCode *owner);
    GCode *owner() const { return m_owner; }

private:
    friend class DictionaryData;
    GCode *m_owner;
    QStringList m_codes;
};

/// Where an adverb may stand in a sentence ("vp+", "+S", ...).
class PREDICTION_EXPORT AdverbPositions : public CodeList
{
public:
    explicit AdverbPositions(GCode *owner);
    QString text() const override;
};

/// The complement codes of a usage ("Tn", "Q1", "about", ...).
class PREDICTION_EXPORT Complements : public CodeList
{
public:
    explicit Complements(GCode *owner);
    /// The complement's name as the details panel shows it.
    QString text() const override;
    /// Sentence frames, "/" between lines, "1" where the particles go and a lone "2" where the prepositions go.
    virtual QStringList patterns() const;
};

/// The particles of a usage ("up", "away", ...).
class PREDICTION_EXPORT Particles : public CodeList
{
public:
    explicit Particles(GCode *owner);
    QString text() const override;
};

/// The prepositions of a usage ("about", "on", ...).
class PREDICTION_EXPORT Prepositions : public CodeList
{
public:
    explicit Prepositions(GCode *owner);
    QString text() const override;
};

/// One way a word is used under a grammar code: its complements, particles and prepositions.
class PREDICTION_EXPORT Usage
{
public:
    explicit Usage(GCode *owner);
    ~Usage();
    Usage(const Usage &) = delete;
    Usage &operator=(const Usage &) = delete;

    Complements *complements() const { return m_complements; }
    Particles *particles() const { return m_particles; }
    Prepositions *prepositions() const { return m_prepositions; }

private:
    Complements *m_complements;
    Particles *m_particles;
    Prepositions *m_prepositions;
};

/// One grammar code of a word. The public fields are for reading; change them through the setters.
class PREDICTION_EXPORT GCode
{
public:
    QString partOfSpeech;
    QString subcode;
    QString frequency;
    QString expansion;
    QStringList subcodeChoices;
    AdverbPositions *adverbPositions;
    QStringList exampleLabels;
    QStringList exampleTemplates;
    QList<Usage *> usages;

    explicit GCode(Word *word);
    ~GCode();
    GCode(const GCode &) = delete;
    GCode &operator=(const GCode &) = delete;

    bool canHaveUses() const;
    void setSubcode(const QString &subcode);
    void setFrequency(const QString &frequency);

    Word *word() const { return m_word; }
    /// Marks the word changed (used by the code lists).
    void touch();

private:
    friend class DictionaryData;
    friend class Word;
    Word *m_word;
};

/// A word of a dictionary. The object stays valid while its dictionary is open, even after removal.
class PREDICTION_EXPORT Word
{
public:
    QString text;
    QList<GCode *> codes;

    ~Word();
    Word(const Word &) = delete;
    Word &operator=(const Word &) = delete;

    /// Appends a grammar code whose part of speech reads "new".
    void addGCode();
    void removeGCode(short index);
    /// Appends a usage to grammar code codeIndex.
    void addUse(short codeIndex);
    void removeUse(short codeIndex, short usageIndex);
    /// Takes the word out of its dictionary; the object lives on, detached.
    void removeWord();
    void changeSpelling(const QString &spelling);
    void setCodeName(int index, const QString &partOfSpeech);
    void setSubcode(int index, const QString &subcode);

    Dictionary *dictionary() const { return m_dictionary; }
    bool isRemoved() const { return m_removed; }

private:
    friend class DictionaryData;
    friend class GCode;
    explicit Word(Dictionary *dictionary);
    Dictionary *m_dictionary;
    bool m_removed = false;
};

/// One open dictionary. Reached through a DictionaryReference.
class PREDICTION_EXPORT Dictionary
{
public:
    ~Dictionary();
    Dictionary(const Dictionary &) = delete;
    Dictionary &operator=(const Dictionary &) = delete;

    // The filtered word list.
    QStringList wordList();
    int filteredWordCount();
    QStringList selectionRules() const;
    void setSelectionRule(const QString &rule);
    void setMinimumFreq(int frequency);
    void setMaximumFreq(int frequency);
    bool displayByLetterGroup() const;
    /// The number of words above which the dictionary is shown by letter group (0: never).
    int letterGroupThreshold() const;
    /// Selects the letter group of text's first letter; true when the group changed.
    bool setLetterGroup(const QString &text);
    void invalidateWordList();

    // Words.
    Word *findWord(const QString &text);
    Word *addWord(const QString &text, const QString &tag);
    Word *addWord(Word *word);
    int wordCount() const;
    /// Whether the word is in the dictionary, without making a Word object for it.
    bool contains(const QString &text) const;
    /// Adds a word as addWord(text, tag) does, but without making a Word object, which keeps a bulk import
    /// quick and small: the codes are guessed, or a single "new" code when guessCodes is false; a frequency
    /// from 1 to 31 replaces the codes' own. False when the spelling is refused or the word is there already.
    bool importWord(const QString &text, int frequency = 0, bool guessCodes = true);

    // The whole dictionary, whatever the filters and letter groups.
    /// Every word in display order.
    QStringList allWords();
    /// Writes every word with all its grammar, unsaved edits included, into a new dictionary file at path.
    /// The file appears complete or not at all; an existing file (above all this dictionary's own, under
    /// any name or link) is never replaced. False with *error saying why.
    bool saveCopy(const QString &path, QString *error);
    /// Writes the dictionary, unsaved edits included, as UTF-8 text: a header of settings, an empty line,
    /// then one word a line in display order. Prediction::loadDump() reads it back. False on a write error.
    bool dump(QIODevice *out);
    /// True when path names this dictionary's file, under any name, symbolic or hard link.
    bool isFileOf(const QString &path) const;
    /// What loading the file found and put right (the notes of a check); empty for a sound file.
    QStringList loadNotes() const;

    /// Takes the lock that keeps a second editor or tool (in any process) from editing the dictionary
    /// at the same time; held until the dictionary closes. False with *error saying who holds it, or
    /// which lock file to remove when its owner cannot be judged.
    bool lockForEditing(QString *error);
    /// The words offered for a word that begins with prefix (ignoring case), best first: the highest listed
    /// frequency, then alphabetical; at most count of them. An empty prefix offers the most frequent words.
    QStringList predictions(const QString &prefix, int count);
    /// The best words to offer, best first, at most count: words that begin with prefix (ignoring case and
    /// accents) ranked by their frequency, by how often they follow the last one or two words of context (the
    /// text typed before the current word; a sentence's start and the marks ",", ";" and ":" count as words
    /// here), by the usages of the previous word (its particles and prepositions), by how likely their part of
    /// speech is after its own, and by how often the last stretch of context used them. Edits to
    /// frequencies, usages and parts of speech count at once. With useContext false, only the frequency ranks.
    /// Words in passedOver (those offered earlier for the same word and not picked) are not offered again.
    QStringList predict(const QString &context, const QString &prefix, int count, bool useContext = true,
                        const QStringList &passedOver = QStringList());
    /// The same offers with what made each one likely.
    QList<PredictionOffer> predictOffers(const QString &context, const QString &prefix, int count,
                                         bool useContext = true, const QStringList &passedOver = QStringList());
    /// Looks a word up like findWord, but leaves the current word (the one copyCurrentWord gives) alone,
    /// so that a view beside an editor window can read words without changing what a drag carries.
    Word *peekWord(const QString &text);
    /// Changes whenever a word is added, changed or removed, or the dictionary is reloaded, so that a view
    /// of the words can tell cheaply whether it is still current.
    quint64 revision() const;

    // Editing and storage.
    void begin_edit();
    /// Writes the changes since the last save or load; 0 on success, else lastError() says why.
    int save();
    bool reload();
    bool isDirty() const;
    QString lastError() const;
    QString path() const;
    bool isReadOnly() const;

    // Undo and redo of every edit since the dictionary was opened or last reloaded; a save keeps them.
    bool canUndo() const;
    bool canRedo() const;
    /// What undo() or redo() would do, in a few words ("Delete "depend"", "Frequency of "depend" 8 → 12");
    /// empty when there is nothing to undo or redo.
    QString undoText() const;
    QString redoText() const;
    /// Undoes the latest edit not yet undone: a removed word comes back under the same Word object, and a
    /// transfer is undone in the other dictionary too while its side is that dictionary's latest edit.
    /// Returns the word the edit changed (it may now be removed), or null when nothing was undone.
    Word *undo();
    /// Does again the edit undone last; returns as undo() does.
    Word *redo();

    // Identity.
    QString displayName() const;
    Prediction::Variety variety() const;
    bool isUK() const;
    bool isCanadian() const;
    bool isUKGrammar() const;

    // Drag and drop.
    QString copyCurrentWord();
    QString pasteWord(const QString &payload);

    DictionaryData *data() const { return d; }

private:
    friend class DictionaryData;
    explicit Dictionary(DictionaryData *data);
    DictionaryData *d;
};

/// A value handle to an open dictionary; equal to 0 when bound to none. Copies share the dictionary,
/// which closes when its last handle goes.
class PREDICTION_EXPORT DictionaryReference
{
public:
    DictionaryReference();
    DictionaryReference(const DictionaryReference &other);
    DictionaryReference &operator=(const DictionaryReference &other);
    virtual ~DictionaryReference();

    Dictionary *operator->() const { return m_dictionary; }
    Dictionary *get() const { return m_dictionary; }

    bool operator==(const DictionaryReference &other) const { return m_dictionary == other.m_dictionary; }
    bool operator!=(const DictionaryReference &other) const { return m_dictionary != other.m_dictionary; }
    /// Compares with the integer 0: true when the handle is bound to no dictionary.
    bool operator==(int zero) const { return zero == 0 && m_dictionary == nullptr; }
    bool operator!=(int zero) const { return !(*this == zero); }

    bool isDirty() const;
    QString displayName() const;
    bool reload();
    bool isUKGrammar() const;

    /// The grammar mode for the next added word: "basic_grammar" or "advanced_grammar".
    static void setEditPreferences(const QString &mode);
    static QString editPreferences();

private:
    friend class DictionaryData;
    explicit DictionaryReference(Dictionary *dictionary);
    Dictionary *m_dictionary;
};

Q_DECLARE_METATYPE(DictionaryReference)
