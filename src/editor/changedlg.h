#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class ChangeDlgClass;
}

/// Asks for the new spelling of a word; after an accepted run the caller reads ui->newBox.
class ChangeDlg : public QDialog
{
    Q_OBJECT
public:
    ChangeDlg(QWidget *parent, const QString &oldSpelling);
    ~ChangeDlg() override;

    std::unique_ptr<Ui::ChangeDlgClass> ui;

private slots:
    void on_buttonBox_accepted();
    void on_buttonBox_rejected();
};
