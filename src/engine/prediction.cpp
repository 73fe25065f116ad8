#include "prediction.h"

#include "dictionarydata.h"

namespace {
bool s_developmentMode = false;
}

bool Prediction::developmentMode()
{
    return s_developmentMode;
}

void Prediction::setDevelopmentMode(bool on)
{
    s_developmentMode = on;
}

bool Prediction::isWordCharacter(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('\'') || c == QLatin1Char('-') || c.isMark();
}

DictionaryReference Prediction::openDictionary(const QString &path, QString *error)
{
    return DictionaryData::open(path, error);
}

DictionaryReference Prediction::createDictionary(const QString &path, const QString &displayName, Variety variety,
                                                 QString *error, int letterGroupThreshold)
{
    return DictionaryData::create(path, displayName, variety, error, letterGroupThreshold);
}

DictionaryCheck Prediction::checkDictionary(const QString &path)
{
    return DictionaryData::check(path);
}

DictionaryReference Prediction::loadDump(const QString &path, QIODevice *dump, QString *error)
{
    if (!dump) {
        if (error)
            *error = QStringLiteral("No dump was given.");
        return DictionaryReference();
    }
    return DictionaryData::loadDump(path, dump, error);
}
