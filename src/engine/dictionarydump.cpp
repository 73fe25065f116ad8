#include "dictionarydump.h"

#include <QIODevice>
#include <QStringDecoder>

namespace {

// The buffer is written out in pieces of about this size.
const qsizetype FlushBytes = 1 << 20;

} // namespace

const char *DictionaryDump::headerLine()
{
    return "Lexora dictionary dump 1";
}

DictionaryDump::DictionaryDump(QIODevice *device) : m_device(device) {}

bool DictionaryDump::writeHeader(const DictionaryWriter::Settings &settings)
{
    m_buffer += headerLine();
    m_buffer += "\nname\t" + WordRecord::escape(settings.displayName).toUtf8();
    m_buffer += "\nvariety\t" + DictionaryWriter::varietyName(settings.variety).toUtf8();
    m_buffer += QByteArray("\nuk-grammar\t") + (settings.ukGrammar ? "yes" : "no");
    m_buffer += "\nletter-groups\t" + QByteArray::number(settings.letterGroupThreshold) + "\n\n";
    return true;
}

bool DictionaryDump::writeWord(const QString &text, const QByteArray &storedCodes)
{
    m_buffer += WordRecord::escape(text).toUtf8();
    if (!storedCodes.isEmpty()) {
        QByteArray codes = storedCodes;
        if (codes.contains('|')) // stored before "|" was escaped: write it anew
            codes = WordRecord::encodeCodes([&] {
                QList<CodeRecord> records;
                WordRecord::decodeCodes(storedCodes, &records);
                return records;
            }());
        // In the stored form no value holds a raw tab, line break or "|", so the separators trade places.
        codes.replace('\t', '|').replace('\n', '\t');
        m_buffer += '\t' + codes;
    }
    m_buffer += '\n';
    if (m_buffer.size() < FlushBytes)
        return true;
    return flush();
}

bool DictionaryDump::flush()
{
    const bool ok = m_device->write(m_buffer) == m_buffer.size();
    m_buffer.clear();
    return ok;
}

QString DictionaryDump::where() const
{
    return QStringLiteral("line %1: ").arg(m_line);
}

bool DictionaryDump::readLine(QString *line, QString *error)
{
    QByteArray bytes = m_device->readLine();
    if (bytes.isEmpty())
        return false;
    ++m_line;
    if (bytes.endsWith('\n'))
        bytes.chop(1);
    if (bytes.endsWith('\r'))
        bytes.chop(1);
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    *line = decoder.decode(bytes);
    if (decoder.hasError()) {
        *error = where() + QStringLiteral("the line is not valid UTF-8 text");
        return false;
    }
    return true;
}

bool DictionaryDump::readHeader(QString *error)
{
    QString line;
    if (!readLine(&line, error) || line != QLatin1String(headerLine())) {
        if (error->isEmpty())
            *error = QStringLiteral("line 1: this is not a Lexora dictionary dump (it must begin with \"%1\")")
                         .arg(QLatin1String(headerLine()));
        return false;
    }
    m_settings = DictionaryWriter::Settings();
    while (readLine(&line, error) && !line.isEmpty()) {
        const QString key = line.section(QLatin1Char('\t'), 0, 0);
        const QString value = line.section(QLatin1Char('\t'), 1);
        bool ok = line.count(QLatin1Char('\t')) == 1;
        if (ok && key == QLatin1String("name")) {
            ok = WordRecord::unescape(value, &m_settings.displayName);
        } else if (ok && key == QLatin1String("variety")) {
            m_settings.variety = DictionaryWriter::varietyFromName(value);
            ok = DictionaryWriter::varietyName(m_settings.variety) == value;
        } else if (ok && key == QLatin1String("uk-grammar")) {
            m_settings.ukGrammar = value == QLatin1String("yes");
            ok = m_settings.ukGrammar || value == QLatin1String("no");
        } else if (ok && key == QLatin1String("letter-groups")) {
            m_settings.letterGroupThreshold = value.toInt(&ok);
            ok = ok && m_settings.letterGroupThreshold >= 0;
        } else {
            ok = false;
        }
        if (!ok) {
            *error = where() + QStringLiteral("\"%1\" is not a setting of a dictionary dump").arg(line);
            return false;
        }
    }
    if (!error->isEmpty())
        return false;
    if (!line.isEmpty()) {
        *error = where() + QStringLiteral("the dump ends before its words begin");
        return false;
    }
    return true;
}

bool DictionaryDump::readWord(WordRecord *record, QString *error)
{
    QString line;
    if (!readLine(&line, error))
        return false;
    const QStringList fields = line.split(QLatin1Char('\t'));
    WordRecord result;
    if (!WordRecord::unescape(fields.first(), &result.text) || !WordRecord::isAcceptableSpelling(result.text)) {
        *error = where() + QStringLiteral("\"%1\" is not a word a dictionary accepts").arg(fields.first());
        return false;
    }
    if (fields.size() - 1 > WordRecord::MaximumCodes) {
        *error = where() + QStringLiteral("\"%1\" has %2 grammar codes, more than the %3 a word may have")
                               .arg(result.text)
                               .arg(fields.size() - 1)
                               .arg(WordRecord::MaximumCodes);
        return false;
    }
    for (qsizetype i = 1; i < fields.size(); ++i) {
        QString codeLine = fields.at(i);
        CodeRecord code;
        if (!WordRecord::decodeCodeLine(codeLine.replace(QLatin1Char('|'), QLatin1Char('\t')), &code)) {
            *error = where() + QStringLiteral("grammar code %1 of \"%2\" is malformed").arg(i).arg(result.text);
            return false;
        }
        if (!WordRecord::isAcceptableFrequency(code.frequency)) {
            *error = where() + QStringLiteral("the frequency \"%1\" of \"%2\" is not a whole number from 0 to 31")
                                   .arg(code.frequency, result.text);
            return false;
        }
        result.codes << code;
    }
    *record = result;
    return true;
}
