#include "changedlg.h"

#include <QPushButton>

#include "ui_changedlg.h"

ChangeDlg::ChangeDlg(QWidget *parent, const QString &oldSpelling)
    : QDialog(parent), ui(std::make_unique<Ui::ChangeDlgClass>())
{
    ui->setupUi(this);
    ui->newBox->setText(oldSpelling);
    ui->originalBox->setText(oldSpelling);
    ui->buttonBox->button(QDialogButtonBox::Ok)->setDefault(true);
}

ChangeDlg::~ChangeDlg() = default;

void ChangeDlg::on_buttonBox_accepted()
{
    accept();
}

void ChangeDlg::on_buttonBox_rejected()
{
    reject();
}
