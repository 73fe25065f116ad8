#pragma once

#include <memory>

#include "radioselectiondlg.h"

namespace Ui {
class NameSelectionDlgClass;
}

/// Chooses the subcode of a proper-name grammar code in a dictionary with US grammar.
class NameSelectionDlg : public RadioSelectionDlg
{
    Q_OBJECT
public:
    explicit NameSelectionDlg(const QString &current, QWidget *parent = nullptr);

    /// The dialog's codes from the top; the dictionary-variety twin offers the same ones and one more.
    static QStringList codeTable();
    ~NameSelectionDlg() override;

protected:
    QStringList codes() const override;

public slots:
    void on_buttonBox_accepted();
    void on_buttonBox_rejected();

private:
    std::unique_ptr<Ui::NameSelectionDlgClass> ui;
};
