#include "dictionaryopener.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

const char personalFileName[] = "personal.dict";

// Write permission in the folder's mode bits is required as well, even for a user whom the system would let
// through, so that a folder marked read-only is treated as such by everyone (as the engine's save does).
bool folderIsWritable(const QString &folder)
{
    const QFileInfo info(folder);
    const QFile::Permissions writeBits = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    return info.isDir() && info.isWritable() && (info.permissions() & writeBits);
}

} // namespace

DictionaryOpener::DictionaryOpener() = default;

DictionaryOpener::~DictionaryOpener() = default;

QString DictionaryOpener::sampleDictionary()
{
    // Installed, the sample lies in the data folder of the program's prefix; in the build tree, in the data
    // folder beside the programs' folder.
    const QString programFolder = QCoreApplication::applicationDirPath();
    const QStringList candidates = {programFolder + QStringLiteral("/" LEXORA_PROGRAM_TO_DATA "/"),
                                    programFolder + QStringLiteral("/../data/")};
    for (const QString &folder : candidates) {
        const QFileInfo candidate(folder + QLatin1String(personalFileName));
        if (candidate.isFile())
            return candidate.absoluteFilePath();
    }
    return QString();
}

QString DictionaryOpener::personalDictionary(QString *error)
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (folder.isEmpty()) {
        *error = QObject::tr("There is no folder for application data on this system, so your own dictionary "
                             "cannot be kept. Name a dictionary file on the command line instead.");
        return QString();
    }
    if (!QDir().mkpath(folder) || !folderIsWritable(folder)) {
        *error = QObject::tr("The data folder \"%1\" cannot be created or written to, so your own dictionary cannot "
                             "be kept there. Make the folder writable, or name a dictionary file on the command line.")
                     .arg(QDir::toNativeSeparators(folder));
        return QString();
    }
    const QString path = QDir(folder).filePath(QLatin1String(personalFileName));
    if (QFileInfo::exists(path))
        return path;

    const QString sample = sampleDictionary();
    if (!sample.isEmpty()) {
        // The engine writes the copy whole or not at all, so an interrupted copy never passes for the dictionary.
        QString reason;
        DictionaryReference original = Prediction::openDictionary(sample, &reason);
        if (original != 0 && original->saveCopy(path, &reason))
            return path;
        *error = QObject::tr("The sample dictionary \"%1\" could not be copied to \"%2\": %3")
                     .arg(QDir::toNativeSeparators(sample), QDir::toNativeSeparators(path), reason);
        return QString();
    }

    QString reason;
    DictionaryReference created =
        Prediction::createDictionary(path, QStringLiteral("Personal"), Prediction::American, &reason);
    if (created == 0) {
        *error = QObject::tr("Your own dictionary \"%1\" could not be created: %2")
                     .arg(QDir::toNativeSeparators(path), reason);
        return QString();
    }
    return path;
}

DictionaryReference DictionaryOpener::open(const QString &path, bool forEditing, QString *error)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        *error = QObject::tr("The dictionary \"%1\" does not exist.").arg(QDir::toNativeSeparators(path));
        return DictionaryReference();
    }
    if (!info.isFile()) {
        *error = QObject::tr("\"%1\" is not a dictionary file.").arg(QDir::toNativeSeparators(path));
        return DictionaryReference();
    }
    if (forEditing && !folderIsWritable(info.absolutePath())) {
        *error = QObject::tr("The folder \"%1\" cannot be written to, so the dictionary \"%2\" cannot be opened "
                             "for editing. Make the folder writable, or open the dictionary with --read-only.")
                     .arg(QDir::toNativeSeparators(info.absolutePath()), QDir::toNativeSeparators(path));
        return DictionaryReference();
    }
    QString reason;
    DictionaryReference dictionary = Prediction::openDictionary(info.canonicalFilePath(), &reason);
    if (dictionary == 0) {
        *error =
            QObject::tr("The dictionary \"%1\" could not be opened: %2").arg(QDir::toNativeSeparators(path), reason);
        return dictionary;
    }
    if (forEditing) {
        if (!dictionary->lockForEditing(&reason)) {
            *error = reason + QLatin1Char(' ') + QObject::tr("Or open it here with --read-only.");
            return DictionaryReference();
        }
        m_locked.push_back(dictionary);
    }
    return dictionary;
}
