#include "typingsimulation.h"

double TypingSimulation::Result::savings() const
{
    return characters > 0 ? 100.0 * double(characters - keys) / double(characters) : 0.0;
}

double TypingSimulation::Result::foundBeforeTypingShare() const
{
    return words > 0 ? 100.0 * foundBeforeTyping / words : 0.0;
}

TypingSimulation::Result TypingSimulation::run(Dictionary *dictionary, const QString &text, int offers, bool useContext)
{
    Result result;
    result.characters = text.size();
    qsizetype at = 0;
    while (at < text.size()) {
        if (!Prediction::isWordCharacter(text.at(at))) {
            ++result.keys;
            ++at;
            continue;
        }
        qsizetype end = at;
        while (end < text.size() && Prediction::isWordCharacter(text.at(end)))
            ++end;
        const QString word = text.mid(at, end - at);
        // The text before the word, without a copy: a long text would otherwise be copied once a word.
        const QString context = QString::fromRawData(text.constData(), at);
        qsizetype typed = 0;
        bool picked = false;
        QStringList passedOver; // offered at an earlier key of this word, and so not the word meant
        for (; typed < word.size(); ++typed) {
            const QStringList offered = dictionary->predict(context, word.left(typed), offers, useContext, passedOver);
            if (offered.contains(word, Qt::CaseInsensitive)) {
                picked = true;
                break;
            }
            passedOver << offered;
        }
        result.keys += picked ? typed + 1 : word.size();
        if (picked && typed == 0)
            ++result.foundBeforeTyping;
        ++result.words;
        at = end;
        // A picked word comes with the space after it, so the space the text has there is no key.
        if (picked && at < text.size() && text.at(at) == QLatin1Char(' '))
            ++at;
    }
    return result;
}
