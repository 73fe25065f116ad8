#pragma once

#include <memory>

#include "radioselectiondlg.h"

namespace Ui {
class NounSelectionDlgClass;
}

/// Chooses the subcode of a noun grammar code in a dictionary with US grammar.
class NounSelectionDlg : public RadioSelectionDlg
{
    Q_OBJECT
public:
    explicit NounSelectionDlg(const QString &current, QWidget *parent = nullptr);
    ~NounSelectionDlg() override;

protected:
    QVector<Choice> choices() const override;

public slots:
    void on_buttonBox_accepted();
    void on_buttonBox_rejected();

private:
    std::unique_ptr<Ui::NounSelectionDlgClass> ui;
};
