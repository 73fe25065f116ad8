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

QStringList PartOfSpeechSelectionDlg::codes() const
{
    return {QStringLiteral("name"), QStringLiteral("noun"), QStringLiteral("verb"),
            QStringLiteral("adj."), QStringLiteral("adv."), QStringLiteral("new")};
}

void PartOfSpeechSelectionDlg::on_buttonBox_accepted()
{
    accept();
}

void PartOfSpeechSelectionDlg::on_buttonBox_rejected()
{
    reject();
}
