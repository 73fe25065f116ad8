#pragma once

#include <QByteArray>
#include <QString>

#include "dictionarywriter.h"
#include "wordrecord.h"

class QIODevice;

/// The dump of a dictionary: UTF-8 text, one line each, of a header line, the settings ("name", "variety",
/// "uk-grammar", "letter-groups", each a key, a tab and a value), an empty line, then every word in display
/// order. A word line is the spelling, then a tab before each grammar code; a code is its fields separated by
/// "|": part of speech, subcode, frequency, expansion, adverb positions, then one field per usage holding its
/// complements, particles and prepositions separated by ";". Lists separate their codes with ",". In values,
/// "\" is written "\\", a tab "\t", a line break "\n", "," "\c", ";" "\s", "|" "\p", and an empty code "\e".
class DictionaryDump
{
public:
    static const char *headerLine();

    explicit DictionaryDump(QIODevice *device);

    bool writeHeader(const DictionaryWriter::Settings &settings);
    /// Writes one word, its codes in their stored form.
    bool writeWord(const QString &text, const QByteArray &storedCodes);
    bool flush();

    /// Reads the header and settings; false with *error naming the line.
    bool readHeader(QString *error);
    DictionaryWriter::Settings settings() const { return m_settings; }
    /// Reads the next word; false at the end (error left empty) or at a bad line (*error says which).
    bool readWord(WordRecord *record, QString *error);
    /// "line N: " for the line read last.
    QString where() const;

private:
    bool readLine(QString *line, QString *error);

    QIODevice *m_device;
    QByteArray m_buffer;
    int m_line = 0;
    DictionaryWriter::Settings m_settings;
};
