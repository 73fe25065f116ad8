#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class ChangeConfirmationDlgClass;
}

/// Asks whether to save a changed dictionary; the run ends with the message-box code of Yes, No or Cancel.
class ChangeConfirmationDlg : public QDialog
{
    Q_OBJECT
public:
    explicit ChangeConfirmationDlg(QWidget *parent = nullptr);
    ~ChangeConfirmationDlg() override;

    void setMessage(const QString &message);

private slots:
    void on_YesButton_clicked();
    void on_NoButton_clicked();
    void on_CancelButton_clicked();

private:
    std::unique_ptr<Ui::ChangeConfirmationDlgClass> ui;
};
