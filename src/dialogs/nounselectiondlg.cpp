#include "nounselectiondlg.h"

#include "subcodetable.h"
#include "ui_nounselectiondlg.h"

NounSelectionDlg::NounSelectionDlg(const QString &current, QWidget *parent) : RadioSelectionDlg(parent)
{
    build(setUpForm<Ui::NounSelectionDlgClass>, SubcodeTable::dialogCodes(QStringLiteral("noun"), false),
          tr("Select Noun Type"), current);
}
