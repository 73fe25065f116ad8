#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

class QDialogButtonBox;
class QRadioButton;

/// Base of the grammar choice dialogs that offer one code per radio button: preselects a button from
/// the current code and hands back the code of the checked button.
class RadioSelectionDlg : public QDialog
{
    Q_OBJECT
public:
    /// The code of the first checked button in read order, or an empty string when none is checked.
    QString selectedCode() const;

protected:
    explicit RadioSelectionDlg(QWidget *parent = nullptr);

    /// The dialog's codes, one per radio button from the top ("radioButton", "radioButton_2", ...), in
    /// preselection order, which is also its read order. Each code is also the substring of the current
    /// code that preselects its button.
    virtual QStringList codes() const = 0;

    /// Checks the button of every row whose key occurs in current, so that the last matching row wins,
    /// and makes Ok the default button. Called by each dialog once its form is set up.
    void preselect(const QString &current, QDialogButtonBox *buttonBox);

private:
    /// The radio button of row (counted from 0) of the table.
    QRadioButton *button(int row) const;
};
