#include "radioselectiondlg.h"

#include <QDialogButtonBox>
#include <QFrame>
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
    // A screen reader reads the choices as one named group, each by its text without the padding some
    // labels carry, and starts on the checked choice, as the arrow keys do.
    QRadioButton *checked = nullptr;
    for (int row = 0; row < m_codes.size(); ++row) {
        QRadioButton *choice = button(row);
        choice->setAccessibleName(choice->text().remove(QLatin1Char('&')).trimmed());
        if (choice->isChecked())
            checked = choice;
    }
    if (QFrame *group = button(0) ? qobject_cast<QFrame *>(button(0)->parentWidget()) : nullptr) {
        if (group->accessibleName().isEmpty())
            group->setAccessibleName(windowTitle());
    }
    if (checked)
        checked->setFocus();
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
