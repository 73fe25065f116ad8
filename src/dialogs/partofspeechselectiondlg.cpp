#include "partofspeechselectiondlg.h"

#include "ui_partofspeechselectiondlg.h"

PartOfSpeechSelectionDlg::PartOfSpeechSelectionDlg(const QString &current, QWidget *parent)
    : RadioSelectionDlg(parent), ui(std::make_unique<Ui::PartOfSpeechSelectionDlgClass>())
{
    ui->setupUi(this);
    setWindowTitle(tr("Select Part of Speech"));
    preselect(current, ui->buttonBox);
}

PartOfSpeechSelectionDlg::~PartOfSpeechSelectionDlg() = default;

QVector<RadioSelectionDlg::Choice> PartOfSpeechSelectionDlg::choices() const
{
    return {
        {ui->radioButton, QStringLiteral("name"), QStringLiteral("name")},
        {ui->radioButton_2, QStringLiteral("noun"), QStringLiteral("noun")},
        {ui->radioButton_3, QStringLiteral("verb"), QStringLiteral("verb")},
        {ui->radioButton_4, QStringLiteral("adj."), QStringLiteral("adj.")},
        {ui->radioButton_5, QStringLiteral("adv."), QStringLiteral("adv.")},
        {ui->radioButton_6, QStringLiteral("new"), QStringLiteral("new")},
    };
}

void PartOfSpeechSelectionDlg::on_buttonBox_accepted()
{
    accept();
}

void PartOfSpeechSelectionDlg::on_buttonBox_rejected()
{
    reject();
}
