#include "wordorder.h"

#include <algorithm>
#include <iterator>

#include "dictionarycontent.h"

namespace WordOrder {

namespace {

// What one UTF-16 unit contributes to each level of the order: up to two base letters (none for a
// combining accent, two for "ß" or "æ"), and the unit case-folded with its accent kept.
struct Fold
{
    char16_t first;
    char16_t second;
    char16_t folded;
};

// Units from here on (CJK, Hangul, surrogates, compatibility forms) carry no accents the order takes off;
// they are only case-folded, as before.
constexpr char32_t TableEnd = 0x3000;

// The first character of c's canonical decomposition, followed down to a character that has none: the
// base letter of an accented letter.
char32_t baseOf(char32_t c)
{
    while (QChar::decompositionTag(c) == QChar::Canonical) {
        const QString parts = QChar::decomposition(c);
        if (parts.isEmpty())
            break;
        c = parts.at(0).unicode();
    }
    return c;
}

std::vector<Fold> makeTable()
{
    std::vector<Fold> table(TableEnd);
    for (char32_t unit = 0; unit < TableEnd; ++unit) {
        Fold &fold = table[unit];
        fold.folded = char16_t(QChar::toCaseFolded(unit));
        fold.second = 0;
        const char32_t base = baseOf(unit);
        if (unit == 0 || isCombiningAccent(base)) {
            fold.first = 0;
            continue;
        }
        fold.first = char16_t(QChar::toCaseFolded(base));
        // Letters without a decomposition that readers still file under plain letters.
        switch (fold.first) {
        case 0xdf: // ß, ẞ
            fold.first = 's';
            fold.second = 's';
            break;
        case 0xe6: // æ, Æ
            fold.first = 'a';
            fold.second = 'e';
            break;
        case 0x153: // œ, Œ
            fold.first = 'o';
            fold.second = 'e';
            break;
        case 0xf8: // ø, Ø
            fold.first = 'o';
            break;
        case 0x111: // đ, Đ
            fold.first = 'd';
            break;
        case 0x131: // dotless ı
            fold.first = 'i';
            break;
        case 0x142: // ł, Ł
            fold.first = 'l';
            break;
        default:
            break;
        }
    }
    return table;
}

// Built once, on first use: a few thousand lookups of Qt's character tables.
const Fold *foldTable()
{
    static const std::vector<Fold> table = makeTable();
    return table.data();
}

inline char16_t foldUnit(char16_t u, const Fold *table)
{
    if (u < 128)
        return (u >= 'A' && u <= 'Z') ? char16_t(u + 32) : u;
    if (u < TableEnd)
        return table[u].folded;
    return char16_t(QChar::toCaseFolded(char32_t(u)));
}

// Reads a word's base letters one at a time: the first level of the order.
struct Letters
{
    Letters(const QString &text, const Fold *fold)
        : at(reinterpret_cast<const char16_t *>(text.constData())), end(at + text.size()), table(fold)
    {
    }

    // The next base letter, 0 after the last.
    char16_t next()
    {
        if (pending) {
            const char16_t letter = pending;
            pending = 0;
            return letter;
        }
        while (at < end) {
            const char16_t u = *at++;
            if (char16_t(u - 1) < 127) // ASCII other than NUL
                return (u >= 'A' && u <= 'Z') ? char16_t(u + 32) : u;
            if (u >= TableEnd)
                return char16_t(QChar::toCaseFolded(char32_t(u)));
            const Fold &fold = table[u];
            if (fold.first) {
                pending = fold.second;
                return fold.first;
            }
        }
        return 0;
    }

    const char16_t *at;
    const char16_t *end;
    const Fold *table;
    char16_t pending = 0;
};

// Steps over the units two readers have in common: equal units give equal letters.
inline void skipCommon(Letters *a, Letters *b)
{
    if (a->pending || b->pending)
        return;
    while (a->at < a->end && b->at < b->end && *a->at == *b->at) {
        ++a->at;
        ++b->at;
    }
}

int compareLetters(const QString &a, const QString &b, const Fold *table)
{
    Letters la(a, table);
    Letters lb(b, table);
    for (;;) {
        skipCommon(&la, &lb);
        const char16_t ca = la.next();
        const char16_t cb = lb.next();
        if (ca != cb)
            return ca < cb ? -1 : 1;
        if (ca == 0)
            return 0;
    }
}

// The first four base letters of a word, so that most comparisons of a big sort touch no string: words
// ordered by their keys are ordered the same way by compare().
quint64 sortKey(const QString &text, const Fold *table)
{
    Letters letters(text, table);
    quint64 key = 0;
    for (int i = 0; i < 4; ++i)
        key = (key << 16) | letters.next();
    return key;
}

} // namespace

int compareLetters(const QString &a, const QString &b)
{
    return compareLetters(a, b, foldTable());
}

int comparePrefix(const QString &text, const QString &prefix)
{
    const Fold *table = foldTable();
    Letters lt(text, table);
    Letters lp(prefix, table);
    for (;;) {
        skipCommon(&lt, &lp);
        const char16_t cp = lp.next();
        if (cp == 0)
            return 0;
        const char16_t ct = lt.next();
        if (ct != cp)
            return ct < cp ? -1 : 1;
    }
}

int compare(const QString &a, const QString &b)
{
    const Fold *table = foldTable();
    if (const int letters = compareLetters(a, b, table))
        return letters;
    const qsizetype n = qMin(a.size(), b.size());
    const char16_t *pa = reinterpret_cast<const char16_t *>(a.constData());
    const char16_t *pb = reinterpret_cast<const char16_t *>(b.constData());
    // The same letters: the accents decide, then the code units themselves.
    for (qsizetype i = 0; i < n; ++i) {
        if (pa[i] == pb[i])
            continue;
        const char16_t fa = foldUnit(pa[i], table);
        const char16_t fb = foldUnit(pb[i], table);
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

char32_t letterGroupOf(const QString &text)
{
    // Called for every word when a group is listed: most words begin with a plain ASCII letter.
    if (!text.isEmpty()) {
        const char16_t u = text.front().unicode();
        if (char16_t(u - 1) < 127)
            return (u >= 'A' && u <= 'Z') ? char16_t(u + 32) : u;
    }
    Letters letters(text, foldTable());
    const char16_t first = letters.next();
    if (QChar::isHighSurrogate(first) && letters.at < letters.end && QChar::isLowSurrogate(*letters.at))
        return QChar::toCaseFolded(QChar::surrogateToUcs4(first, *letters.at));
    return first;
}

void sort(std::vector<WordEntry *>::iterator begin, std::vector<WordEntry *>::iterator end)
{
    const Fold *table = foldTable();
    std::vector<std::pair<quint64, WordEntry *>> keyed;
    keyed.reserve(size_t(end - begin));
    for (auto it = begin; it != end; ++it)
        keyed.emplace_back(sortKey((*it)->text, table), *it);
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
