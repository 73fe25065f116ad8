#include "changeconfirmationdlg.h"

#include <QMessageBox>

#include "ui_changeconfirmationdlg.h"

ChangeConfirmationDlg::ChangeConfirmationDlg(QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::ChangeConfirmationDlgClass>())
{
    ui->setupUi(this);
}

ChangeConfirmationDlg::~ChangeConfirmationDlg() = default;

void ChangeConfirmationDlg::setMessage(const QString &message)
{
    ui->theMessage->setText(message);
}

// The results are the message-box button values, so callers can treat the dialog like a QMessageBox.
void ChangeConfirmationDlg::on_YesButton_clicked()
{
    done(QMessageBox::Yes);
}

void ChangeConfirmationDlg::on_NoButton_clicked()
{
    done(QMessageBox::No);
}

void ChangeConfirmationDlg::on_CancelButton_clicked()
{
    done(QMessageBox::Cancel);
}
