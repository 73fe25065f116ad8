#pragma once

#include "radioselectiondlg.h"

/// Chooses the inflection subcode of a verb grammar code.
class VerbSelectionDlg : public RadioSelectionDlg
{
    Q_OBJECT
public:
    explicit VerbSelectionDlg(const QString &current, QWidget *parent = nullptr);
};
