#include "nameselectiondlg.h"

#include "ui_nameselectiondlg.h"

NameSelectionDlg::NameSelectionDlg(const QString &current, QWidget *parent)
    : RadioSelectionDlg(parent), ui(std::make_unique<Ui::NameSelectionDlgClass>())
{
    ui->setupUi(this);
    preselect(current, ui->buttonBox);
}

NameSelectionDlg::~NameSelectionDlg() = default;

QStringList NameSelectionDlg::codeTable()
{
    return {QStringLiteral("Singular name"),       QStringLiteral("Singular with 'the'"), QStringLiteral("Plural name"),
            QStringLiteral("Plural with 'the'"),   QStringLiteral("First Name"),          QStringLiteral("Last Name"),
            QStringLiteral("Time, Event"),         QStringLiteral("Time with 'the'"),     QStringLiteral("Location"),
            QStringLiteral("Loc sing with 'the'"), QStringLiteral("Loc pl with 'the'")};
}

QStringList NameSelectionDlg::codes() const
{
    return codeTable();
}

void NameSelectionDlg::on_buttonBox_accepted()
{
    accept();
}

void NameSelectionDlg::on_buttonBox_rejected()
{
    reject();
}
