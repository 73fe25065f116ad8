#pragma once

#include <QByteArray>
#include <QString>

#include "prediction.h"
#include "sqlitedatabase.h"

/// Writes a whole new dictionary file: the schema, the settings and the rows go into a temporary file in
/// the target's folder, which takes the target's name only once complete, and never over an existing file.
class DictionaryWriter
{
public:
    /// The settings a dictionary file carries besides its words.
    struct Settings
    {
        QString displayName;
        Prediction::Variety variety = Prediction::American;
        bool ukGrammar = false;
        int letterGroupThreshold = Prediction::DefaultLetterGroupThreshold;
    };

    /// The file format this engine writes: 1 the first, 2 with one row per spelling enforced by an index.
    /// Files with a higher user_version are refused; lower ones are read and upgraded when saved.
    static const int SchemaVersion = 2;
    /// The statements that make the tables and index of an empty dictionary.
    static const char *schema();
    static const char *formatName();
    static QString varietyName(Prediction::Variety variety);
    static Prediction::Variety varietyFromName(const QString &name);

    explicit DictionaryWriter(const QString &targetPath);
    /// Removes the temporary file unless commit() put it in place.
    ~DictionaryWriter();
    DictionaryWriter(const DictionaryWriter &) = delete;
    DictionaryWriter &operator=(const DictionaryWriter &) = delete;

    /// Checks that the target may be created, then starts the temporary file. False with *error.
    bool begin(const Settings &settings, QString *error);
    /// Adds one word row; the codes in their stored form.
    bool add(const QString &text, int frequency, int kinds, const QByteArray &codes);
    /// Why the last add() failed (a full disk, ...).
    QString writeError() const;
    /// Completes the file and gives it the target's name. False with *error; nothing is left behind.
    bool commit(QString *error);

    /// Why a file cannot be created at path (it exists, its folder is missing or unwritable, the path is too
    /// long); empty when it can.
    static QString refusalToCreate(const QString &path);

private:
    QString failure(const QString &doing);

    QString m_target;
    QString m_temporary;
    int m_temporaryHold = -1; // holds an advisory lock on the temporary while this writer owns it
    SqliteDatabase m_db;
    SqliteStatement m_insert;
};
