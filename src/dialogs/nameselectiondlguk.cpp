#include "nameselectiondlguk.h"

#include "nameselectiondlg.h"
#include "ui_nameselectiondlguk.h"

NameSelectionDlgUK::NameSelectionDlgUK(const QString &current, QWidget *parent)
    : RadioSelectionDlg(parent), ui(std::make_unique<Ui::NameSelectionDlgUKClass>())
{
    ui->setupUi(this);
    preselect(current, ui->buttonBox);
}

NameSelectionDlgUK::~NameSelectionDlgUK() = default;

QStringList NameSelectionDlgUK::codes() const
{
    return NameSelectionDlg::codeTable() << QStringLiteral("City, etc");
}

void NameSelectionDlgUK::on_buttonBox_accepted()
{
    accept();
}

void NameSelectionDlgUK::on_buttonBox_rejected()
{
    reject();
}
