#include "verbselectiondlg.h"

#include "ui_verbselectiondlg.h"

VerbSelectionDlg::VerbSelectionDlg(const QString &current, QWidget *parent)
    : RadioSelectionDlg(parent), ui(std::make_unique<Ui::VerbSelectionDlgClass>())
{
    ui->setupUi(this);
    preselect(current, ui->buttonBox);
}

VerbSelectionDlg::~VerbSelectionDlg() = default;

QVector<RadioSelectionDlg::Choice> VerbSelectionDlg::choices() const
{
    return {
        {ui->radioButton, QStringLiteral("reg"), QStringLiteral("reg")},
        {ui->radioButton_2, QStringLiteral("irreg p & pp"), QStringLiteral("irreg p & pp")},
        {ui->radioButton_3, QStringLiteral("p & pp = root"), QStringLiteral("p & pp = root")},
        {ui->radioButton_4, QStringLiteral("reg, dbl"), QStringLiteral("reg, dbl")},
        {ui->radioButton_5, QStringLiteral("irreg p&pp,dbl"), QStringLiteral("irreg p&pp,dbl")},
        {ui->radioButton_6, QStringLiteral("p&pp=root,dbl"), QStringLiteral("p&pp=root,dbl")},
        {ui->radioButton_7, QStringLiteral("+ed (p & pp)"), QStringLiteral("+ed (p & pp)")},
        {ui->radioButton_8, QStringLiteral("past"), QStringLiteral("past")},
        {ui->radioButton_9, QStringLiteral("past participle"), QStringLiteral("past participle")},
    };
}

void VerbSelectionDlg::on_buttonBox_accepted()
{
    accept();
}

void VerbSelectionDlg::on_buttonBox_rejected()
{
    reject();
}
