#pragma once

#include "radioselectiondlg.h"

/// Chooses the subcode of a noun grammar code in a dictionary with UK grammar, which adds group nouns.
class NounSelectionDlgUK : public RadioSelectionDlg
{
    Q_OBJECT
public:
    explicit NounSelectionDlgUK(const QString &current, QWidget *parent = nullptr);
};
