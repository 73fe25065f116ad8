#include "prediction.h"

#include "dictionarydata.h"
#include "grammar.h"

GCode::GCode(Word *word) : adverbPositions(new AdverbPositions(this)), m_word(word) {}

GCode::~GCode()
{
    delete adverbPositions;
    qDeleteAll(usages);
}

bool GCode::canHaveUses() const
{
    return Grammar::canHaveUses(partOfSpeech);
}

void GCode::setSubcode(const QString &value)
{
    if (subcode == value)
        return;
    subcode = value;
    DictionaryData::refreshDerived(this);
    touch();
}

void GCode::setFrequency(const QString &value)
{
    if (frequency == value)
        return;
    frequency = value;
    touch();
}

void GCode::touch()
{
    if (m_word && m_word->dictionary())
        m_word->dictionary()->data()->wordChanged(m_word);
}
