#pragma once

#include <memory>

#include "radioselectiondlg.h"

namespace Ui {
class VerbSelectionDlgClass;
}

/// Chooses the inflection subcode of a verb grammar code.
class VerbSelectionDlg : public RadioSelectionDlg
{
    Q_OBJECT
public:
    explicit VerbSelectionDlg(const QString &current, QWidget *parent = nullptr);
    ~VerbSelectionDlg() override;

protected:
    QStringList codes() const override;

public slots:
    void on_buttonBox_accepted();
    void on_buttonBox_rejected();

private:
    std::unique_ptr<Ui::VerbSelectionDlgClass> ui;
};
