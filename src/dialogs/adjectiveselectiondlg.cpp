#include "adjectiveselectiondlg.h"

#include "ui_adjectiveselectiondlg.h"

AdjectiveSelectionDlg::AdjectiveSelectionDlg(const QString &current, QWidget *parent)
    : RadioSelectionDlg(parent), ui(std::make_unique<Ui::AdjectiveSelectionDlgClass>())
{
    ui->setupUi(this);
    preselect(current, ui->buttonBox);
}

AdjectiveSelectionDlg::~AdjectiveSelectionDlg() = default;

QVector<RadioSelectionDlg::Choice> AdjectiveSelectionDlg::choices() const
{
    return {
        {ui->radioButton, QStringLiteral("reg"), QStringLiteral("reg")},
        {ui->radioButton_2, QStringLiteral("reg, dbl"), QStringLiteral("reg, dbl")},
        {ui->radioButton_3, QStringLiteral("absolute"), QStringLiteral("absolute")},
        {ui->radioButton_4, QStringLiteral("comparative"), QStringLiteral("comparative")},
        {ui->radioButton_5, QStringLiteral("superlative"), QStringLiteral("superlative")},
    };
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
