#include "nounselectiondlguk.h"

#include "subcodetable.h"
#include "ui_nounselectiondlguk.h"

NounSelectionDlgUK::NounSelectionDlgUK(const QString &current, QWidget *parent) : RadioSelectionDlg(parent)
{
    build(setUpForm<Ui::NounSelectionDlgUKClass>, SubcodeTable::dialogCodes(QStringLiteral("noun"), true), QString(),
          current);
}
