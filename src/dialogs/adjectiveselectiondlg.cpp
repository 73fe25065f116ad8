#include "adjectiveselectiondlg.h"

#include "subcodetable.h"
#include "ui_adjectiveselectiondlg.h"

AdjectiveSelectionDlg::AdjectiveSelectionDlg(const QString &current, QWidget *parent) : RadioSelectionDlg(parent)
{
    build(setUpForm<Ui::AdjectiveSelectionDlgClass>, SubcodeTable::dialogCodes(QStringLiteral("adj."), false),
          QString(), current);
}

void AdjectiveSelectionDlg::on_radioButton_3_toggled(bool checked)
{
    Q_UNUSED(checked)
}
