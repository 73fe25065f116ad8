#pragma once

#include <QString>

#include "prediction.h"

/// Types a text as a person using prediction would, and counts the keys: each word is typed letter by letter
/// until it is among the words offered, then picked with one key, which enters it with the space after it
/// (as the prediction window does); every other space, line break and punctuation mark is a key. Words are matched
/// ignoring case, as the window offers a word in the case it is begun. Keystroke savings = 1 - keys / characters, the
/// usual measure of word prediction. As word prediction does for a writer, a word offered at one key of a word
/// and not picked is not offered again at its later keys: the writer has seen it is not the word meant. (The
/// prediction test window shows the full ranking at every key instead, to let the dictionary be judged.)
class PREDICTION_EXPORT TypingSimulation
{
public:
    struct Result
    {
        qint64 characters = 0;
        qint64 keys = 0;
        int words = 0;
        /// Words offered before their first letter was typed.
        int foundBeforeTyping = 0;
        /// 1 - keys / characters, as a percentage.
        double savings() const;
        /// foundBeforeTyping / words, as a percentage.
        double foundBeforeTypingShare() const;
    };

    /// Types text into dictionary with offers words offered at each key; useContext false ranks by
    /// frequency alone.
    static Result run(Dictionary *dictionary, const QString &text, int offers, bool useContext = true);
};
