#pragma once

#include <QList>
#include <QModelIndex>
#include <QRect>
#include <QString>
#include <QStringList>
#include <memory>

#include "dictionaryeditor.h"

namespace Ui {
class DictEditor;
}
class GrammarPopUp;
class QAction;
class GrammarPopUpUser;
class QListWidgetItem;
class QToolBar;

/// The editor window: the word list with its filters, the word box, the word, grammar and file
/// commands, and the word details panel laid over the right-hand side.
class DICTIONARYEDITOR_EXPORT DictEditor : public DictionaryEditor
{
    Q_OBJECT

public:
    DictEditor(bool writable, QString word, DictionaryReference dictionary, QWidget *parent = nullptr,
               Qt::WindowFlags flags = Qt::WindowFlags(), bool saveByHost = false);
    ~DictEditor() override;

    std::unique_ptr<Ui::DictEditor> ui;
    Word *currentWord;
    DictionaryReference dictionary;
    bool saveByHost;
    bool writable;
    /// The user panel; null in advanced mode, where the window builds a plain GrammarPopUp instead.
    GrammarPopUpUser *grammarPopUp;
    /// The details panel the window shows and drives: grammarPopUp, or the advanced panel.
    GrammarPopUp *detailsPanel;
    QRect expandedRect;
    QRect collapsedRect;
    QString grammarMode;

    /// Shared by every editor window of the process: while set, the word box's change handling
    /// returns at once; inTextChanged keeps that handling from re-entering itself.
    static bool suppressTextChanged;
    static bool inTextChanged;

    void setWritable(bool writable) override;
    void setTransferTo(DictionaryReference target) override;
    void refreshList() override;
    void updateWindowTitle() override;
    void findWord(QString word) override;
    void collapse(bool collapsed) override;

    // The routines through which every command brings the list, the word box and the details panel into line.
    void showWord(const QString &text, int scrollMode);
    void syncWithWordBox();
    void ensureDetailsShown();

signals:
    void textChanging(QString d);
    void EditWindow_Activate(DictionaryReference d);
    void EditWindow_Close(DictionaryReference d);
    void Save_Dictionary(DictionaryReference d);
    void Test_Dictionary(DictionaryReference d);
    void UserWantsToolkit(DictionaryReference d);
    void DictionaryChanged();

public slots:
    void adaptToContext(bool addCode, bool codeHere, bool addUsage, bool usageHere);
    void grammarFocusLost();
    void scrollTheList(int key);
    void DeleteThisGCode(int ix);
    void on_addGrammarButton_clicked();

private slots:
    void on_ToolkitButton_clicked();
    void gottaTab();
    void gottaChange(QString text);
    void on_TestButton_clicked(bool checked);
    void on_SaveButton_clicked(bool checked);
    void on_FilterLIst_currentIndexChanged(QString rule);
    void on_changeButton_clicked();
    void on_MaxFreq_valueChanged(int value);
    void on_MinFreq_valueChanged(int value);
    void on_SmallerButton_clicked();
    void on_BiggerButton_clicked();
    void on_lineEdit_textChanged();
    void on_listWidget_itemSelectionChanged();
    void on_deleteUsageButton_clicked();
    void on_addUsageButton_clicked();
    void on_DeleteGrammarButton_clicked();
    void on_DeleteWordButton_clicked();
    void on_AddWordButton_clicked();
    void on_listWidget_clicked(QModelIndex index);
    void on_BasicGrammarButton_clicked();
    void on_AdvancedGrammarButton_clicked();
    void on_DoneButton_clicked();
    void on_HelpButton_clicked();
    void on_ExportWordButton_clicked();
    void on_MoreLessButton_clicked();

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // The host interface of DictionaryEditor runs the window's own command slots.
    friend class DictionaryEditor;

    /// Clears the list and inserts words at row 0 in one call.
    void refill(const QStringList &words);
    void clampRow(int row);
    /// The list's first item that begins with text, ignoring case, exactly as
    /// QListWidget::findItems(text, Qt::MatchStartsWith | Qt::MatchWrap) would return it first.
    QListWidgetItem *firstItemStartingWith(const QString &text);
    /// The grammar commands' common precondition: writable, a current item, a word the engine knows
    /// (which becomes currentWord).
    bool lookUpCurrentWord();
    void saveSteps();
    /// The Done steps; false when the person cancelled and the window stays open.
    bool leave();
    /// Where the details panel lies: over GrammarFrame, in the window's coordinates.
    QRect detailsArea() const;
    /// Names the More/Less button for what it does in the window's present state.
    void announceMoreLess(bool expanded);

    /// Puts the host's actions on a toolbar above the form, on the window's keys and in its context menu.
    void installHostActions(const QList<QAction *> &actions);

    QToolBar *hostBar = nullptr;

    // A copy of the list's texts, kept while it is known to match the list, and whether it is in
    // case-insensitive order (then a prefix is found by binary search instead of a scan of the items).
    QStringList listedWords;
    bool listedWordsValid = false;
    bool listedWordsSorted = false;
};
