#pragma once

#include "radioselectiondlg.h"

/// Chooses the subcode of a noun grammar code in a dictionary with US grammar.
class NounSelectionDlg : public RadioSelectionDlg
{
    Q_OBJECT
public:
    explicit NounSelectionDlg(const QString &current, QWidget *parent = nullptr);
};
