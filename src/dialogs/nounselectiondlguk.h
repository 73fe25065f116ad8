#pragma once

#include <memory>

#include "radioselectiondlg.h"

namespace Ui {
class NounSelectionDlgUKClass;
}

/// Chooses the subcode of a noun grammar code in a dictionary with UK grammar (adds group nouns).
class NounSelectionDlgUK : public RadioSelectionDlg
{
    Q_OBJECT
public:
    explicit NounSelectionDlgUK(const QString &current, QWidget *parent = nullptr);
    ~NounSelectionDlgUK() override;

protected:
    QStringList codes() const override;

public slots:
    void on_buttonBox_accepted();
    void on_buttonBox_rejected();

private:
    std::unique_ptr<Ui::NounSelectionDlgUKClass> ui;
};
