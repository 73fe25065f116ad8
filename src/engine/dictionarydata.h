#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <deque>
#include <memory>
#include <vector>

#include "prediction.h"
#include "sqlitedatabase.h"
#include "wordindex.h"
#include "wordrecord.h"

/// A dictionary's words in memory: one compact entry per word; the full Word object is made on demand.
struct WordEntry
{
    enum Flag : quint8
    {
        Changed = 1,
        Removed = 2,
        Stale = 4, // left behind when the word moved to another entry (a new spelling)
        Dead = Removed | Stale
    };

    QString text;
    Word *word = nullptr;    // made on first use, then owned by the dictionary until it closes
    qint64 id = 0;           // row id in the file, 0 while the word is not saved
    quint32 codesOffset = 0; // the stored codes in the content's arena, while word is null
    quint32 codesLength = 0;
    quint8 frequency = 0;
    quint8 kinds = 0;
    quint8 flags = 0;
};

/// The private side of a Dictionary: its words, filters, file and the bookkeeping of unsaved edits.
class DictionaryData
{
public:
    /// Dictionaries with more words than this are shown one letter group at a time. Chosen from the
    /// engine benchmark: a list of up to this many words fills the editor's list quickly.
    static const int DefaultLetterGroupThreshold = Prediction::DefaultLetterGroupThreshold;
    /// The file format this engine writes; files with a higher user_version are refused.
    static const int SchemaVersion = 1;

    ~DictionaryData();

    static DictionaryReference open(const QString &path, QString *error);
    static DictionaryReference create(const QString &path, const QString &displayName, Prediction::Variety variety,
                                      QString *error, int letterGroupThreshold);

    // Reference counting of the handles.
    void ref() { ++m_refCount; }
    bool deref() { return --m_refCount == 0; }

    // Word list.
    QStringList wordList();
    int filteredWordCount();
    static QStringList selectionRules();
    void setSelectionRule(const QString &rule);
    void setMinimumFreq(int frequency);
    void setMaximumFreq(int frequency);
    bool displayByLetterGroup() const;
    bool setLetterGroup(const QString &text);
    void invalidateWordList() { m_listValid = false; }

    // Words.
    Word *findWord(const QString &text);
    Word *peekWord(const QString &text);
    Word *addWord(const QString &text);
    Word *addWord(const WordRecord &record);
    int wordCount() const { return int(m_content->index.size()); }
    QStringList predictions(const QString &prefix, int count);
    quint64 revision() const { return m_revision; }
    Word *currentWord() const { return m_currentWord; }

    // Edits reported by Word, GCode and the code lists.
    void wordChanged(Word *word);
    void removeWord(Word *word);
    bool changeSpelling(Word *word, const QString &spelling);
    /// Recomputes the choices and examples a code shows.
    static void refreshDerived(GCode *code);

    // Storage.
    void beginEdit();
    int save();
    bool reload();
    bool isDirty() const;
    QString lastError() const { return m_lastError; }
    QString path() const { return m_path; }
    bool isReadOnly() const { return m_readOnly; }

    QString displayName() const { return m_content->displayName; }
    Prediction::Variety variety() const { return m_content->variety; }
    bool isUKGrammar() const { return m_content->ukGrammar; }
    int letterGroupThreshold() const { return m_content->letterGroupThreshold; }

    Dictionary *dictionary() const { return m_dictionary; }

private:
    // Everything read from the file; replaced as a whole on reload.
    struct Content
    {
        std::deque<WordEntry> entries;
        std::vector<WordEntry *> order;   // display order, once normalizeOrder() has run
        std::vector<WordEntry *> pending; // entries not yet merged into order
        size_t dead = 0;                  // removed or stale entries still in order
        WordIndex index;
        QByteArray arena;
        QString displayName;
        Prediction::Variety variety = Prediction::American;
        bool ukGrammar = false;
        int letterGroupThreshold = DefaultLetterGroupThreshold;
        qint64 changeCounter = 0;
    };

    // What identifies the file's state on disk, to notice another program's changes.
    struct FileStamp
    {
        quint64 device = 0;
        quint64 inode = 0;
        qint64 size = -1;
        qint64 modifiedNs = 0;
        bool operator==(const FileStamp &o) const
        {
            return device == o.device && inode == o.inode && size == o.size && modifiedNs == o.modifiedNs;
        }
    };

    explicit DictionaryData(const QString &path);
    static bool checkFile(const QString &path, bool *readOnly, QString *error);
    static QString describeError(const QString &path, const SqliteDatabase &db, const QString &doing);
    bool load(SqliteDatabase *db, Content *content, QString *error);
    FileStamp stamp() const;
    bool fileChangedOnDisk();

    WordEntry *entryOf(const Word *word) const;
    Word *materialize(WordEntry *entry);
    void fillWord(Word *word, const QList<CodeRecord> &codes);
    WordEntry *insertEntry(const QString &text);
    void markChanged(WordEntry *entry);
    void updateSummary(WordEntry *entry);
    bool passesFilter(const WordEntry *entry) const;
    char32_t firstGroupOfList() const;
    void rebuildList();

    static char32_t letterGroupOf(const QString &text);
    static bool lessThan(const QString &a, const QString &b);
    void insertInOrder(WordEntry *entry);
    void normalizeOrder();

    Dictionary *m_dictionary = nullptr;
    int m_refCount = 0;
    QString m_path;
    bool m_readOnly = false;
    QString m_lastError;
    SqliteDatabase m_db;
    std::unique_ptr<Content> m_content;
    FileStamp m_stamp;
    qint64 m_dataVersion = 0;

    std::vector<Word *> m_words; // every Word object ever made; freed with the dictionary
    std::vector<WordEntry *> m_changed;
    std::vector<WordEntry *> m_removedEntries; // removed words that are still in the file
    Word *m_currentWord = nullptr;

    int m_rule = 0;
    int m_minimumFreq = 0;
    int m_maximumFreq = 31;
    char32_t m_group = 0;
    bool m_listValid = false;
    QStringList m_list;
    quint64 m_revision = 0;
    QHash<QString, QStringList> m_predictionsCache; // answers for short prefixes, valid at one revision
    quint64 m_predictionsRevision = 0;
};
