#include "helpdlg.h"

#include "ui_helpdlg.h"

HelpDlg::HelpDlg(QWidget *parent) : QDialog(parent), ui(std::make_unique<Ui::HelpDlgClass>())
{
    ui->setupUi(this);
}

HelpDlg::~HelpDlg() = default;

void HelpDlg::on_OkButton_clicked()
{
    close();
}
