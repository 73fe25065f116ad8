#include "nameselectiondlg.h"

#include "subcodetable.h"
#include "ui_nameselectiondlg.h"

NameSelectionDlg::NameSelectionDlg(const QString &current, QWidget *parent) : RadioSelectionDlg(parent)
{
    build(setUpForm<Ui::NameSelectionDlgClass>, SubcodeTable::dialogCodes(QStringLiteral("name"), false), QString(),
          current);
}
