#pragma once

#include <memory>

#include "radioselectiondlg.h"

namespace Ui {
class AdjectiveSelectionDlgClass;
}

/// Chooses the comparison subcode of an adjective grammar code.
class AdjectiveSelectionDlg : public RadioSelectionDlg
{
    Q_OBJECT
public:
    explicit AdjectiveSelectionDlg(const QString &current, QWidget *parent = nullptr);
    ~AdjectiveSelectionDlg() override;

protected:
    QStringList codes() const override;

public slots:
    void on_radioButton_3_toggled(bool checked);
    void on_buttonBox_accepted();
    void on_buttonBox_rejected();

private:
    std::unique_ptr<Ui::AdjectiveSelectionDlgClass> ui;
};
