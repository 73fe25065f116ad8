#pragma once

#include "grammarpopup.h"

/// The details panel the editor window shows: usages without links, and links that open the grammar
/// choice dialogs or the frequency menu and write the choice into the engine.
class GrammarPopUpUser : public GrammarPopUp
{
    Q_OBJECT
public:
    GrammarPopUpUser(DictionaryReference dictionary, bool writable, QWidget *editor);

public slots:
    QStringList formatExampleLines(const QStringList &labels, const QStringList &templates) override;
    QStringList formatPatternLines(const QStringList &patterns, const QString &particles, const QString &prepositions,
                                   int codeIndex, int usageIndex) override;
    void appendUsageHeading(int usageIndex, int codeIndex, const QString &complementName) override;
    void on_textBrowser_customContextMenuRequested(const QPoint &pos) override;
    void on_textBrowser_anchorClicked(const QUrl &url) override;
};
