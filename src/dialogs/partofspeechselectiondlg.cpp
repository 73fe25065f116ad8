#include "partofspeechselectiondlg.h"

#include "ui_partofspeechselectiondlg.h"

PartOfSpeechSelectionDlg::PartOfSpeechSelectionDlg(const QString &current, QWidget *parent) : RadioSelectionDlg(parent)
{
    build(setUpForm<Ui::PartOfSpeechSelectionDlgClass>,
          {QStringLiteral("name"), QStringLiteral("noun"), QStringLiteral("verb"), QStringLiteral("adj."),
           QStringLiteral("adv."), QStringLiteral("new")},
          tr("Select Part of Speech"), current);
}
