#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class HelpDlgClass;
}

/// Shows the editor's fixed, read-only help text.
class HelpDlg : public QDialog
{
    Q_OBJECT
public:
    explicit HelpDlg(QWidget *parent = nullptr);
    ~HelpDlg() override;

private slots:
    void on_OkButton_clicked();

private:
    std::unique_ptr<Ui::HelpDlgClass> ui;
};
