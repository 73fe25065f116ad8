#pragma once

#include <QFont>
#include <QStringList>
#include <QUrl>
#include <QWidget>
#include <memory>

#include "prediction.h"

class MenusOnly;
class OurTextBrowser;
class QResizeEvent;
class QTextBrowser;

namespace Ui {
class GrammarPopUpClass;
}

/// The word details panel: renders a word's grammar codes as HTML whose links name the code, usage
/// and field they stand for, and records one text region per code and per usage in its browser.
class GrammarPopUp : public QWidget
{
    Q_OBJECT
public:
    GrammarPopUp(DictionaryReference dictionary, bool writable, QWidget *editor);
    ~GrammarPopUp() override;

    void setWritable(bool writable);
    /// Renders word (null clears the panel). scrollMode: 1 keeps the scroll position, 0 scrolls to the
    /// end, -1 scrolls one grammar code further down.
    void displayWord(const QString &text, Word *word, int scrollMode);

    QString formatLine(const QString &family, unsigned indent, int size, const QString &colour, bool bold,
                       const QString &text) const;
    void appendFormattedLine(const QString &family, unsigned indent, int size, const QString &colour, bool bold,
                             const QString &text);
    void appendFrequencyLine(int codeIndex, const QString &frequency);

    /// Hands the deletion of grammar code codeIndex of the word shown to the editor window, which asks first.
    void requestCodeDeletion(int codeIndex);
    /// Asks whether a usage may be removed; true after OK.
    static bool confirmUsageDeletion();

    /// Replaces every "%number" (not followed by another digit) in text by value; value itself is not rescanned.
    static QString fillPlaceholder(const QString &text, int number, const QString &value);

    /// The text of the word most recently rendered by any panel of the process.
    static QString lastWordText;

    OurTextBrowser *textBrowser;
    QTextBrowser *WordNameBox;
    int nameBoxHeight;
    QWidget *editor;
    Word *currentWord;
    MenusOnly *menus;
    DictionaryReference dictionary;
    bool writable;
    QFont codeFont;
    QFont frequencyFont;
    QFont wordFont;
    QFont exampleFont;
    QFont patternFont;

signals:
    /// Asks the editor window to delete grammar code codeIndex of word, once the person has agreed.
    void codeDeletionRequested(Word *word, int codeIndex);
    /// Asks the editor window to add a grammar code to its current word.
    void codeAdditionRequested();

public slots:
    virtual QStringList formatExampleLines(const QStringList &labels, const QStringList &templates);
    virtual QStringList formatPatternLines(const QStringList &patterns, const QString &particles,
                                           const QString &prepositions, int codeIndex, int usageIndex);
    virtual void appendUsageHeading(int usageIndex, int codeIndex, const QString &complementName);
    virtual void on_textBrowser_customContextMenuRequested(const QPoint &pos);
    virtual void on_textBrowser_anchorClicked(const QUrl &url);

protected:
    void resizeEvent(QResizeEvent *event) override;

    /// The pattern lines with the given particles and prepositions pieces put in for "1" and a lone "2".
    QStringList buildPatternLines(const QStringList &patterns, const QString &particlesPiece,
                                  const QString &prepositionsPiece);
    /// Lets the user tick where an adverb may stand and stores the ticked codes in table order.
    void editAdverbPositions(CodeList *positions);

    /// The line marker: a template's own line breaks become this before any HTML is put in.
    static const QString lineMarker;

private:
    /// The editing a link of the advanced panel opens, on grammar code code of the word shown.
    void editField(const QString &anchor, int codeIndex, int usageIndex, GCode *code);
    void editSubcode(int codeIndex, GCode *code);
    void editUsageList(const QString &anchor, GCode *code, Usage *usage);

    std::unique_ptr<Ui::GrammarPopUpClass> ui;
};
