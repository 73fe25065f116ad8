#pragma once

#include <QString>
#include <vector>

struct WordEntry;

/// Finds a dictionary's word entries by spelling: an open-addressing table that keeps each key's hash
/// beside it, so that a lookup or a rehash rarely touches the strings themselves.
class WordIndex
{
public:
    WordIndex() = default;

    /// Makes room for count entries without growing again.
    void reserve(size_t count);
    WordEntry *find(const QString &text) const;
    /// Adds entry under entry->text; when another entry already has that spelling, returns it and
    /// adds nothing. Returns null when the entry was added.
    WordEntry *insert(WordEntry *entry);
    /// Adds many entries at once, as insert() does each; returns the entries left out as duplicates.
    template<typename Iterator> std::vector<WordEntry *> insertAll(Iterator begin, Iterator end);
    /// Takes the entry with this spelling out; false when there is none.
    bool remove(const QString &text);
    size_t size() const { return m_size; }

private:
    static quint32 hashOf(const QString &text);
    WordEntry *insertHashed(WordEntry *entry, quint32 hash);
    void prefetch(quint32 hash) const;
    size_t slotOf(const QString &text, quint32 hash) const;
    void grow(size_t capacity);

    std::vector<WordEntry *> m_entries; // null: empty slot
    std::vector<quint32> m_hashes;
    size_t m_mask = 0;
    size_t m_size = 0;
};

template<typename Iterator> std::vector<WordEntry *> WordIndex::insertAll(Iterator begin, Iterator end)
{
    // A big table is mostly cache misses: hash everything first, then fetch each slot a few inserts
    // before it is needed.
    std::vector<WordEntry *> entries;
    std::vector<quint32> hashes;
    for (Iterator it = begin; it != end; ++it) {
        entries.push_back(&*it);
        hashes.push_back(hashOf(it->text));
    }
    reserve(m_size + entries.size());
    std::vector<WordEntry *> duplicates;
    const size_t ahead = 8;
    for (size_t i = 0; i < entries.size(); ++i) {
        if (i + ahead < entries.size())
            prefetch(hashes[i + ahead]);
        if (insertHashed(entries[i], hashes[i]))
            duplicates.push_back(entries[i]);
    }
    return duplicates;
}
