#pragma once

#include "radioselectiondlg.h"

/// Chooses the part of speech of a grammar code.
class PartOfSpeechSelectionDlg : public RadioSelectionDlg
{
    Q_OBJECT
public:
    explicit PartOfSpeechSelectionDlg(const QString &current, QWidget *parent = nullptr);
};
