#include "nounselectiondlguk.h"

#include "ui_nounselectiondlguk.h"

NounSelectionDlgUK::NounSelectionDlgUK(const QString &current, QWidget *parent)
    : RadioSelectionDlg(parent), ui(std::make_unique<Ui::NounSelectionDlgUKClass>())
{
    ui->setupUi(this);
    preselect(current, ui->buttonBox);
}

NounSelectionDlgUK::~NounSelectionDlgUK() = default;

QVector<RadioSelectionDlg::Choice> NounSelectionDlgUK::choices() const
{
    return {
        {ui->radioButton, QStringLiteral("reg"), QStringLiteral("reg")},
        {ui->radioButton_2, QStringLiteral("singular only"), QStringLiteral("singular only")},
        {ui->radioButton_3, QStringLiteral("plural only"), QStringLiteral("plural only")},
        {ui->radioButton_4, QStringLiteral("plural unchanged"), QStringLiteral("plural unchanged")},
        {ui->radioButton_5, QStringLiteral("uncount"), QStringLiteral("uncount")},
        {ui->radioButton_6, QStringLiteral("uncount or count"), QStringLiteral("uncount or count")},
        {ui->radioButton_7, QStringLiteral("group"), QStringLiteral("group")},
    };
}

void NounSelectionDlgUK::on_buttonBox_accepted()
{
    accept();
}

void NounSelectionDlgUK::on_buttonBox_rejected()
{
    reject();
}
