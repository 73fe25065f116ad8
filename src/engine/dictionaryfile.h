#pragma once

#include <QString>
#include <vector>

#include "prediction.h"

class SqliteDatabase;
struct DictionaryContent;
struct WordEntry;

/// The file side of a dictionary: whether a path holds a dictionary, opening its SQLite connection with the
/// integrity check, reading its settings and rows (repairing what a damaged or hand-edited file gets wrong),
/// and the thorough check of lexora-dict.
class DictionaryFile
{
public:
    /// A short wait for another program's lock: long enough for its save to finish, short enough not to hang.
    static const int BusyTimeoutMs = 1500;

    /// Whether path can be a dictionary (a regular file, readable, the header and size of an SQLite file);
    /// *readOnly tells whether it may be written. False with *error, and *damaged set when the file is a
    /// dictionary cut short rather than no dictionary at all.
    static bool checkFile(const QString &path, bool *readOnly, QString *error, bool *damaged = nullptr);
    /// Opens the connection and checks every page cheaply. False with *error, naming lexora-dict check for a
    /// damaged file.
    static bool openDatabase(const QString &path, SqliteDatabase *db, bool readOnly, QString *error);
    /// Reads the settings and rows into content; *dataVersion is SQLite's record of the file's state.
    static bool load(const QString &path, SqliteDatabase *db, DictionaryContent *content, qint64 *dataVersion,
                     QString *error);
    /// The slow check of every page and index; undoes an interrupted save when the file is writable. Fills
    /// result->problems; *interrupted tells whether a save had been interrupted.
    static bool checkIntegrity(const QString &path, DictionaryCheck *result, bool *interrupted);

    /// True when an interrupted save left its journal beside the file.
    static bool hasHotJournal(const QString &path);
    /// True when both paths name one file, through any link.
    static bool sameFile(const QString &a, const QString &b);

private:
    static bool quickCheck(const QString &path, SqliteDatabase *db, QString *error);
    static void addNote(DictionaryContent *content, const QString &note);
    static void repairCodes(DictionaryContent *content, WordEntry *entry, qint64 stored);
    static void repairSpelling(DictionaryContent *content, WordEntry *entry);
    static void mergeDuplicates(DictionaryContent *content, const std::vector<WordEntry *> &duplicates);
};
