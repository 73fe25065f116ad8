#include "radioselectiondlg.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QRadioButton>

RadioSelectionDlg::RadioSelectionDlg(QWidget *parent) : QDialog(parent)
{
    setWindowFlags(Qt::Window | Qt::WindowTitleHint);
}

void RadioSelectionDlg::build(void (*setUp)(QDialog *), const QStringList &codes, const QString &title,
                              const QString &current)
{
    m_codes = codes;
    setUp(this);
    if (!title.isEmpty())
        setWindowTitle(title);
    // The buttons are auto-exclusive: unchecking the checked one is refused, so a later miss keeps an
    // earlier match and a later match moves the check.
    for (int row = 0; row < m_codes.size(); ++row)
        button(row)->setChecked(current.contains(m_codes.at(row)));
    if (QPushButton *ok = findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"))->button(QDialogButtonBox::Ok))
        ok->setDefault(true);
}

QRadioButton *RadioSelectionDlg::button(int row) const
{
    const QString name = row == 0 ? QStringLiteral("radioButton") : QStringLiteral("radioButton_%1").arg(row + 1);
    return findChild<QRadioButton *>(name);
}

QString RadioSelectionDlg::selectedCode() const
{
    for (int row = 0; row < m_codes.size(); ++row) {
        if (button(row)->isChecked())
            return m_codes.at(row);
    }
    return QString();
}

void RadioSelectionDlg::on_buttonBox_accepted()
{
    accept();
}

void RadioSelectionDlg::on_buttonBox_rejected()
{
    reject();
}
