#pragma once

#include "radioselectiondlg.h"

/// Chooses the comparison subcode of an adjective grammar code.
class AdjectiveSelectionDlg : public RadioSelectionDlg
{
    Q_OBJECT
public:
    explicit AdjectiveSelectionDlg(const QString &current, QWidget *parent = nullptr);

public slots:
    void on_radioButton_3_toggled(bool checked);
};
