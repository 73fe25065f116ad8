#pragma once

#include "radioselectiondlg.h"

/// Chooses the subcode of a proper-name grammar code in a dictionary with US grammar.
class NameSelectionDlg : public RadioSelectionDlg
{
    Q_OBJECT
public:
    explicit NameSelectionDlg(const QString &current, QWidget *parent = nullptr);
};
