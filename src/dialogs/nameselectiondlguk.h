#pragma once

#include "radioselectiondlg.h"

/// Chooses the subcode of a proper-name grammar code in a dictionary with UK grammar.
class NameSelectionDlgUK : public RadioSelectionDlg
{
    Q_OBJECT
public:
    explicit NameSelectionDlgUK(const QString &current, QWidget *parent = nullptr);
};
