#include "prediction.h"

#include "grammar.h"

CodeList::CodeList(GCode *owner) : m_owner(owner) {}

CodeList::~CodeList() = default;

QStringList CodeList::codes() const
{
    return m_codes;
}

QString CodeList::text() const
{
    return Grammar::listText(m_codes);
}

void CodeList::setCodes(const QStringList &codes)
{
    if (codes == m_codes)
        return;
    m_codes = codes;
    if (m_owner)
        m_owner->touch();
}

AdverbPositions::AdverbPositions(GCode *owner) : CodeList(owner) {}

QString AdverbPositions::text() const
{
    return Grammar::adverbText(codes());
}

Complements::Complements(GCode *owner) : CodeList(owner) {}

QString Complements::text() const
{
    return Grammar::complementName(owner() ? owner()->partOfSpeech : QString(), codes());
}

QStringList Complements::patterns() const
{
    const GCode *code = owner();
    if (!code)
        return QStringList();
    return Grammar::complementPatterns(code->word() ? code->word()->text : QString(), code->partOfSpeech, codes());
}

Particles::Particles(GCode *owner) : CodeList(owner) {}

QString Particles::text() const
{
    return Grammar::listText(codes());
}

Prepositions::Prepositions(GCode *owner) : CodeList(owner) {}

QString Prepositions::text() const
{
    return Grammar::listText(codes());
}
