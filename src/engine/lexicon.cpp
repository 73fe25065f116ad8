#include "lexicon.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QtEndian>

#include <cstring>
#include <dlfcn.h>

#include "wordorder.h"

namespace {

const char magic[8] = {'L', 'X', 'L', 'E', 'X', '1', '\0', '\0'};
constexpr int headerSize = 12;

QByteArray encodeForms(const Lexicon::Entry &e)
{
    QList<QByteArray> items;
    const QPair<const char *, QString> forms[] = {
        {"past", e.past}, {"pp", e.participle}, {"pl", e.plural}, {"cmp", e.comparative}, {"sup", e.superlative}};
    for (const auto &f : forms) {
        if (!f.second.isEmpty())
            items << QByteArray(f.first) + '=' + f.second.toUtf8();
    }
    if (e.frequency > 0)
        items << "f=" + QByteArray::number(e.frequency);
    return items.join(';');
}

} // namespace

Lexicon::Lexicon(const QString &path)
{
    load(path);
}

QString Lexicon::dataFile(const QString &name)
{
    // Installed, the data lies in the data folder of the prefix the engine was installed in; in the build
    // tree, in the data folder beside the library's and programs' folders. Nothing names the build tree itself.
    static const QStringList folders = [] {
        QStringList folders;
        Dl_info info;
        if (dladdr(reinterpret_cast<const void *>(&Lexicon::shared), &info) && info.dli_fname) {
            const QString libraryFolder = QFileInfo(QFile::decodeName(info.dli_fname)).absolutePath();
            folders << libraryFolder + QStringLiteral("/" LEXORA_LIBRARY_TO_DATA)
                    << libraryFolder + QStringLiteral("/../data");
        }
        if (QCoreApplication::instance()) {
            const QString programFolder = QCoreApplication::applicationDirPath();
            folders << programFolder + QStringLiteral("/" LEXORA_PROGRAM_TO_DATA)
                    << programFolder + QStringLiteral("/../data");
        }
        return folders;
    }();
    for (const QString &folder : folders) {
        const QString path = folder + QLatin1Char('/') + name;
        if (QFileInfo(path).isFile())
            return path;
    }
    return QString();
}

const Lexicon &Lexicon::shared()
{
    static const Lexicon lexicon(dataFile(QStringLiteral("lexicon.dat")));
    return lexicon;
}

bool Lexicon::load(const QString &path)
{
    m_data.clear();
    m_count = 0;
    m_offsets = m_records = nullptr;
    m_path.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QByteArray data = file.readAll();
    if (data.size() < headerSize || std::memcmp(data.constData(), magic, sizeof magic) != 0)
        return false;
    const quint32 count = qFromLittleEndian<quint32>(data.constData() + 8);
    const qint64 tableEnd = headerSize + qint64(count) * 4;
    if (tableEnd > data.size())
        return false;
    const qint64 recordsSize = data.size() - tableEnd;
    // Every offset must point inside the record area, or a damaged file could send a lookup astray.
    for (quint32 i = 0; i < count; ++i) {
        if (qFromLittleEndian<quint32>(data.constData() + headerSize + i * 4) >= recordsSize)
            return false;
    }
    // Records are text ending in a line feed; anything else is a damaged file.
    if (count > 0 && data.at(data.size() - 1) != '\n')
        return false;
    if (std::memchr(data.constData() + tableEnd, '\0', size_t(recordsSize)))
        return false;
    m_data = data;
    m_count = count;
    m_offsets = m_data.constData() + headerSize;
    m_records = m_data.constData() + tableEnd;
    m_path = path;
    return true;
}

QByteArray Lexicon::recordKey(quint32 index) const
{
    const char *start = m_records + qFromLittleEndian<quint32>(m_offsets + index * 4);
    const char *end = start;
    while (*end != '\t' && *end != '\n') // the record area ends with a line feed
        ++end;
    return QByteArray::fromRawData(start, int(end - start));
}

bool Lexicon::lookup(const QString &word, Entry *entry) const
{
    if (m_count == 0 || word.isEmpty())
        return false;
    if (lookupSpelling(word, entry))
        return true;
    // Loanwords are listed as English spells them most often, without their accents.
    const QString plain = WordOrder::withoutAccents(word);
    return plain != word && lookupSpelling(plain, entry);
}

bool Lexicon::lookupSpelling(const QString &word, Entry *entry) const
{
    const QByteArray key = word.toUtf8();
    quint32 low = 0;
    quint32 high = m_count;
    while (low < high) {
        const quint32 mid = low + (high - low) / 2;
        const QByteArray k = recordKey(mid);
        const int cmp = std::memcmp(k.constData(), key.constData(), size_t(qMin(k.size(), key.size())));
        if (cmp < 0 || (cmp == 0 && k.size() < key.size())) {
            low = mid + 1;
        } else if (cmp > 0 || k.size() > key.size()) {
            high = mid;
        } else {
            if (!entry)
                return true;
            const char *start = k.constData();
            const char *dataEnd = m_data.constData() + m_data.size();
            const char *end = static_cast<const char *>(std::memchr(start, '\n', size_t(dataEnd - start)));
            const QList<QByteArray> fields = QByteArray::fromRawData(start, int(end - start)).split('\t');
            *entry = Entry();
            if (fields.size() > 1) {
                for (const QByteArray &item : fields.at(1).split(';')) {
                    const QList<QByteArray> parts = item.split('|');
                    if (parts.size() != 3)
                        continue;
                    entry->codes.append({QString::fromUtf8(parts.at(0)), QString::fromUtf8(parts.at(1)),
                                         qBound(1, parts.at(2).toInt(), 31)});
                }
            }
            if (fields.size() > 2) {
                for (const QByteArray &item : fields.at(2).split(';')) {
                    const int eq = item.indexOf('=');
                    if (eq < 0)
                        continue;
                    const QByteArray name = item.left(eq);
                    const QString value = QString::fromUtf8(item.mid(eq + 1));
                    if (name == "past")
                        entry->past = value;
                    else if (name == "pp")
                        entry->participle = value;
                    else if (name == "pl")
                        entry->plural = value;
                    else if (name == "cmp")
                        entry->comparative = value;
                    else if (name == "sup")
                        entry->superlative = value;
                    else if (name == "f")
                        entry->frequency = qBound(0, value.toInt(), 31);
                }
            }
            return true;
        }
    }
    return false;
}

bool Lexicon::write(const QString &path, const QMap<QString, Entry> &entries, QString *error)
{
    // Sort by UTF-8 bytes, the order lookup() searches in.
    QMap<QByteArray, QByteArray> records;
    for (auto it = entries.constBegin(); it != entries.constEnd(); ++it) {
        const QByteArray word = it.key().toUtf8();
        if (word.isEmpty() || word.contains('\t') || word.contains('\n'))
            continue;
        QList<QByteArray> codes;
        for (const Code &c : it->codes)
            codes << c.partOfSpeech.toUtf8() + '|' + c.subcode.toUtf8() + '|' + QByteArray::number(c.frequency);
        records.insert(word, word + '\t' + codes.join(';') + '\t' + encodeForms(*it) + '\n');
    }
    QByteArray offsets;
    QByteArray blob;
    for (const QByteArray &record : std::as_const(records)) {
        char buffer[4];
        qToLittleEndian<quint32>(quint32(blob.size()), buffer);
        offsets.append(buffer, 4);
        blob.append(record);
    }
    char count[4];
    qToLittleEndian<quint32>(quint32(records.size()), count);

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    file.write(magic, sizeof magic);
    file.write(count, 4);
    file.write(offsets);
    file.write(blob);
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}
