#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

#include "dictionarycontent.h"
#include "dictionarylock.h"
#include "edithistory.h"
#include "prediction.h"
#include "recentwords.h"
#include "sqlitedatabase.h"
#include "wordentry.h"
#include "wordfilter.h"
#include "wordindex.h"
#include "wordrecord.h"

/// The private side of a Dictionary: its words, filters, file and the bookkeeping of unsaved edits.
class DictionaryData
{
public:
    /// Dictionaries with more words than this are shown one letter group at a time. Chosen from the
    /// engine benchmark: a list of up to this many words fills the editor's list quickly.
    static const int DefaultLetterGroupThreshold = Prediction::DefaultLetterGroupThreshold;
    ~DictionaryData();

    static DictionaryReference open(const QString &path, QString *error);
    static DictionaryReference create(const QString &path, const QString &displayName, Prediction::Variety variety,
                                      QString *error, int letterGroupThreshold);
    static DictionaryCheck check(const QString &path);
    static DictionaryReference loadDump(const QString &path, QIODevice *dump, QString *error);

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
    void invalidateWordList() { m_filter.invalidate(); }

    // Words.
    Word *findWord(const QString &text);
    Word *peekWord(const QString &text);
    Word *addWord(const QString &text);
    Word *addWord(const WordRecord &record);
    bool importWord(const QString &text, int frequency, bool guessCodes);
    bool contains(const QString &text) const { return m_content->index.find(text) != nullptr; }
    int wordCount() const { return int(m_content->index.size()); }
    QStringList predictions(const QString &prefix, int count);
    QList<PredictionOffer> predictOffers(const QString &context, const QString &prefix, int count, bool useContext,
                                         const QStringList &passedOver);
    quint64 revision() const { return m_revision; }
    Word *currentWord() const { return m_currentWord; }

    // Edits reported by Word, GCode and the code lists.
    void wordChanged(Word *word);
    void removeWord(Word *word);
    bool changeSpelling(Word *word, const QString &spelling);
    /// Recomputes the choices and examples a code shows.
    static void refreshDerived(GCode *code);

    // Undo and redo.
    EditHistory &history() { return m_history; }
    /// Whether word can be given state (a spelling and codes; null: taken out) without clashing with
    /// another word.
    bool canRestore(const Word *word, const WordRecord *state) const;
    /// Gives word state, bringing a removed word back under the same object.
    void restore(Word *word, const WordRecord *state);

    /// What a save did: Saved, or why not, with the message lastError() then gives.
    struct SaveResult
    {
        enum Failure
        {
            Saved = 0,
            ReadOnly = 1,          // the file may not be written
            ChangedElsewhere = 2,  // moved, deleted or saved by another program since it was loaded
            FolderNotWritable = 3, // no room for SQLite's journal
            NotStarted = 4,        // the write lock could not be taken (another program's, a full disk)
            WriteFailed = 5,       // a row or the counter could not be written; nothing was
            CommitFailed = 6       // the final commit failed; SQLite rolled it back
        };
        Failure failure = Saved;
        QString message;
    };

    // Storage.
    void beginEdit();
    SaveResult save();
    bool reload();
    bool isDirty() const;
    QString lastError() const { return m_lastError; }
    QString path() const { return m_path; }
    bool isReadOnly() const { return m_readOnly; }

    // The whole dictionary.
    QStringList allWords();
    bool saveCopy(const QString &path, QString *error);
    bool dump(QIODevice *out);
    bool isFileOf(const QString &path) const;
    QStringList loadNotes() const { return m_content->notes; }
    bool lockForEditing(QString *error);

    QString displayName() const { return m_content->displayName; }
    Prediction::Variety variety() const { return m_content->variety; }
    bool isUKGrammar() const { return m_content->ukGrammar; }
    int letterGroupThreshold() const { return m_content->letterGroupThreshold; }

    Dictionary *dictionary() const { return m_dictionary; }

private:
    using Content = DictionaryContent;

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

    // The steps of a save, and what a save under way must undo when it fails.
    struct SaveRun
    {
        std::vector<WordEntry *> inserts; // new rows, given their ids as they are written
        size_t written = 0;
        std::vector<std::pair<WordEntry *, qint64>> respelt; // re-spelt words and their old rows' ids
        bool lockedAsLoaded = false;                         // the file was as loaded when the save took its write lock
    };
    SaveResult failed(SaveResult::Failure failure, const QString &message = QString()) const;
    QString changedElsewhereMessage() const;
    SaveResult checkSavable();
    SaveResult writeSave(SaveRun *run);
    SaveResult verifyUnchanged(SaveRun *run);
    bool writeRows(SaveRun *run);
    void finishSave(qint64 changeCounter);
    void abandonSave(const SaveRun &run);

    explicit DictionaryData(const QString &path);
    QByteArray storedCodes(const WordEntry *entry) const;
    void forEachWord(const std::function<bool(const WordEntry *, const QByteArray &)> &visit);
    FileStamp stamp() const;
    bool fileChangedOnDisk();

    WordEntry *entryOf(const Word *word) const;
    Word *materialize(WordEntry *entry);
    void fillWord(Word *word, const QList<CodeRecord> &codes);
    WordEntry *insertEntry(const QString &text);
    void markChanged(WordEntry *entry);
    void updateSummary(WordEntry *entry);

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
    size_t m_liveChanged = 0;                  // entries of m_changed that are neither removed nor stale
    std::vector<WordEntry *> m_removedEntries; // removed words that are still in the file
    std::unique_ptr<DictionaryLock> m_lock;
    Word *m_currentWord = nullptr;
    WordFilter m_filter;
    QList<CodeRecord> m_lastImportCodes; // the codes importWord encoded last, and their stored form
    QByteArray m_lastImportEncoded;
    quint64 m_revision = 0;
    QHash<QString, QStringList> m_predictionsCache; // answers for short prefixes, valid at one revision
    quint64 m_predictionsRevision = 0;
    RecentWords m_recent; // the words of the text prediction was last asked about
    EditHistory m_history{this};
};
