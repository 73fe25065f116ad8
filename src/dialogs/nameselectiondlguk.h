#pragma once

#include <memory>

#include "radioselectiondlg.h"

namespace Ui {
class NameSelectionDlgUKClass;
}

/// Chooses the subcode of a proper-name grammar code in a dictionary with UK grammar.
class NameSelectionDlgUK : public RadioSelectionDlg
{
    Q_OBJECT
public:
    explicit NameSelectionDlgUK(const QString &current, QWidget *parent = nullptr);
    ~NameSelectionDlgUK() override;

protected:
    QStringList codes() const override;

public slots:
    void on_buttonBox_accepted();
    void on_buttonBox_rejected();

private:
    std::unique_ptr<Ui::NameSelectionDlgUKClass> ui;
};
