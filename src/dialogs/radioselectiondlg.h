#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

class QRadioButton;

/// A grammar choice dialog that offers one code per radio button: built from a form and a code table,
/// it preselects a button from the current code and hands back the code of the checked button. The
/// dialogs of the parts of speech are thin subclasses that name their form, table and title.
class RadioSelectionDlg : public QDialog
{
    Q_OBJECT
public:
    /// The code of the first checked button in read order, or an empty string when none is checked.
    QString selectedCode() const;

public slots:
    void on_buttonBox_accepted();
    void on_buttonBox_rejected();

protected:
    /// Builds the form Form on the dialog; its widgets belong to the dialog, so the form needs no keeping.
    template<class Form> static void setUpForm(QDialog *dialog) { Form().setupUi(dialog); }

    explicit RadioSelectionDlg(QWidget *parent);

    /// Run by each dialog's constructor, so that the form connects the dialog's own slots by name too:
    /// sets the form up (setUp, such as setUpForm<Ui::...>), gives the dialog title unless it is empty,
    /// checks the button of every code of codes that occurs in current, so that the last match wins, and
    /// makes Ok the default button. codes holds one code per radio button from the top ("radioButton",
    /// "radioButton_2", ...), which is also the read order.
    void build(void (*setUp)(QDialog *), const QStringList &codes, const QString &title, const QString &current);

private:
    /// The radio button of row (counted from 0) of the table.
    QRadioButton *button(int row) const;

    QStringList m_codes;
};
