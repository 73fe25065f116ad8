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

QStringList NounSelectionDlg::codeTable()
{
    return {QStringLiteral("reg"),         QStringLiteral("singular only"),
            QStringLiteral("plural only"), QStringLiteral("plural unchanged"),
            QStringLiteral("uncount"),     QStringLiteral("uncount or count")};
}

QStringList NounSelectionDlg::codes() const
{
    return codeTable();
}

void NounSelectionDlg::on_buttonBox_accepted()
{
    accept();
}

void NounSelectionDlg::on_buttonBox_rejected()
{
    reject();
}
