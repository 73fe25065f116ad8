#include "radioselectiondlg.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QRadioButton>

RadioSelectionDlg::RadioSelectionDlg(QWidget *parent) : QDialog(parent)
{
    setWindowFlags(Qt::Window | Qt::WindowTitleHint);
}

QRadioButton *RadioSelectionDlg::button(int row) const
{
    const QString name = row == 0 ? QStringLiteral("radioButton") : QStringLiteral("radioButton_%1").arg(row + 1);
    return findChild<QRadioButton *>(name);
}

QString RadioSelectionDlg::selectedCode() const
{
    const QStringList table = codes();
    for (int row = 0; row < table.size(); ++row) {
        if (button(row)->isChecked())
            return table.at(row);
    }
    return QString();
}

void RadioSelectionDlg::preselect(const QString &current, QDialogButtonBox *buttonBox)
{
    // The buttons are auto-exclusive: unchecking the checked one is refused, so a later miss keeps an
    // earlier match and a later match moves the check.
    const QStringList table = codes();
    for (int row = 0; row < table.size(); ++row)
        button(row)->setChecked(current.contains(table.at(row)));
    if (QPushButton *ok = buttonBox->button(QDialogButtonBox::Ok))
        ok->setDefault(true);
}
