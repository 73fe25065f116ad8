#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <deque>
#include <memory>
#include <vector>

class DictionaryData;
class Word;
class WordRecord;

/// The edits made to one open dictionary since it was opened or last reloaded, as steps that can be undone
/// and redone. A step holds the state of one word before and after it (present or not, spelling, grammar
/// codes in their stored form), packed into blocks of bytes, so that a long history stays small. The two
/// sides of a transfer, the removal from one dictionary and the addition to the other, are linked: undoing
/// or redoing either does both while both are next in their histories.
class EditHistory
{
public:
    enum Kind : quint8
    {
        Added,
        Pasted,
        TransferredIn,
        Removed,
        TransferredOut,
        Respelt,
        Changed
    };

    explicit EditHistory(DictionaryData *owner);
    ~EditHistory();
    EditHistory(const EditHistory &) = delete;
    EditHistory &operator=(const EditHistory &) = delete;

    // Recording: the dictionary reports each change as it makes it.
    /// word has just been added.
    void added(Word *word);
    /// word is being removed (before or after the removal: its fields stay as they were).
    void removed(Word *word);
    /// word is about to be re-spelt as spelling.
    void respelling(Word *word, const QString &spelling);
    /// word's grammar has just changed; loadedCodes are its codes as read from the file, the state before
    /// the change when the history has not seen the word yet.
    void changed(Word *word, const QByteArray &loadedCodes);
    /// Marks the latest step, when it added word, as a paste or as a transfer in; for a transfer, source is
    /// the word in the other dictionary, whose coming removal becomes the other side of the step.
    void markAddition(const Word *word, Kind kind, Word *source = nullptr);

    bool canUndo() const { return m_position > 0; }
    bool canRedo() const { return m_position < m_steps.size(); }
    /// What undo() or redo() would do, in a few words; empty when there is nothing.
    QString undoText() const;
    QString redoText() const;
    /// Undoes or redoes one step (and the other dictionary's side of a transfer); returns the word the step
    /// changed, which may now be removed, or null when nothing was done.
    Word *undo();
    Word *redo();

    /// The words are now as stored in the file.
    void markSaved() { m_saved = m_position; }
    bool atSavedState() const { return m_saved == m_position; }
    /// Forgets every step and what it knew of the words: they have just been read from the file again.
    void reset();
    /// Forgets the steps after a change that is not recorded (a bulk import): from now on the words are
    /// not as saved until the next save.
    void forget();
    /// The memory the history takes, in bytes (its steps, their states, what it knows of the words).
    qint64 bytes() const;

private:
    static constexpr qint64 Absent = -1;
    static constexpr size_t NoPosition = size_t(-1);

    struct Step
    {
        Word *word;
        qint64 before; // offsets of the states in the blocks, or Absent
        qint64 after;
        quint32 link; // 1 + index into m_links, 0 for none
        Kind kind;
    };
    // The two sides of a transfer: 0 the removal, 1 the addition. A side is null once its history can no
    // longer take part (closed, reloaded, or the step dropped).
    struct Link
    {
        EditHistory *history[2] = {nullptr, nullptr};
        size_t step[2] = {0, 0};
    };

    qint64 store(const QString &text, const QByteArray &codes);
    qint64 storeCurrent(const Word *word);
    bool load(qint64 state, WordRecord *record) const;
    QByteArray codesAt(qint64 state) const;
    QString textAt(qint64 state) const;
    qint64 knownState(Word *word);
    void push(const Step &step);
    void dropLinks(size_t from);
    QString describe(const Step &step) const;
    Word *apply(bool undoing);
    bool partnerReady(const Step &step, bool undoing, EditHistory **partner, size_t *partnerStep) const;
    bool canRestore(const Step &step, bool undoing, WordRecord *state, bool *present) const;
    void restore(const Step &step, const WordRecord *state, qint64 offset);

    DictionaryData *m_owner;
    std::deque<Step> m_steps; // grows without copying, and without the slack of a doubling vector
    size_t m_position = 0;    // steps before it are done, the others undone
    size_t m_saved = 0;       // the position at the last save or load; NoPosition when it is gone
    std::vector<QByteArray> m_blocks;
    QHash<Word *, qint64> m_known; // each word's state after the last step that touched it
    std::vector<std::shared_ptr<Link>> m_links;
    size_t m_lastAddition = NoPosition;
    Word *m_transferSource = nullptr; // the next removal of this word is a transfer's other side
    std::shared_ptr<Link> m_transferLink;
    bool m_applying = false; // undoing or redoing: the changes made then are not recorded
};
