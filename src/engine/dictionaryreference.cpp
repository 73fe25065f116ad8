#include "prediction.h"

#include "dictionarydata.h"

namespace {
QString &editMode()
{
    static QString mode = QStringLiteral("basic_grammar");
    return mode;
}
} // namespace

DictionaryReference::DictionaryReference() : m_dictionary(nullptr) {}

DictionaryReference::DictionaryReference(Dictionary *dictionary) : m_dictionary(dictionary)
{
    if (m_dictionary)
        m_dictionary->data()->ref();
}

DictionaryReference::DictionaryReference(const DictionaryReference &other) : DictionaryReference(other.m_dictionary) {}

DictionaryReference &DictionaryReference::operator=(const DictionaryReference &other)
{
    if (other.m_dictionary == m_dictionary)
        return *this;
    Dictionary *old = m_dictionary;
    m_dictionary = other.m_dictionary;
    if (m_dictionary)
        m_dictionary->data()->ref();
    if (old && old->data()->deref())
        delete old;
    return *this;
}

DictionaryReference::~DictionaryReference()
{
    if (m_dictionary && m_dictionary->data()->deref())
        delete m_dictionary;
}

bool DictionaryReference::isDirty() const
{
    return m_dictionary && m_dictionary->isDirty();
}

QString DictionaryReference::displayName() const
{
    return m_dictionary ? m_dictionary->displayName() : QString();
}

bool DictionaryReference::reload()
{
    return m_dictionary && m_dictionary->reload();
}

bool DictionaryReference::isUKGrammar() const
{
    return m_dictionary && m_dictionary->isUKGrammar();
}

void DictionaryReference::setEditPreferences(const QString &mode)
{
    editMode() = mode;
}

QString DictionaryReference::editPreferences()
{
    return editMode();
}
