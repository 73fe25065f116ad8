#include "adverbselectiondlg.h"

#include <QPushButton>

#include "ui_adverbselectiondlg.h"

AdverbSelectionDlg::AdverbSelectionDlg(QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::AdverbSelectionDlgClass>())
{
    setWindowFlags(Qt::Window | Qt::WindowTitleHint);
    ui->setupUi(this);
    if (QPushButton *ok = ui->buttonBox->button(QDialogButtonBox::Ok))
        ok->setDefault(true);
}

AdverbSelectionDlg::~AdverbSelectionDlg() = default;

void AdverbSelectionDlg::on_buttonBox_accepted()
{
    accept();
}

void AdverbSelectionDlg::on_buttonBox_rejected()
{
    reject();
}
