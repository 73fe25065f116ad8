#include "adjectiveselectiondlg.h"

#include "ui_adjectiveselectiondlg.h"

AdjectiveSelectionDlg::AdjectiveSelectionDlg(const QString &current, QWidget *parent)
    : RadioSelectionDlg(parent), ui(std::make_unique<Ui::AdjectiveSelectionDlgClass>())
{
    ui->setupUi(this);
    preselect(current, ui->buttonBox);
}

AdjectiveSelectionDlg::~AdjectiveSelectionDlg() = default;

QStringList AdjectiveSelectionDlg::codes() const
{
    return {QStringLiteral("reg"), QStringLiteral("reg, dbl"), QStringLiteral("absolute"),
            QStringLiteral("comparative"), QStringLiteral("superlative")};
}

void AdjectiveSelectionDlg::on_radioButton_3_toggled(bool checked)
{
    Q_UNUSED(checked)
}

void AdjectiveSelectionDlg::on_buttonBox_accepted()
{
    accept();
}

void AdjectiveSelectionDlg::on_buttonBox_rejected()
{
    reject();
}
