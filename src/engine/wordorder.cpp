#include "wordorder.h"

#include <algorithm>
#include <iterator>

#include "dictionarycontent.h"

namespace WordOrder {

namespace {

inline char16_t foldUnit(char16_t u)
{
    if (u < 128)
        return (u >= 'A' && u <= 'Z') ? char16_t(u + 32) : u;
    return char16_t(QChar::toCaseFolded(char32_t(u)));
}

// The first four folded units of a word, so that most comparisons of a big sort touch no string: words
// ordered by their keys are ordered the same way by compare().
quint64 sortKey(const QString &text)
{
    quint64 key = 0;
    for (qsizetype i = 0; i < 4; ++i)
        key = (key << 16) | (i < text.size() ? foldUnit(text.at(i).unicode()) : 0);
    return key;
}

} // namespace

int comparePrefix(const QString &text, const QString &prefix)
{
    const qsizetype n = qMin(text.size(), prefix.size());
    const char16_t *pt = reinterpret_cast<const char16_t *>(text.constData());
    const char16_t *pp = reinterpret_cast<const char16_t *>(prefix.constData());
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t ft = foldUnit(pt[i]);
        const char16_t fp = foldUnit(pp[i]);
        if (ft != fp)
            return ft < fp ? -1 : 1;
    }
    return text.size() < prefix.size() ? -1 : 0;
}

int compare(const QString &a, const QString &b)
{
    const qsizetype n = qMin(a.size(), b.size());
    const char16_t *pa = reinterpret_cast<const char16_t *>(a.constData());
    const char16_t *pb = reinterpret_cast<const char16_t *>(b.constData());
    for (qsizetype i = 0; i < n; ++i) {
        if (pa[i] == pb[i])
            continue;
        const char16_t fa = foldUnit(pa[i]);
        const char16_t fb = foldUnit(pb[i]);
        if (fa != fb)
            return fa < fb ? -1 : 1;
    }
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    for (qsizetype i = 0; i < n; ++i) {
        if (pa[i] != pb[i])
            return pa[i] < pb[i] ? -1 : 1;
    }
    return 0;
}

void sort(std::vector<WordEntry *>::iterator begin, std::vector<WordEntry *>::iterator end)
{
    std::vector<std::pair<quint64, WordEntry *>> keyed;
    keyed.reserve(size_t(end - begin));
    for (auto it = begin; it != end; ++it)
        keyed.emplace_back(sortKey((*it)->text), *it);
    std::sort(keyed.begin(), keyed.end(), [](const auto &a, const auto &b) {
        return a.first != b.first ? a.first < b.first : compare(a.second->text, b.second->text) < 0;
    });
    for (const auto &item : keyed)
        *begin++ = item.second;
}

void sortLoaded(std::vector<WordEntry *> *order)
{
    auto less = [](const WordEntry *a, const WordEntry *b) { return compare(a->text, b->text) < 0; };
    if (!std::is_sorted(order->begin(), order->end(), less)) {
        // Words saved since the last full rewrite sit at the end of the file: sort only the ones out of
        // place and merge them in.
        std::vector<WordEntry *> sorted;
        std::vector<WordEntry *> stray;
        sorted.reserve(order->size());
        for (WordEntry *entry : *order) {
            if (sorted.empty() || less(sorted.back(), entry))
                sorted.push_back(entry);
            else
                stray.push_back(entry);
        }
        if (stray.size() > sorted.size() / 4) {
            sort(order->begin(), order->end());
        } else {
            sort(stray.begin(), stray.end());
            order->clear();
            std::merge(sorted.begin(), sorted.end(), stray.begin(), stray.end(), std::back_inserter(*order), less);
        }
    }
}

void merge(DictionaryContent *contentPointer)
{
    DictionaryContent &content = *contentPointer;
    if (content.pending.empty() && content.dead == 0)
        return;
    auto less = [](const WordEntry *a, const WordEntry *b) { return compare(a->text, b->text) < 0; };
    std::vector<WordEntry *> pending;
    pending.swap(content.pending);
    pending.erase(
        std::remove_if(pending.begin(), pending.end(), [](const WordEntry *e) { return e->flags & WordEntry::Dead; }),
        pending.end());
    sort(pending.begin(), pending.end());
    std::vector<WordEntry *> merged;
    merged.reserve(content.order.size() + pending.size());
    auto next = pending.begin();
    for (WordEntry *entry : content.order) {
        if (entry->flags & WordEntry::Dead)
            continue;
        while (next != pending.end() && less(*next, entry))
            merged.push_back(*next++);
        merged.push_back(entry);
    }
    merged.insert(merged.end(), next, pending.end());
    content.order.swap(merged);
    content.dead = 0;
}

} // namespace WordOrder
