#include "radioselectiondlg.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QRadioButton>

RadioSelectionDlg::RadioSelectionDlg(QWidget *parent) : QDialog(parent)
{
    setWindowFlags(Qt::Window | Qt::WindowTitleHint);
}

QString RadioSelectionDlg::selectedCode() const
{
    const QVector<Choice> rows = choices();
    for (const Choice &row : rows) {
        if (row.button->isChecked())
            return row.code;
    }
    return QString();
}

void RadioSelectionDlg::preselect(const QString &current, QDialogButtonBox *buttonBox)
{
    // The buttons are auto-exclusive: unchecking the checked one is refused, so a later miss keeps an
    // earlier match and a later match moves the check.
    const QVector<Choice> rows = choices();
    for (const Choice &row : rows)
        row.button->setChecked(current.contains(row.key));
    if (QPushButton *ok = buttonBox->button(QDialogButtonBox::Ok))
        ok->setDefault(true);
}
