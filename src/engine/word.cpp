#include "prediction.h"

#include "dictionarydata.h"
#include "grammar.h"

Word::Word(Dictionary *dictionary) : m_dictionary(dictionary) {}

Word::~Word()
{
    qDeleteAll(codes);
}

namespace {
DictionaryData *dataOf(const Word *word)
{
    return word->dictionary() ? word->dictionary()->data() : nullptr;
}
} // namespace

void Word::addGCode()
{
    if (codes.size() >= WordRecord::MaximumCodes)
        return;
    GCode *code = new GCode(this);
    code->partOfSpeech = QStringLiteral("new");
    code->frequency = QStringLiteral("1");
    DictionaryData::refreshDerived(code);
    codes.append(code);
    if (DictionaryData *d = dataOf(this))
        d->wordChanged(this);
}

void Word::removeGCode(short index)
{
    if (index < 0 || index >= codes.size())
        return;
    delete codes.takeAt(index);
    if (DictionaryData *d = dataOf(this))
        d->wordChanged(this);
}

void Word::addUse(short codeIndex)
{
    if (codeIndex < 0 || codeIndex >= codes.size())
        return;
    GCode *code = codes.at(codeIndex);
    code->usages.append(new Usage(code));
    code->touch();
}

void Word::removeUse(short codeIndex, short usageIndex)
{
    if (codeIndex < 0 || codeIndex >= codes.size())
        return;
    GCode *code = codes.at(codeIndex);
    if (usageIndex < 0 || usageIndex >= code->usages.size())
        return;
    delete code->usages.takeAt(usageIndex);
    code->touch();
}

void Word::removeWord()
{
    if (DictionaryData *d = dataOf(this))
        d->removeWord(this);
}

void Word::changeSpelling(const QString &spelling)
{
    if (DictionaryData *d = dataOf(this))
        d->changeSpelling(this, spelling);
}

void Word::setCodeName(int index, const QString &partOfSpeech)
{
    if (index < 0 || index >= codes.size())
        return;
    GCode *code = codes.at(index);
    if (code->partOfSpeech == partOfSpeech)
        return;
    code->partOfSpeech = partOfSpeech;
    // A subcode of the old part of speech means nothing under the new one.
    const QStringList choices = Grammar::subcodeChoices(partOfSpeech);
    if (!choices.isEmpty() && !choices.contains(code->subcode))
        code->subcode.clear();
    DictionaryData::refreshDerived(code);
    code->touch();
}

void Word::setSubcode(int index, const QString &subcode)
{
    if (index < 0 || index >= codes.size())
        return;
    codes.at(index)->setSubcode(subcode);
}
