#include "advanceddetails.h"

#include <QApplication>
#include <QEvent>
#include <QScrollBar>
#include <QTextBrowser>

#include "dicteditor.h"
#include "grammarpopupuser.h"

GrammarPopUp *AdvancedDetails::install(DictionaryEditor *window)
{
    auto *editor = qobject_cast<DictEditor *>(window);
    if (!editor || !editor->grammarPopUp)
        return nullptr;
    if (GrammarPopUp *existing = panelOf(window))
        return existing;
    auto *panel = new GrammarPopUp(editor->dictionary, editor->writable, editor);
    // A child of the window's own panel covering it: placed, shown, hidden and deleted along with it.
    panel->setParent(editor->grammarPopUp);
    panel->setGeometry(editor->grammarPopUp->rect());
    panel->show();
    new AdvancedDetails(editor, panel);
    return panel;
}

GrammarPopUp *AdvancedDetails::panelOf(const DictionaryEditor *window)
{
    const AdvancedDetails *follower = window ? window->findChild<AdvancedDetails *>() : nullptr;
    return follower ? follower->panel : nullptr;
}

void AdvancedDetails::installInEveryWindow()
{
    static AdvancedDetails *watcher = nullptr;
    if (watcher || !qApp)
        return;
    watcher = new AdvancedDetails(qApp);
    qApp->installEventFilter(watcher);
}

AdvancedDetails::AdvancedDetails(QObject *parent) : QObject(parent) {}

AdvancedDetails::AdvancedDetails(DictEditor *window, GrammarPopUp *panel)
    : QObject(panel), window(window), user(window->grammarPopUp), panel(panel)
{
    // The window hears from this panel's browser what it hears from its own.
    connect(panel->textBrowser, SIGNAL(announceContextChange(bool, bool, bool, bool)), window,
            SLOT(adaptToContext(bool, bool, bool, bool)));
    connect(panel->textBrowser, SIGNAL(alertFocusGone()), window, SLOT(grammarFocusLost()));
    connect(panel->textBrowser, &OurTextBrowser::announceContextChange, this, &AdvancedDetails::mirrorRegion);

    // Every rendering of the window's panel rewrites its word strip; the panel here follows once it is done.
    connect(user->WordNameBox, &QTextEdit::textChanged, this, &AdvancedDetails::scheduleFollow);
    // The window's panel starts its renders from this one's scroll position, and where a render of its
    // own leaves it (at the end after a code was added, further down after a usage was) this one follows.
    QScrollBar *userBar = user->textBrowser->verticalScrollBar();
    connect(panel->textBrowser->verticalScrollBar(), &QScrollBar::valueChanged, this, [this, userBar](int value) {
        passingOn = true;
        userBar->setValue(value);
        passingOn = false;
    });
    connect(userBar, &QScrollBar::valueChanged, this, [this](int value) {
        if (passingOn)
            return;
        userPosition = value;
        userScrolled = true;
    });

    user->installEventFilter(this);
    user->textBrowser->installEventFilter(this);
    user->WordNameBox->installEventFilter(this);
    panel->textBrowser->installEventFilter(this);
    panel->textBrowser->viewport()->installEventFilter(this);
    // The window gives its panel the focus after some commands; the covered browser never takes it.
    user->setFocusProxy(panel->textBrowser);
    user->textBrowser->setFocusPolicy(Qt::NoFocus);

    followedText = user->currentWord ? user->currentWord->text : QString();
    follow();
}

bool AdvancedDetails::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (!panel) {
        if (type == QEvent::Show) {
            if (auto *editor = qobject_cast<DictionaryEditor *>(watched))
                install(editor);
        }
        return false;
    }
    if (watched == user && type == QEvent::Resize) {
        panel->setGeometry(user->rect());
    } else if (type == QEvent::FontChange && watched == user->textBrowser) {
        panel->textBrowser->setFont(user->textBrowser->font()); // the window's font-size buttons
    } else if (type == QEvent::FontChange && watched == user->WordNameBox) {
        panel->WordNameBox->setFont(user->WordNameBox->font());
    } else if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease ||
               type == QEvent::MouseButtonDblClick || type == QEvent::KeyPress || type == QEvent::ContextMenu) {
        // The window announces no change of its writable flag, so the panel takes it whenever it is used.
        panel->setWritable(window->writable);
    }
    return false;
}

void AdvancedDetails::scheduleFollow()
{
    // The window's panel sets the shared last word text before it touches its word strip.
    followedText = GrammarPopUp::lastWordText;
    if (followPending)
        return;
    followPending = true;
    QMetaObject::invokeMethod(this, &AdvancedDetails::follow, Qt::QueuedConnection);
}

void AdvancedDetails::follow()
{
    followPending = false;
    const int position = userScrolled ? userPosition : user->textBrowser->verticalScrollBar()->value();
    userScrolled = false;
    panel->setWritable(window->writable);
    panel->displayWord(followedText, user->currentWord, 1);
    if (user->currentWord)
        panel->textBrowser->verticalScrollBar()->setValue(position);
}

void AdvancedDetails::mirrorRegion(bool, bool codeHere, bool, bool usageHere)
{
    TextRegion *region = panel->textBrowser->currentRegion;
    if (region && (codeHere || usageHere)) {
        clicked = *region;
        user->textBrowser->currentRegion = &clicked;
    } else {
        user->textBrowser->currentRegion = nullptr;
    }
}
