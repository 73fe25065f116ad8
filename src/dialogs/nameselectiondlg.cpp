#include "nameselectiondlg.h"

#include "ui_nameselectiondlg.h"

NameSelectionDlg::NameSelectionDlg(const QString &current, QWidget *parent)
    : RadioSelectionDlg(parent), ui(std::make_unique<Ui::NameSelectionDlgClass>())
{
    ui->setupUi(this);
    preselect(current, ui->buttonBox);
}

NameSelectionDlg::~NameSelectionDlg() = default;

QVector<RadioSelectionDlg::Choice> NameSelectionDlg::choices() const
{
    return {
        {ui->radioButton, QStringLiteral("Singular name"), QStringLiteral("Singular name")},
        {ui->radioButton_2, QStringLiteral("Singular with 'the'"), QStringLiteral("Singular with 'the'")},
        {ui->radioButton_3, QStringLiteral("Plural name"), QStringLiteral("Plural name")},
        {ui->radioButton_4, QStringLiteral("Plural with 'the'"), QStringLiteral("Plural with 'the'")},
        {ui->radioButton_5, QStringLiteral("First Name"), QStringLiteral("First Name")},
        {ui->radioButton_6, QStringLiteral("Last Name"), QStringLiteral("Last Name")},
        {ui->radioButton_7, QStringLiteral("Time, Event"), QStringLiteral("Time, Event")},
        {ui->radioButton_8, QStringLiteral("Time with 'the'"), QStringLiteral("Time with 'the'")},
        {ui->radioButton_9, QStringLiteral("Location"), QStringLiteral("Location")},
        {ui->radioButton_10, QStringLiteral("Loc sing with 'the'"), QStringLiteral("Loc sing with 'the'")},
        {ui->radioButton_11, QStringLiteral("Loc pl with 'the'"), QStringLiteral("Loc pl with 'the'")},
    };
}

void NameSelectionDlg::on_buttonBox_accepted()
{
    accept();
}

void NameSelectionDlg::on_buttonBox_rejected()
{
    reject();
}
