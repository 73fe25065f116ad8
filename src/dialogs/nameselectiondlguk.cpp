#include "nameselectiondlguk.h"

#include "subcodetable.h"
#include "ui_nameselectiondlguk.h"

NameSelectionDlgUK::NameSelectionDlgUK(const QString &current, QWidget *parent) : RadioSelectionDlg(parent)
{
    build(setUpForm<Ui::NameSelectionDlgUKClass>, SubcodeTable::dialogCodes(QStringLiteral("name"), true), QString(),
          current);
}
