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

    /// The dialog's codes from the top; the dictionary-variety twin offers the same ones and one more.
    static QStringList codeTable();
    ~NounSelectionDlg() override;

protected:
    QStringList codes() const override;

public slots:
    void on_buttonBox_accepted();
    void on_buttonBox_rejected();

private:
    std::unique_ptr<Ui::NounSelectionDlgClass> ui;
};
