#include "wordrecord.h"

#include "prediction.h"

#include <algorithm>

namespace {

const QLatin1String PayloadHeader("LexoraWord 1");
const QLatin1String PayloadEnd("end");

QString escapeValue(const QString &value)
{
    const auto special = [](QChar c) {
        const char16_t u = c.unicode();
        return u == '\\' || u == '\t' || u == '\n' || u == ',' || u == ';' || u == '|';
    };
    if (std::none_of(value.cbegin(), value.cend(), special))
        return value; // the common case, without a copy
    QString out;
    out.reserve(value.size());
    for (QChar c : value) {
        switch (c.unicode()) {
        case '\\':
            out += QLatin1String("\\\\");
            break;
        case '\t':
            out += QLatin1String("\\t");
            break;
        case '\n':
            out += QLatin1String("\\n");
            break;
        case ',':
            out += QLatin1String("\\c");
            break;
        case ';':
            out += QLatin1String("\\s");
            break;
        case '|':
            out += QLatin1String("\\p");
            break;
        default:
            out += c;
        }
    }
    return out;
}

bool unescapeValue(const QString &value, QString *out)
{
    if (!value.contains(QLatin1Char('\\'))) {
        *out = value;
        return true;
    }
    QString result;
    result.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c != QLatin1Char('\\')) {
            result += c;
            continue;
        }
        if (++i >= value.size())
            return false;
        switch (value.at(i).unicode()) {
        case '\\':
            result += QLatin1Char('\\');
            break;
        case 't':
            result += QLatin1Char('\t');
            break;
        case 'n':
            result += QLatin1Char('\n');
            break;
        case 'c':
            result += QLatin1Char(',');
            break;
        case 's':
            result += QLatin1Char(';');
            break;
        case 'p':
            result += QLatin1Char('|');
            break;
        default:
            return false;
        }
    }
    *out = result;
    return true;
}

QString encodeList(const QStringList &list)
{
    QStringList escaped;
    escaped.reserve(list.size());
    for (const QString &code : list)
        escaped << (code.isEmpty() ? QStringLiteral("\\e") : escapeValue(code));
    return escaped.join(QLatin1Char(','));
}

bool decodeList(const QString &text, QStringList *list)
{
    list->clear();
    if (text.isEmpty())
        return true;
    const QStringList parts = text.split(QLatin1Char(','));
    for (const QString &part : parts) {
        QString value;
        if (part == QLatin1String("\\e"))
            value.clear(); // an empty code, which would otherwise vanish between separators
        else if (part.isEmpty() || !unescapeValue(part, &value))
            return false;
        *list << value;
    }
    return true;
}

} // namespace

QString WordRecord::escape(const QString &value)
{
    return escapeValue(value);
}

bool WordRecord::unescape(const QString &value, QString *out)
{
    return unescapeValue(value, out);
}

QString WordRecord::encodeCodeLine(const CodeRecord &code)
{
    QStringList fields;
    fields << escapeValue(code.partOfSpeech) << escapeValue(code.subcode) << escapeValue(code.frequency)
           << escapeValue(code.expansion) << encodeList(code.adverbPositions);
    for (const UsageRecord &usage : code.usages)
        fields << encodeList(usage.complements) + QLatin1Char(';') + encodeList(usage.particles) + QLatin1Char(';') +
                      encodeList(usage.prepositions);
    return fields.join(QLatin1Char('\t'));
}

bool WordRecord::decodeCodeLine(const QString &line, CodeRecord *code)
{
    const QStringList fields = line.split(QLatin1Char('\t'));
    if (fields.size() < 5)
        return false;
    CodeRecord result;
    if (!unescapeValue(fields.at(0), &result.partOfSpeech) || !unescapeValue(fields.at(1), &result.subcode) ||
        !unescapeValue(fields.at(2), &result.frequency) || !unescapeValue(fields.at(3), &result.expansion) ||
        !decodeList(fields.at(4), &result.adverbPositions))
        return false;
    for (qsizetype i = 5; i < fields.size(); ++i) {
        const QStringList lists = fields.at(i).split(QLatin1Char(';'));
        if (lists.size() != 3)
            return false;
        UsageRecord usage;
        if (!decodeList(lists.at(0), &usage.complements) || !decodeList(lists.at(1), &usage.particles) ||
            !decodeList(lists.at(2), &usage.prepositions))
            return false;
        result.usages << usage;
    }
    *code = result;
    return true;
}

namespace {

// Everything outside printable ASCII becomes \uXXXX (one per UTF-16 unit); "\" is already doubled.
QString asciiEscape(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        const ushort u = c.unicode();
        if ((u >= 0x20 && u < 0x7f) || u == '\n')
            out += c;
        else
            out += QStringLiteral("\\u%1").arg(u, 4, 16, QLatin1Char('0'));
    }
    return out;
}

bool asciiUnescape(const QString &text, QString *out)
{
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const ushort u = text.at(i).unicode();
        if (!((u >= 0x20 && u < 0x7f) || u == '\n'))
            return false;
        if (u == '\\' && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('u')) {
            if (i + 6 > text.size())
                return false;
            bool ok = false;
            const QString hex = text.mid(i + 2, 4);
            const uint value = hex.toUInt(&ok, 16);
            if (!ok || hex.size() != 4 || hex.contains(QLatin1Char('+')) || hex.contains(QLatin1Char('-')))
                return false;
            result += QChar(ushort(value));
            i += 5;
            continue;
        }
        if (u == '\\' && i + 1 < text.size()) {
            // Keep the value escape for the field decoder; skip its second character here.
            result += text.at(i);
            result += text.at(++i);
            continue;
        }
        result += text.at(i);
    }
    *out = result;
    return true;
}

bool isDecimal(const QString &text)
{
    if (text.isEmpty() || text.size() > 9)
        return false;
    for (QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

} // namespace

WordRecord WordRecord::fromWord(const Word *word)
{
    WordRecord record;
    record.text = word->text;
    for (const GCode *code : word->codes) {
        CodeRecord c;
        c.partOfSpeech = code->partOfSpeech;
        c.subcode = code->subcode;
        c.frequency = code->frequency;
        c.expansion = code->expansion;
        c.adverbPositions = code->adverbPositions->codes();
        for (const Usage *usage : code->usages) {
            UsageRecord u;
            u.complements = usage->complements()->codes();
            u.particles = usage->particles()->codes();
            u.prepositions = usage->prepositions()->codes();
            c.usages << u;
        }
        record.codes << c;
    }
    return record;
}

QByteArray WordRecord::encodeCodes(const QList<CodeRecord> &codes)
{
    QStringList lines;
    lines.reserve(codes.size());
    for (const CodeRecord &code : codes)
        lines << encodeCodeLine(code);
    return lines.join(QLatin1Char('\n')).toUtf8();
}

bool WordRecord::decodeCodes(const QByteArray &utf8, QList<CodeRecord> *codes)
{
    codes->clear();
    if (utf8.isEmpty())
        return true;
    const QStringList lines = QString::fromUtf8(utf8).split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        CodeRecord code;
        if (!decodeCodeLine(line, &code)) {
            codes->clear();
            return false;
        }
        *codes << code;
    }
    return true;
}

int WordRecord::maximumFrequency(const QList<CodeRecord> &codes)
{
    int highest = 0;
    for (const CodeRecord &code : codes)
        highest = qMax(highest, code.frequency.toInt());
    return highest;
}

quint8 WordRecord::kinds(const QList<CodeRecord> &codes)
{
    quint8 bits = 0;
    for (const CodeRecord &code : codes) {
        const QString &pos = code.partOfSpeech;
        if (pos == QLatin1String("name"))
            bits |= Name;
        else if (pos == QLatin1String("noun"))
            bits |= Noun;
        else if (pos == QLatin1String("verb"))
            bits |= Verb;
        else if (pos == QLatin1String("adj."))
            bits |= Adjective;
        else if (pos == QLatin1String("adv."))
            bits |= Adverb;
        if (!code.expansion.isEmpty())
            bits |= Expansion;
        if (pos != QLatin1String("new"))
            bits |= Known;
    }
    return bits;
}

QString WordRecord::toPayload() const
{
    QStringList lines;
    lines << PayloadHeader << escapeValue(text) << QString::number(codes.size());
    for (const CodeRecord &code : codes)
        lines << encodeCodeLine(code);
    lines << PayloadEnd;
    return asciiEscape(lines.join(QLatin1Char('\n')));
}

bool WordRecord::fromPayload(const QString &payload, WordRecord *record)
{
    QString text;
    if (!asciiUnescape(payload, &text))
        return false;
    const QStringList lines = text.split(QLatin1Char('\n'));
    if (lines.size() < 4 || lines.first() != PayloadHeader || lines.last() != PayloadEnd)
        return false;
    if (!isDecimal(lines.at(2)))
        return false;
    const int count = lines.at(2).toInt();
    if (count > MaximumCodes || lines.size() != count + 4)
        return false;
    WordRecord result;
    if (!unescapeValue(lines.at(1), &result.text) || !isAcceptableSpelling(result.text))
        return false;
    for (int i = 0; i < count; ++i) {
        CodeRecord code;
        if (!decodeCodeLine(lines.at(3 + i), &code))
            return false;
        // A frequency outside 0 to 31 would leave the word counted but never listed.
        if (!isAcceptableFrequency(code.frequency))
            return false;
        result.codes << code;
    }
    *record = result;
    return true;
}

bool WordRecord::isAcceptableSpelling(const QString &text)
{
    if (text.isEmpty() || characterCount(text) > MaximumLength)
        return false;
    for (QChar c : text) {
        const QChar::Category category = c.category();
        if (category == QChar::Other_Control || category == QChar::Separator_Line ||
            category == QChar::Separator_Paragraph)
            return false;
    }
    return true;
}

qsizetype WordRecord::characterCount(const QString &text)
{
    qsizetype count = text.size();
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text.at(i).isHighSurrogate() && text.at(i + 1).isLowSurrogate())
            --count;
    }
    return count;
}

bool WordRecord::isAcceptableFrequency(const QString &text)
{
    if (text.isEmpty())
        return true;
    if (text.size() > 2 || !std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
        return false;
    return text.toInt() <= MaximumFrequency;
}

QString WordRecord::repairedSpelling(const QString &text)
{
    QString result;
    result.reserve(text.size());
    qsizetype characters = 0;
    for (qsizetype i = 0; i < text.size() && characters < MaximumLength; ++i) {
        const QChar c = text.at(i);
        const QChar::Category category = c.category();
        if (category == QChar::Other_Control || category == QChar::Separator_Line ||
            category == QChar::Separator_Paragraph)
            continue;
        result += c;
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            result += text.at(++i);
        ++characters;
    }
    return result;
}

QString WordRecord::repairedFrequency(const QString &text)
{
    if (isAcceptableFrequency(text))
        return text;
    QString digits = text.trimmed();
    if (!digits.isEmpty() &&
        std::all_of(digits.cbegin(), digits.cend(), [](QChar c) { return c >= u'0' && c <= u'9'; })) {
        while (digits.size() > 1 && digits.startsWith(QLatin1Char('0')))
            digits.remove(0, 1);
        return QString::number(digits.size() > 2 ? int(MaximumFrequency) : qMin(digits.toInt(), int(MaximumFrequency)));
    }
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || qIsNaN(value))
        return QStringLiteral("0");
    return QString::number(
        qBound(0, int(qBound(-1.0, value, double(MaximumFrequency) + 1) + 0.5), int(MaximumFrequency)));
}

namespace {

// Whether a list field of the stored form decodes: no empty entry between its separators.
bool isListField(const char *begin, const char *end)
{
    if (begin == end)
        return true;
    if (*begin == ',' || end[-1] == ',')
        return false;
    for (const char *p = begin; p + 1 < end; ++p) {
        if (p[0] == ',' && p[1] == ',')
            return false;
    }
    return true;
}

// One stored line without escapes: at least five fields, an acceptable frequency, well-formed lists.
bool isPlainCodeLine(const char *begin, const char *end)
{
    int field = 0;
    const char *start = begin;
    for (const char *p = begin;; ++p) {
        if (p != end && *p != '\t')
            continue;
        if (field == 2) {
            const qsizetype size = p - start;
            if (size > 2 || !std::all_of(start, p, [](char c) { return c >= '0' && c <= '9'; }) ||
                (size > 0 && QByteArray(start, size).toInt() > WordRecord::MaximumFrequency))
                return false;
        } else if (field == 4 && !isListField(start, p)) {
            return false;
        } else if (field >= 5) {
            const char *first = std::find(start, p, ';');
            const char *second = first == p ? p : std::find(first + 1, p, ';');
            if (second == p || std::find(second + 1, p, ';') != p || !isListField(start, first) ||
                !isListField(first + 1, second) || !isListField(second + 1, p))
                return false;
        }
        ++field;
        if (p == end)
            break;
        start = p + 1;
    }
    return field >= 5;
}

} // namespace

bool WordRecord::areAcceptableStoredCodes(const char *utf8, qsizetype size)
{
    if (size == 0)
        return true;
    const char *end = utf8 + size;
    bool plain = true; // printable ASCII without escapes, the common case
    for (const char *p = utf8; p != end && plain; ++p)
        plain = quint8(*p) < 0x80 && *p != '\\';
    if (!plain) {
        // Escapes and other characters: read it the long way.
        if (!QByteArrayView(utf8, size).isValidUtf8())
            return false;
        QList<CodeRecord> codes;
        if (!decodeCodes(QByteArray::fromRawData(utf8, size), &codes) || codes.size() > MaximumCodes)
            return false;
        return std::all_of(codes.cbegin(), codes.cend(),
                           [](const CodeRecord &code) { return isAcceptableFrequency(code.frequency); });
    }
    int lines = 0;
    for (const char *line = utf8;; ++lines) {
        const char *lineEnd = std::find(line, end, '\n');
        if (lines >= MaximumCodes || !isPlainCodeLine(line, lineEnd))
            return false;
        if (lineEnd == end)
            return true;
        line = lineEnd + 1;
    }
}

QByteArray WordRecord::repairedStoredCodes(const QByteArray &utf8, QString *what)
{
    QStringList done;
    QList<CodeRecord> codes;
    int unreadable = 0;
    for (const QString &line : QString::fromUtf8(utf8).split(QLatin1Char('\n'))) {
        CodeRecord code;
        if (!decodeCodeLine(line, &code)) {
            ++unreadable;
            continue;
        }
        if (!isAcceptableFrequency(code.frequency)) {
            const QString repaired = repairedFrequency(code.frequency);
            done << QStringLiteral("the frequency \"%1\" became %2")
                        .arg(code.frequency.size() > 20 ? code.frequency.left(20) + QStringLiteral("...")
                                                        : code.frequency,
                             repaired);
            code.frequency = repaired;
        }
        codes << code;
    }
    if (unreadable > 0)
        done << QStringLiteral("%1 grammar code(s) that could not be read were left out").arg(unreadable);
    if (codes.size() > MaximumCodes) {
        done << QStringLiteral("%1 grammar codes were cut to the %2 a word may have")
                    .arg(codes.size())
                    .arg(MaximumCodes);
        codes = codes.mid(0, MaximumCodes);
    }
    if (utf8.isEmpty() == false && !QByteArrayView(utf8).isValidUtf8())
        done << QStringLiteral("text that was not valid UTF-8 was replaced");
    *what = done.join(QStringLiteral("; "));
    return encodeCodes(codes);
}
