#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include "prediction.h"

/// A dictionary in a fresh temporary folder, built from a few lines of text and saved, so that a
/// test starts on a clean (not dirty) dictionary. Each line is a word, optionally followed by a tab
/// and its grammar codes separated by ";". A code is "partOfSpeech/subcode/frequency", optionally
/// followed by "/" and usages separated by "|", a usage being "complements:particles:prepositions"
/// with "," between codes:
///
///     TempDictionary dict({"about\tadv./-/20", "call\tverb/reg/18/Tn:up:|Ipr::about,for", "Abbey"});
///
/// A line without codes gives a word with no grammar codes at all.
class TempDictionary
{
public:
    explicit TempDictionary(const QStringList &lines, Prediction::Variety variety = Prediction::American,
                            const QString &displayName = QStringLiteral("Test"));

    DictionaryReference reference() const { return m_reference; }
    Dictionary *operator->() const { return m_reference.get(); }
    QString path() const { return m_path; }
    QString folder() const { return m_dir.path(); }
    /// Lets go of the test's own handle, so that the dictionary closes (and frees its editing lock) once
    /// nothing else holds it.
    void release() { m_reference = DictionaryReference(); }
    /// Empty when the dictionary was built and saved; otherwise what went wrong.
    QString error() const { return m_error; }

    /// Every field of a word, flattened so that two words can be compared in one QCOMPARE.
    static QStringList describe(const Word *word);

    /// Applies a line of the form above to an open dictionary (adds the word or replaces its codes).
    static Word *applyLine(Dictionary *dictionary, const QString &line);

private:
    QTemporaryDir m_dir;
    QString m_path;
    QString m_error;
    DictionaryReference m_reference;
};
