#include "edithistory.h"

#include <cstring>

#include "dictionarydata.h"
#include "prediction.h"
#include "wordrecord.h"

namespace {

// States are packed into blocks of a mebibyte that never move, so that the history grows without copying
// and without the slack of a doubling buffer. A state's offset is its block's index and its place within it.
const int BlockBits = 20;
const qsizetype BlockSize = qsizetype(1) << BlockBits;

// Before a past step's state: the history has not seen the word since it was loaded.
const qint64 Unknown = -2;

QString quoted(const QString &text)
{
    return QStringLiteral("\"%1\"").arg(text);
}

QString shownValue(const QString &value)
{
    return value.isEmpty() ? QStringLiteral("none") : value;
}

QString describeChange(const QString &word, const QList<CodeRecord> &before, const QList<CodeRecord> &after)
{
    const QString w = quoted(word);
    const QString arrow = QStringLiteral(" \u2192 ");
    if (after.size() == before.size() + 1)
        return QStringLiteral("Add a grammar code to %1").arg(w);
    if (after.size() + 1 == before.size()) {
        qsizetype i = 0;
        while (i < after.size() && before.at(i) == after.at(i))
            ++i;
        return QStringLiteral("Delete the %1 code of %2").arg(before.at(i).partOfSpeech, w);
    }
    if (after.size() != before.size())
        return QStringLiteral("Change %1").arg(w);
    for (qsizetype i = 0; i < before.size(); ++i) {
        const CodeRecord &b = before.at(i);
        const CodeRecord &a = after.at(i);
        if (b.partOfSpeech != a.partOfSpeech)
            return QStringLiteral("Part of speech of %1 %2").arg(w, b.partOfSpeech + arrow + a.partOfSpeech);
        if (b.subcode != a.subcode)
            return QStringLiteral("Subcode of %1 %2").arg(w, shownValue(b.subcode) + arrow + shownValue(a.subcode));
        if (b.frequency != a.frequency)
            return QStringLiteral("Frequency of %1 %2").arg(w, b.frequency + arrow + a.frequency);
        if (b.usages.size() < a.usages.size())
            return QStringLiteral("Add a usage to %1").arg(w);
        if (b.usages.size() > a.usages.size())
            return QStringLiteral("Delete a usage of %1").arg(w);
        if (b.usages != a.usages)
            return QStringLiteral("Change a usage of %1").arg(w);
        if (b.adverbPositions != a.adverbPositions)
            return QStringLiteral("Adverb positions of %1").arg(w);
        if (b.expansion != a.expansion)
            return QStringLiteral("Expansion of %1").arg(w);
    }
    return QStringLiteral("Change %1").arg(w);
}

} // namespace

EditHistory::EditHistory(DictionaryData *owner) : m_owner(owner) {}

EditHistory::~EditHistory()
{
    dropLinks(0);
}

// ---------------------------------------------------------------------------------------------------------------
// States

qint64 EditHistory::store(const QString &text, const QByteArray &codes)
{
    const QByteArray utf8 = text.toUtf8();
    const quint32 lengths[2] = {quint32(utf8.size()), quint32(codes.size())};
    const qsizetype size = qsizetype(sizeof lengths) + utf8.size() + codes.size();
    if (m_blocks.empty() || m_blocks.back().size() + size > BlockSize) {
        m_blocks.emplace_back();
        m_blocks.back().reserve(qMax(size, BlockSize)); // a state bigger than a block has one of its own
    }
    QByteArray &block = m_blocks.back();
    const qint64 offset = (qint64(m_blocks.size() - 1) << BlockBits) | qint64(block.size());
    block.append(reinterpret_cast<const char *>(lengths), qsizetype(sizeof lengths));
    block.append(utf8);
    block.append(codes);
    return offset;
}

qint64 EditHistory::storeCurrent(const Word *word)
{
    return store(word->text, WordRecord::encodeCodes(WordRecord::fromWord(word).codes));
}

namespace {

struct StateView
{
    const char *text;
    quint32 textLength;
    const char *codes;
    quint32 codesLength;
};

StateView view(const std::vector<QByteArray> &blocks, qint64 state)
{
    const QByteArray &block = blocks[size_t(state >> BlockBits)];
    // A state is written into its block before it is read, so an empty block holds no state to read.
    if (block.isEmpty())
        return {"", 0, "", 0};
    const char *at = block.constData() + (state & (BlockSize - 1));
    quint32 lengths[2];
    std::memcpy(lengths, at, sizeof lengths);
    at += sizeof lengths;
    return {at, lengths[0], at + lengths[0], lengths[1]};
}

} // namespace

QString EditHistory::textAt(qint64 state) const
{
    const StateView v = view(m_blocks, state);
    return QString::fromUtf8(v.text, qsizetype(v.textLength));
}

QByteArray EditHistory::codesAt(qint64 state) const
{
    const StateView v = view(m_blocks, state);
    return QByteArray(v.codes, qsizetype(v.codesLength));
}

bool EditHistory::load(qint64 state, WordRecord *record) const
{
    record->text = textAt(state);
    return WordRecord::decodeCodes(codesAt(state), &record->codes);
}

qint64 EditHistory::knownState(Word *word)
{
    const auto it = m_known.constFind(word);
    return it == m_known.constEnd() ? Unknown : *it;
}

// ---------------------------------------------------------------------------------------------------------------
// Recording

void EditHistory::push(const Step &step)
{
    if (m_position < m_steps.size()) {
        // A new edit after undoing: the undone steps can no longer be redone.
        dropLinks(m_position);
        m_steps.resize(m_position);
        if (m_saved != NoPosition && m_saved > m_position)
            m_saved = NoPosition;
    }
    m_steps.push_back(step);
    m_position = m_steps.size();
    m_lastAddition = NoPosition;
    m_transferSource = nullptr;
    m_transferLink.reset();
}

void EditHistory::dropLinks(size_t from)
{
    size_t firstLink = m_links.size();
    for (size_t i = from; i < m_steps.size(); ++i) {
        const quint32 index = m_steps[i].link;
        if (index == 0)
            continue;
        Link &link = *m_links[index - 1];
        link.history[link.history[0] == this ? 0 : 1] = nullptr;
        firstLink = qMin(firstLink, size_t(index - 1));
    }
    // Links are made in the order of their steps, so those of the dropped steps are the last ones.
    m_links.resize(firstLink);
}

void EditHistory::added(Word *word)
{
    if (m_applying)
        return;
    const qint64 after = storeCurrent(word);
    push({word, Absent, after, 0, Added});
    m_known.insert(word, after);
    m_lastAddition = m_steps.size() - 1;
}

void EditHistory::removed(Word *word)
{
    if (m_applying)
        return;
    Kind kind = Removed;
    std::shared_ptr<Link> link;
    if (word == m_transferSource) {
        kind = TransferredOut;
        link = m_transferLink;
    }
    qint64 before = knownState(word);
    if (before < 0)
        before = storeCurrent(word);
    push({word, before, Absent, 0, kind});
    if (link) {
        link->history[0] = this;
        link->step[0] = m_steps.size() - 1;
        m_links.push_back(link);
        m_steps.back().link = quint32(m_links.size());
    }
    m_known.insert(word, Absent);
}

void EditHistory::respelling(Word *word, const QString &spelling)
{
    if (m_applying)
        return;
    qint64 before = knownState(word);
    if (before < 0)
        before = storeCurrent(word);
    const qint64 after = store(spelling, codesAt(before));
    push({word, before, after, 0, Respelt});
    m_known.insert(word, after);
}

void EditHistory::changed(Word *word, const QByteArray &loadedCodes)
{
    if (m_applying)
        return;
    const QByteArray now = WordRecord::encodeCodes(WordRecord::fromWord(word).codes);
    qint64 before = knownState(word);
    if (before < 0) {
        if (loadedCodes == now)
            return;
        before = store(word->text, loadedCodes);
    } else if (codesAt(before) == now) {
        return; // marked changed, but nothing is different
    }
    const qint64 after = store(word->text, now);
    push({word, before, after, 0, Changed});
    m_known.insert(word, after);
}

void EditHistory::markAddition(const Word *word, Kind kind, Word *source)
{
    const bool recorded = word && m_lastAddition != NoPosition && m_lastAddition + 1 == m_position &&
                          m_steps[m_lastAddition].word == word;
    if (recorded)
        m_steps[m_lastAddition].kind = kind;
    if (kind != TransferredIn || !source || !source->dictionary())
        return;
    EditHistory &other = source->dictionary()->data()->history();
    if (&other == this)
        return;
    // The link is complete once the source dictionary records the word's removal.
    auto link = std::make_shared<Link>();
    if (recorded) {
        link->history[1] = this;
        link->step[1] = m_lastAddition;
        m_links.push_back(link);
        m_steps[m_lastAddition].link = quint32(m_links.size());
    }
    other.m_transferSource = source;
    other.m_transferLink = link;
}

void EditHistory::reset()
{
    forget();
    m_saved = 0;
    m_blocks.clear();
    m_known.clear();
}

qint64 EditHistory::bytes() const
{
    qint64 total = qint64(m_steps.size() * sizeof(Step)) + qint64(m_links.capacity() * sizeof(m_links[0]));
    for (const QByteArray &block : m_blocks)
        total += block.capacity();
    // A hash node holds the key and the value; the table adds a span entry per bucket.
    total += qint64(m_known.capacity()) * qint64(sizeof(Word *) + sizeof(qint64) + 1);
    return total;
}

void EditHistory::forget()
{
    dropLinks(0);
    if (!m_steps.empty())
        std::deque<Step>().swap(m_steps); // gives the memory back
    m_position = 0;
    m_saved = NoPosition;
    m_lastAddition = NoPosition;
    m_transferSource = nullptr;
    m_transferLink.reset();
}

// ---------------------------------------------------------------------------------------------------------------
// Undo and redo

QString EditHistory::describe(const Step &step) const
{
    const QString before = step.before != Absent ? textAt(step.before) : QString();
    const QString after = step.after != Absent ? textAt(step.after) : QString();
    switch (step.kind) {
    case Added:
        return QStringLiteral("Add %1").arg(quoted(after));
    case Pasted:
        return QStringLiteral("Paste %1").arg(quoted(after));
    case TransferredIn:
        return QStringLiteral("Transfer %1").arg(quoted(after));
    case Removed:
        return QStringLiteral("Delete %1").arg(quoted(before));
    case TransferredOut:
        return QStringLiteral("Transfer %1").arg(quoted(before));
    case Respelt:
        return QStringLiteral("Re-spell %1 as %2").arg(quoted(before), quoted(after));
    case Changed:
        break;
    }
    QList<CodeRecord> was, is;
    WordRecord::decodeCodes(codesAt(step.before), &was);
    WordRecord::decodeCodes(codesAt(step.after), &is);
    return describeChange(after, was, is);
}

QString EditHistory::undoText() const
{
    return canUndo() ? describe(m_steps[m_position - 1]) : QString();
}

QString EditHistory::redoText() const
{
    return canRedo() ? describe(m_steps[m_position]) : QString();
}

bool EditHistory::partnerReady(const Step &step, bool undoing, EditHistory **partner, size_t *partnerStep) const
{
    if (step.link == 0)
        return false;
    const Link &link = *m_links[step.link - 1];
    const int other = link.history[0] == this ? 1 : 0;
    EditHistory *history = link.history[other];
    if (!history || history->m_applying)
        return false;
    // Only when the other side is next in its own history; otherwise this side goes alone, which may leave
    // the word in both dictionaries but never in neither.
    const size_t index = link.step[other];
    if (history->m_position != (undoing ? index + 1 : index))
        return false;
    *partner = history;
    *partnerStep = index;
    return true;
}

bool EditHistory::canRestore(const Step &step, bool undoing, WordRecord *state, bool *present) const
{
    const qint64 offset = undoing ? step.before : step.after;
    *present = offset != Absent;
    if (*present && !load(offset, state))
        return false;
    return m_owner->canRestore(step.word, *present ? state : nullptr);
}

void EditHistory::restore(const Step &step, const WordRecord *state, qint64 offset)
{
    m_applying = true;
    m_owner->restore(step.word, state);
    m_applying = false;
    m_known.insert(step.word, offset);
}

Word *EditHistory::apply(bool undoing)
{
    if (undoing ? !canUndo() : !canRedo())
        return nullptr;
    const size_t index = undoing ? m_position - 1 : m_position;
    const Step step = m_steps[index];
    WordRecord state;
    bool present = false;
    if (!canRestore(step, undoing, &state, &present))
        return nullptr;
    EditHistory *partner = nullptr;
    size_t partnerIndex = 0;
    WordRecord partnerState;
    bool partnerPresent = false;
    if (partnerReady(step, undoing, &partner, &partnerIndex) &&
        !partner->canRestore(partner->m_steps[partnerIndex], undoing, &partnerState, &partnerPresent))
        partner = nullptr;

    restore(step, present ? &state : nullptr, undoing ? step.before : step.after);
    m_position = undoing ? index : index + 1;
    m_lastAddition = NoPosition;
    m_transferSource = nullptr;
    m_transferLink.reset();
    if (partner) {
        const Step other = partner->m_steps[partnerIndex];
        partner->restore(other, partnerPresent ? &partnerState : nullptr, undoing ? other.before : other.after);
        partner->m_position = undoing ? partnerIndex : partnerIndex + 1;
    }
    return step.word;
}

Word *EditHistory::undo()
{
    return apply(true);
}

Word *EditHistory::redo()
{
    return apply(false);
}
