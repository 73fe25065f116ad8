#include "verbselectiondlg.h"

#include "ui_verbselectiondlg.h"

VerbSelectionDlg::VerbSelectionDlg(const QString &current, QWidget *parent)
    : RadioSelectionDlg(parent), ui(std::make_unique<Ui::VerbSelectionDlgClass>())
{
    ui->setupUi(this);
    preselect(current, ui->buttonBox);
}

VerbSelectionDlg::~VerbSelectionDlg() = default;

QStringList VerbSelectionDlg::codes() const
{
    return {QStringLiteral("reg"),          QStringLiteral("irreg p & pp"),   QStringLiteral("p & pp = root"),
            QStringLiteral("reg, dbl"),     QStringLiteral("irreg p&pp,dbl"), QStringLiteral("p&pp=root,dbl"),
            QStringLiteral("+ed (p & pp)"), QStringLiteral("past"),           QStringLiteral("past participle")};
}

void VerbSelectionDlg::on_buttonBox_accepted()
{
    accept();
}

void VerbSelectionDlg::on_buttonBox_rejected()
{
    reject();
}
