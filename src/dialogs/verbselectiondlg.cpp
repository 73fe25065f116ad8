#include "verbselectiondlg.h"

#include "subcodetable.h"
#include "ui_verbselectiondlg.h"

VerbSelectionDlg::VerbSelectionDlg(const QString &current, QWidget *parent) : RadioSelectionDlg(parent)
{
    build(setUpForm<Ui::VerbSelectionDlgClass>, SubcodeTable::dialogCodes(QStringLiteral("verb"), false), QString(),
          current);
}
