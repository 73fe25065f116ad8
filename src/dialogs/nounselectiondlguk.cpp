#include "nounselectiondlguk.h"

#include "nounselectiondlg.h"
#include "ui_nounselectiondlguk.h"

NounSelectionDlgUK::NounSelectionDlgUK(const QString &current, QWidget *parent)
    : RadioSelectionDlg(parent), ui(std::make_unique<Ui::NounSelectionDlgUKClass>())
{
    ui->setupUi(this);
    preselect(current, ui->buttonBox);
}

NounSelectionDlgUK::~NounSelectionDlgUK() = default;

QStringList NounSelectionDlgUK::codes() const
{
    return NounSelectionDlg::codeTable() << QStringLiteral("group");
}

void NounSelectionDlgUK::on_buttonBox_accepted()
{
    accept();
}

void NounSelectionDlgUK::on_buttonBox_rejected()
{
    reject();
}
