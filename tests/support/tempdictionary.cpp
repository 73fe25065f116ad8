#include "tempdictionary.h"

TempDictionary::TempDictionary(const QStringList &lines, Prediction::Variety variety, const QString &displayName)
{
    m_path = m_dir.filePath(QStringLiteral("test.dict"));
    m_reference = Prediction::createDictionary(m_path, displayName, variety, &m_error);
    if (m_reference == 0)
        return;
    for (const QString &line : lines) {
        if (!applyLine(m_reference.get(), line)) {
            m_error = QStringLiteral("could not add \"%1\"").arg(line);
            return;
        }
    }
    if (m_reference->save() != 0)
        m_error = m_reference->lastError();
}

Word *TempDictionary::applyLine(Dictionary *dictionary, const QString &line)
{
    const QString text = line.section(QLatin1Char('\t'), 0, 0);
    const QString codes = line.section(QLatin1Char('\t'), 1);
    Word *word = dictionary->findWord(text);
    if (!word)
        word = dictionary->addWord(text, QStringLiteral("edit"));
    if (!word)
        return nullptr;
    while (!word->codes.isEmpty())
        word->removeGCode(0);
    if (codes.isEmpty())
        return word;
    const QStringList codeTexts = codes.split(QLatin1Char(';'));
    for (const QString &codeText : codeTexts) {
        const QStringList fields = codeText.split(QLatin1Char('/'));
        word->addGCode();
        const int index = int(word->codes.size()) - 1;
        word->setCodeName(index, fields.value(0));
        word->setSubcode(index, fields.value(1));
        if (fields.size() > 2 && !fields.at(2).isEmpty())
            word->codes.at(index)->setFrequency(fields.at(2));
        if (fields.size() > 3 && !fields.at(3).isEmpty()) {
            const QStringList usages = fields.mid(3).join(QLatin1Char('/')).split(QLatin1Char('|'));
            for (const QString &usage : usages) {
                word->addUse(short(index));
                Usage *added = word->codes.at(index)->usages.last();
                const QStringList parts = usage.split(QLatin1Char(':'));
                auto list = [&](int i) {
                    return parts.value(i).isEmpty() ? QStringList() : parts.value(i).split(QLatin1Char(','));
                };
                added->complements()->setCodes(list(0));
                added->particles()->setCodes(list(1));
                added->prepositions()->setCodes(list(2));
            }
        }
    }
    return word;
}

QStringList TempDictionary::describe(const Word *word)
{
    QStringList out{word->text};
    for (const GCode *code : word->codes) {
        out << code->partOfSpeech << code->subcode << code->frequency << code->expansion
            << code->adverbPositions->codes().join(QLatin1Char(','));
        for (const Usage *usage : code->usages)
            out << QStringLiteral("usage") << usage->complements()->codes().join(QLatin1Char(','))
                << usage->particles()->codes().join(QLatin1Char(','))
                << usage->prepositions()->codes().join(QLatin1Char(','));
    }
    return out;
}
