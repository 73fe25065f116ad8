#pragma once

#include <QDialog>
#include <QString>
#include <QVector>

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
    /// One row of a dialog's table: the button, the substring of the current code that checks it, and
    /// the code string the button stands for.
    struct Choice
    {
        QRadioButton *button;
        QString key;
        QString code;
    };

    explicit RadioSelectionDlg(QWidget *parent = nullptr);

    /// The dialog's rows in preselection order, which is also its read order.
    virtual QVector<Choice> choices() const = 0;

    /// Checks the button of every row whose key occurs in current, so that the last matching row wins,
    /// and makes Ok the default button. Called by each dialog once its form is set up.
    void preselect(const QString &current, QDialogButtonBox *buttonBox);
};
