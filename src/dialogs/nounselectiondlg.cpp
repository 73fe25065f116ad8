#include "nounselectiondlg.h"

#include "ui_nounselectiondlg.h"

NounSelectionDlg::NounSelectionDlg(const QString &current, QWidget *parent)
    : RadioSelectionDlg(parent), ui(std::make_unique<Ui::NounSelectionDlgClass>())
{
    ui->setupUi(this);
    setWindowTitle(tr("Select Noun Type"));
    preselect(current, ui->buttonBox);
}

NounSelectionDlg::~NounSelectionDlg() = default;

QVector<RadioSelectionDlg::Choice> NounSelectionDlg::choices() const
{
    return {
        {ui->radioButton, QStringLiteral("reg"), QStringLiteral("reg")},
        {ui->radioButton_2, QStringLiteral("singular only"), QStringLiteral("singular only")},
        {ui->radioButton_3, QStringLiteral("plural only"), QStringLiteral("plural only")},
        {ui->radioButton_4, QStringLiteral("plural unchanged"), QStringLiteral("plural unchanged")},
        {ui->radioButton_5, QStringLiteral("uncount"), QStringLiteral("uncount")},
        {ui->radioButton_6, QStringLiteral("uncount or count"), QStringLiteral("uncount or count")},
    };
}

void NounSelectionDlg::on_buttonBox_accepted()
{
    accept();
}

void NounSelectionDlg::on_buttonBox_rejected()
{
    reject();
}
