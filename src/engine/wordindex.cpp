#include "wordindex.h"

#include "dictionarydata.h"

quint32 WordIndex::hashOf(const QString &text)
{
    // FNV-1a over the UTF-16 units, finished with a mixing step so that the low bits spread well.
    quint32 hash = 2166136261u;
    const char16_t *units = reinterpret_cast<const char16_t *>(text.constData());
    for (qsizetype i = 0; i < text.size(); ++i) {
        hash ^= units[i];
        hash *= 16777619u;
    }
    hash ^= hash >> 16;
    hash *= 0x45d9f3bu;
    hash ^= hash >> 16;
    return hash;
}

void WordIndex::reserve(size_t count)
{
    size_t capacity = 16;
    while (capacity < count * 2)
        capacity *= 2;
    if (capacity > m_entries.size())
        grow(capacity);
}

void WordIndex::grow(size_t capacity)
{
    std::vector<WordEntry *> entries(capacity, nullptr);
    std::vector<quint32> hashes(capacity, 0);
    const size_t mask = capacity - 1;
    for (size_t i = 0; i < m_entries.size(); ++i) {
        if (!m_entries[i])
            continue;
        size_t slot = m_hashes[i] & mask;
        while (entries[slot])
            slot = (slot + 1) & mask;
        entries[slot] = m_entries[i];
        hashes[slot] = m_hashes[i];
    }
    m_entries.swap(entries);
    m_hashes.swap(hashes);
    m_mask = mask;
}

size_t WordIndex::slotOf(const QString &text, quint32 hash) const
{
    size_t slot = hash & m_mask;
    while (m_entries[slot]) {
        if (m_hashes[slot] == hash && m_entries[slot]->text == text)
            return slot;
        slot = (slot + 1) & m_mask;
    }
    return slot;
}

WordEntry *WordIndex::find(const QString &text) const
{
    if (m_size == 0)
        return nullptr;
    return m_entries[slotOf(text, hashOf(text))];
}

void WordIndex::prefetch(quint32 hash) const
{
    const size_t slot = hash & m_mask;
    __builtin_prefetch(&m_entries[slot]);
    __builtin_prefetch(&m_hashes[slot]);
}

WordEntry *WordIndex::insert(WordEntry *entry)
{
    return insertHashed(entry, hashOf(entry->text));
}

WordEntry *WordIndex::insertHashed(WordEntry *entry, quint32 hash)
{
    if ((m_size + 1) * 2 > m_entries.size())
        grow(m_entries.empty() ? 16 : m_entries.size() * 2);
    const size_t slot = slotOf(entry->text, hash);
    if (m_entries[slot])
        return m_entries[slot];
    m_entries[slot] = entry;
    m_hashes[slot] = hash;
    ++m_size;
    return nullptr;
}

bool WordIndex::remove(const QString &text)
{
    if (m_size == 0)
        return false;
    size_t hole = slotOf(text, hashOf(text));
    if (!m_entries[hole])
        return false;
    m_entries[hole] = nullptr;
    --m_size;
    // Shift later members of the probe run back, so that no lookup stops early at the hole.
    size_t next = hole;
    for (;;) {
        next = (next + 1) & m_mask;
        if (!m_entries[next])
            break;
        const size_t home = m_hashes[next] & m_mask;
        const bool movable = hole <= next ? (home <= hole || home > next) : (home <= hole && home > next);
        if (movable) {
            m_entries[hole] = m_entries[next];
            m_hashes[hole] = m_hashes[next];
            m_entries[next] = nullptr;
            hole = next;
        }
    }
    return true;
}
