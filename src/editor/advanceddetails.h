#pragma once

#include <QObject>
#include <QString>

#include "dictionaryeditor.h"
#include "ourtextbrowser.h"

class DictEditor;
class GrammarPopUp;
class GrammarPopUpUser;

/// Advanced mode for an editor window: lays a plain GrammarPopUp, which also edits usages, over the
/// window's own details panel, shows it the word the window shows, keeps it writable exactly when the
/// window is, and lets it go with the window. The window itself is left as it is built.
class DICTIONARYEDITOR_EXPORT AdvancedDetails : public QObject
{
    Q_OBJECT
public:
    /// Gives window the advanced panel (once) and returns it; null when window is no editor window.
    static GrammarPopUp *install(DictionaryEditor *window);
    /// The advanced panel of window, or null when it has none.
    static GrammarPopUp *panelOf(const DictionaryEditor *window);
    /// From now on every editor window of the application gets the advanced panel as it is shown.
    static void installInEveryWindow();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    /// Watches the application for editor windows being shown (no window, no panel).
    explicit AdvancedDetails(QObject *parent);
    /// Keeps panel in step with window's own details panel.
    AdvancedDetails(DictEditor *window, GrammarPopUp *panel);

    void scheduleFollow();
    /// Renders in the advanced panel what the window last rendered in its own panel.
    void follow();
    /// Lets the window's grammar buttons act on the code or usage clicked in the advanced panel.
    void mirrorRegion(bool addCode, bool codeHere, bool addUsage, bool usageHere);

    DictEditor *window = nullptr;
    GrammarPopUpUser *user = nullptr;
    GrammarPopUp *panel = nullptr;
    QString followedText;
    bool followPending = false;
    // Where the window's panel scrolled itself, as against positions passed on to it from here.
    int userPosition = 0;
    bool userScrolled = false;
    bool passingOn = false;
    TextRegion clicked{};
};
