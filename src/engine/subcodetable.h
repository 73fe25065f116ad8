#pragma once

#include <QString>
#include <QStringList>

#include "prediction.h"

/// The engine's subcode vocabulary in one table, read by everything that offers or checks subcodes: the
/// subcodes of each part of speech in menu order, each with the label a menu shows, whether a menu puts a
/// separator before it, and which row of the part of speech's choice dialog offers it.
class PREDICTION_EXPORT SubcodeTable
{
public:
    struct Entry
    {
        const char *partOfSpeech;
        const char *code;
        /// The text of its menu entry ("&&" shows one "&").
        const char *label;
        bool separatorBefore;
        /// Its row in the choice dialog of its part of speech, from 1; 0 when the dialog does not offer it.
        int dialogRow;
        /// The same in the dialog for dictionaries with UK grammar, where there is one of its own.
        int ukDialogRow;
    };

    /// Every entry: the parts of speech one after the other, each in menu order.
    static const QList<Entry> &entries();
    /// The subcodes of partOfSpeech in menu order; empty for parts of speech without subcodes.
    static QStringList codes(const QString &partOfSpeech);
    /// The subcodes the choice dialog of partOfSpeech offers, top to bottom, in its UK twin when ukGrammar.
    static QStringList dialogCodes(const QString &partOfSpeech, bool ukGrammar);
};
