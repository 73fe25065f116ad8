#pragma once

#include <QDialog>
#include <QList>
#include <QString>
#include <QStringConverter>

#include "prediction.h"

#if defined(DICTIONARYEDITOR_LIBRARY)
#define DICTIONARYEDITOR_EXPORT Q_DECL_EXPORT
#else
#define DICTIONARYEDITOR_EXPORT Q_DECL_IMPORT
#endif

/// The exported face of the dictionary editor: hosts create a window through createEditor, steer it
/// through the virtual slots and hear back through signals (connected by signature, so that the
/// concrete window's own signals are found).
class QAction;

class DICTIONARYEDITOR_EXPORT DictionaryEditor : public QDialog
{
    Q_OBJECT

public:
    bool transferMode;
    DictionaryReference transferTarget;

    ~DictionaryEditor() override;

    /// Creates (without showing) an editor window on dictionary; the caller or parent owns it.
    static DictionaryEditor *createEditor(bool writable, QString word, DictionaryReference dictionary, QWidget *parent,
                                          Qt::WindowFlags flags, bool saveByHost);
    static bool userModel();

    /// The encoding of exported word lists for every window of the application: Latin-1 (a character
    /// outside it becomes "?") unless the host chooses another, as an application that sets its codec for
    /// 8-bit strings does.
    static void setExportEncoding(QStringConverter::Encoding encoding);
    static QStringConverter::Encoding exportEncoding();
    /// Text the host adds at the end of the help dialog, such as its keyboard shortcuts; empty by default.
    static void setHostHelp(const QString &text);
    static QString hostHelp();
    /// Advanced mode for the windows created from now on: their details panel is a plain GrammarPopUp,
    /// which also edits usages, instead of the user panel GrammarPopUpUser. Off by default.
    static void setAdvancedDetails(bool on);
    static bool advancedDetails();

    // The commands of the window for a host's own keys, menus and toolbars: each does what the window's
    // button of that name does (the window's by-name slots stay for hosts that invoke them).
    void save();
    void exportWords();
    void showHelp();
    /// Asks the host to test the dictionary (Test_Dictionary).
    void requestTest();
    /// Bigger (steps > 0) or smaller (steps < 0) font in the list, the word box and the details panel.
    void changeFontSize(int steps);
    void toggleMoreLess();
    /// Done: asks about unsaved changes and hides the window; false when the person cancelled.
    bool requestDone();
    /// Shows the host's actions on a toolbar above the window's controls, gives the window their
    /// shortcuts and offers them in its context menu. Can be called again with more actions.
    void addHostActions(const QList<QAction *> &actions);

    /// Kept for hosts written against the older translation API.
    static QString trUtf8(const char *sourceText, const char *disambiguation = nullptr, int n = -1)
    {
        return tr(sourceText, disambiguation, n);
    }

public slots:
    virtual void setWritable(bool writable);
    virtual void setTransferTo(DictionaryReference target);
    virtual void refreshList();
    virtual void updateWindowTitle();
    virtual void findWord(QString word);
    virtual void collapse(bool collapsed);

signals:
    void EditWindow_Activate(DictionaryReference d);
    void Save_Dictionary(DictionaryReference d);
    void Test_Dictionary(DictionaryReference d);

protected:
    explicit DictionaryEditor(QWidget *parent = nullptr, Qt::WindowFlags flags = Qt::WindowFlags());

    bool event(QEvent *event) override;
    void changeEvent(QEvent *event) override;
};
