#pragma once

#include <QDialog>
#include <QStringList>
#include <QTimer>

#include "prediction.h"

class QLineEdit;
class QTreeWidget;

/// Shows what prediction offers from one dictionary while the person types: a line to type in and, below
/// it, the words offered for the word being typed, best first (the listed frequency, then alphabetical),
/// with their parts of speech. It follows edits made to the dictionary and closes with Escape.
class PredictionTestWindow : public QDialog
{
    Q_OBJECT
public:
    /// How many words are offered at a time.
    static const int offerCount = 10;

    explicit PredictionTestWindow(DictionaryReference dictionary, QWidget *parent = nullptr);
    ~PredictionTestWindow() override;

    DictionaryReference dictionary() const { return m_dictionary; }
    /// The beginning of the word being typed: what follows the last character of the line that is not part
    /// of a word (a letter, digit, apostrophe or hyphen).
    QString wordBeingTyped() const;
    /// The offers shown, best first, each as "word<TAB>frequency<TAB>parts of speech".
    QStringList offers() const;

public slots:
    /// Offers again for the line as it is, from the dictionary as it is now.
    void refresh();

private:
    void refreshIfChanged();

    DictionaryReference m_dictionary;
    QLineEdit *m_line;
    QTreeWidget *m_offers;
    QTimer m_watch;
    quint64 m_shownRevision = 0;
};
